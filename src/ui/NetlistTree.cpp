#include "ui/NetlistTree.h"

#include <QList>

#include "model/Wiremap.h"
#include "ui/ImageList.h"
#include "ui/TreeNode.h"

namespace wiremap {

namespace {

// A pin with more links than this breaks a chain.
constexpr size_t LinearLinkLimit = 2;

}  // namespace

TNetlistTree::TNetlistTree(const TWiremaps& AGraph, const TImageList& AImages)
    : FGraph(AGraph), FImages(AImages) {}

std::unique_ptr<QTreeWidgetItem> TNetlistTree::Build(const QString& AProjectName) {
  auto Root = std::make_unique<TTreeNode>("Netlist of project [" + AProjectName + "]",
                                          TImageList::iiProject, FImages);
  QList<QTreeWidgetItem*> Nets;
  const int32_t Count = FGraph.GetPinCount();
  for (int32_t Position = 0; Position < Count; ++Position)
    if (FGraph.GetSortedPin(Position)->Flags & pfNetHead) Nets.append(NetNode(Position));
  Root->addChildren(Nets);
  return Root;
}

TTreeNode* TNetlistTree::NetNode(int32_t APosition) {
  QList<QTreeWidgetItem*> Pins;
  bool Linear = true;
  const int32_t Start = FGraph.GetSortedPin(APosition)->Number;
  const int32_t Limit = FGraph.GetPinCount();
  int32_t Number = Start;
  do {
    const TPinDescr* Pin = FGraph.GetPin(Number);
    Pins.append(new TTreeNode(QString::fromStdString(FGraph.GetPinName(Number)), TImageList::iiPin,
                              FImages, Pin));
    if (Pin->Links.size() > LinearLinkLimit) Linear = false;
    Number = Pin->NextInNet;
  } while (Number != Start && Pins.size() < Limit);

  QString Text = "net " + QString::fromStdString(FGraph.GetSortedName(APosition)) + "   pins " +
                 QString::number(Pins.size());
  if (Linear) Text += "   linear";
  auto* Net = new TTreeNode(Text, TImageList::iiNet, FImages);
  Net->addChildren(Pins);
  return Net;
}

}  // namespace wiremap
