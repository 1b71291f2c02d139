#include "ui/PinListTree.h"

#include <vector>

#include <QList>

#include "model/Wiremap.h"
#include "ui/ImageList.h"
#include "ui/TreeNode.h"

namespace wiremap {

namespace {

// The image of a group node of aspect AAspect.
int GroupImage(TAspectKind AAspect) {
  switch (AAspect) {
    case akPage:
      return TImageList::iiPageSheet;
    case akFunction:
      return TImageList::iiFunctionSheet;
    default:
      return TImageList::iiLocationSheet;
  }
}

}  // namespace

TPinListTree::TPinListTree(const TWiremaps& AGraph, const TImageList& AImages)
    : FGraph(AGraph), FImages(AImages) {}

std::unique_ptr<QTreeWidgetItem> TPinListTree::MakeRoot(const QString& AProjectName) const {
  return std::make_unique<TTreeNode>(
      QString::fromStdString(PinListRootText(AProjectName.toStdString())), TImageList::iiProject,
      FImages);
}

bool TPinListTree::Fill(QTreeWidgetItem* ARoot, TSortOrder AOrder, const TKeyValues& AKeyValues) {
  const TSortOrderInfo& Order = SortOrders.at(AOrder);
  if (Order.Shape == TSortOrderInfo::NoTree) return false;
  const TPinListRows Rows = PinListRows(FGraph, AKeyValues, AOrder);
  for (int32_t Group = 0; Group < Rows.GroupCount(); ++Group) {
    QTreeWidgetItem* Parent = ARoot;
    if (Order.Shape == TSortOrderInfo::Grouped) {
      Parent = new TTreeNode(QString::fromStdString(GroupText(Order, AKeyValues, Group)),
                             GroupImage(Order.Aspect), FImages);
      ARoot->addChild(Parent);
    }
    for (int32_t I = 0; I < Rows.PinCount(Group); ++I)
      AddPinNode(Parent, Order.PinShowsPage, Rows.Position(Group, I));
  }
  return true;
}

QTreeWidgetItem* TPinListTree::AddPinNode(QTreeWidgetItem* AParent, bool AWithPage,
                                          int32_t APosition) {
  const TPinDescr* Pin = FGraph.GetSortedPin(APosition);
  auto* Node = new TTreeNode(QString::fromStdString(PinText(FGraph, APosition, AWithPage)),
                             TImageList::iiPin, FImages, Pin);
  QList<QTreeWidgetItem*> Links;
  Links.reserve(static_cast<qsizetype>(Pin->Links.size()));
  for (size_t K = 0; K < Pin->Links.size(); ++K)
    Links.append(new TTreeNode(QString::fromStdString(LinkText(FGraph, *Pin, K)),
                               TImageList::iiLink, FImages, FGraph.GetPin(Pin->Links[K])));
  Node->addChildren(Links);
  AParent->addChild(Node);
  return Node;
}

}  // namespace wiremap
