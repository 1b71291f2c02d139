#include "ui/NetlistTree.h"

#include <QList>

#include "model/Wiremap.h"
#include "ui/ImageList.h"
#include "ui/TreeNode.h"

namespace wiremap {

TNetlistTree::TNetlistTree(const TWiremaps& AGraph, const TImageList& AImages)
    : FGraph(AGraph), FImages(AImages) {}

std::unique_ptr<QTreeWidgetItem> TNetlistTree::Build(const QString& AProjectName) {
  auto Root = std::make_unique<TTreeNode>(
      QString::fromStdString(NetlistRootText(AProjectName.toStdString())), TImageList::iiProject,
      FImages);
  const TNetlistRows Rows = NetlistRows(FGraph);
  QList<QTreeWidgetItem*> Nets;
  for (int32_t Net = 0; Net < Rows.NetCount(); ++Net) {
    QList<QTreeWidgetItem*> Pins;
    for (int32_t I = 0; I < Rows.PinCount(Net); ++I) {
      const int32_t Number = Rows.Pin(Net, I);
      Pins.append(new TTreeNode(QString::fromStdString(NetPinText(FGraph, Number)),
                                TImageList::iiPin, FImages, FGraph.GetPin(Number)));
    }
    auto* Node = new TTreeNode(QString::fromStdString(NetText(FGraph, Rows, Net)),
                               TImageList::iiNet, FImages);
    Node->addChildren(Pins);
    Nets.append(Node);
  }
  Root->addChildren(Nets);
  return Root;
}

}  // namespace wiremap
