#include "ui/PinListTree.h"

#include <vector>

#include <QList>

#include "model/Wiremap.h"
#include "ui/ImageList.h"
#include "ui/TreeNode.h"

namespace wiremap {

const std::array<TSortOrderInfo, SortOrderCount> SortOrders{{
    {"Pin Name", TSortOrderInfo::Flat, akPin, "", 0, true},
    {"Page Number, then Pin Name", TSortOrderInfo::Grouped, akPage, "page ",
     TImageList::iiPageSheet, false},  // a page group needs no page behind each pin
    {"Function, then Pin Name", TSortOrderInfo::Grouped, akFunction, "function ",
     TImageList::iiFunctionSheet, true},
    {"Function, then Location, then Pin Name", TSortOrderInfo::NoTree, akPin, "", 0, true},
    {"Location, then Pin Name", TSortOrderInfo::Grouped, akLocation, "location ",
     TImageList::iiLocationSheet, true},
    {"Location, then Page Number, then Pin Name", TSortOrderInfo::NoTree, akPin, "", 0, true},
    {"Custom", TSortOrderInfo::NoTree, akPin, "", 0, true},
}};

TPinListTree::TPinListTree(const TWiremaps& AGraph, const TImageList& AImages)
    : FGraph(AGraph), FImages(AImages) {}

std::unique_ptr<QTreeWidgetItem> TPinListTree::MakeRoot(const QString& AProjectName) const {
  return std::make_unique<TTreeNode>("List of pins in project [" + AProjectName + "]",
                                     TImageList::iiProject, FImages);
}

bool TPinListTree::Fill(QTreeWidgetItem* ARoot, TSortOrder AOrder, const TKeyValues& AKeyValues) {
  const TSortOrderInfo& Order = SortOrders.at(AOrder);
  switch (Order.Shape) {
    case TSortOrderInfo::Flat:
      for (int32_t Position = 0; Position < FGraph.GetPinCount(); ++Position)
        AddPinNode(ARoot, Order.PinShowsPage, Position);
      return true;
    case TSortOrderInfo::Grouped:
      FillGrouped(ARoot, Order, AKeyValues);
      return true;
    case TSortOrderInfo::NoTree:
      break;
  }
  return false;
}

// One pass puts every pin into its group's bucket; the buckets keep name order.
void TPinListTree::FillGrouped(QTreeWidgetItem* ARoot, const TSortOrderInfo& AOrder,
                               const TKeyValues& AKeyValues) {
  const TSortedTextList& Values = AKeyValues.Lists[AOrder.Aspect];
  std::vector<std::vector<int32_t>> Buckets(static_cast<size_t>(Values.Count()));
  for (int32_t Position = 0; Position < FGraph.GetPinCount(); ++Position) {
    const int32_t Key = FGraph.GetSortedPin(Position)->Keys[AOrder.Aspect];
    if (Key >= 0 && Key < Values.Count()) Buckets[static_cast<size_t>(Key)].push_back(Position);
  }
  for (int Index = 0; Index < Values.Count(); ++Index) {
    auto* Group = new TTreeNode(AOrder.GroupPrefix + QString::fromStdString(Values[Index]),
                                AOrder.GroupImage, FImages);
    ARoot->addChild(Group);
    for (const int32_t Position : Buckets[static_cast<size_t>(Index)])
      AddPinNode(Group, AOrder.PinShowsPage, Position);
  }
}

QTreeWidgetItem* TPinListTree::AddPinNode(QTreeWidgetItem* AParent, bool AWithPage,
                                          int32_t APosition) {
  const TPinDescr* Pin = FGraph.GetSortedPin(APosition);
  QString Text = "pin " + QString::fromStdString(FGraph.GetSortedName(APosition));
  if (AWithPage) Text += "   page " + QString::number(Pin->Page);
  Text += "   links " + QString::number(Pin->LinkWires.size());
  auto* Node = new TTreeNode(Text, TImageList::iiPin, FImages, Pin);

  QList<QTreeWidgetItem*> Links;
  Links.reserve(static_cast<qsizetype>(Pin->Links.size()));
  for (size_t K = 0; K < Pin->Links.size(); ++K) {
    const int32_t Target = Pin->Links[K];
    Links.append(new TTreeNode("linked to " + QString::fromStdString(FGraph.GetPinName(Target)) +
                                   "   by wire " + QString::fromStdString(Pin->LinkWires[K]),
                               TImageList::iiLink, FImages, FGraph.GetPin(Target)));
  }
  Node->addChildren(Links);
  AParent->addChild(Node);
  return Node;
}

}  // namespace wiremap
