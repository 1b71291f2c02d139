#include "ui/PinListTree.h"

#include <vector>

#include <QList>

#include "model/Wiremap.h"
#include "ui/TreeIcons.h"
#include "ui/TreeNode.h"

namespace wiremap {

namespace {

constexpr int PinImage = TImageList::iiPin;
constexpr int LinkImage = TImageList::iiLink;

struct TGrouping {
  TAspectKind Aspect;
  const char* Prefix;
  int Image;
  bool WithPage;  // a page group needs no page behind each pin
};

const TGrouping* GroupingOf(int AOrder) {
  static const TGrouping Page{akPage, "page ", TImageList::iiPageSheet, false};
  static const TGrouping Function{akFunction, "function ", TImageList::iiFunctionSheet, true};
  static const TGrouping Location{akLocation, "location ", TImageList::iiLocationSheet, true};
  switch (AOrder) {
    case TPinListTree::soPage:
      return &Page;
    case TPinListTree::soFunction:
      return &Function;
    case TPinListTree::soLocation:
      return &Location;
    default:
      return nullptr;
  }
}

}  // namespace

TPinListTree::TPinListTree(TWiremaps& AGraph, const TTreeIcons& AIcons)
    : FGraph(AGraph), FIcons(AIcons) {}

std::unique_ptr<QTreeWidgetItem> TPinListTree::MakeRoot(const QString& AProjectName) const {
  return std::make_unique<TTreeNode>("List of pins in project [" + AProjectName + "]",
                                     TTreeIcons::ProjectImage, TTreeIcons::ProjectImage,
                                     FIcons.Icon(TTreeIcons::ProjectImage));
}

bool TPinListTree::Fill(QTreeWidgetItem* ARoot, int AOrder, const TKeyValues& AKeyValues) {
  if (AOrder == soPinName) {
    const int32_t Count = FGraph.GetPinCount();
    for (int32_t Position = 0; Position < Count; ++Position) AddPinNode(ARoot, true, Position);
    return true;
  }
  if (!GroupingOf(AOrder)) return false;
  FillGrouped(ARoot, AOrder, AKeyValues);
  return true;
}

// One pass puts every pin into its group's bucket; the buckets keep name order.
void TPinListTree::FillGrouped(QTreeWidgetItem* ARoot, int AOrder, const TKeyValues& AKeyValues) {
  const TGrouping& Grouping = *GroupingOf(AOrder);
  const TSortedTextList& Values = AKeyValues.Lists[Grouping.Aspect];
  std::vector<std::vector<int32_t>> Buckets(Values.Count());
  const int32_t Count = FGraph.GetPinCount();
  for (int32_t Position = 0; Position < Count; ++Position) {
    const int32_t Key = FGraph.GetSortedPin(Position)->Keys[Grouping.Aspect];
    if (Key >= 0 && Key < Values.Count()) Buckets[Key].push_back(Position);
  }
  const QIcon& Icon = FIcons.Icon(Grouping.Image);
  for (int Index = 0; Index < Values.Count(); ++Index) {
    auto* Group = new TTreeNode(Grouping.Prefix + QString::fromStdString(Values[Index]),
                                Grouping.Image, TTreeIcons::SelectedImage(Grouping.Image), Icon);
    ARoot->addChild(Group);
    for (const int32_t Position : Buckets[Index]) AddPinNode(Group, Grouping.WithPage, Position);
  }
}

QTreeWidgetItem* TPinListTree::AddPinNode(QTreeWidgetItem* AParent, bool AWithPage,
                                          int32_t APosition) {
  TPinDescr* Pin = FGraph.GetSortedPin(APosition);
  QString Text = "pin " + QString::fromStdString(FGraph.GetSortedName(APosition));
  if (AWithPage) Text += "   page " + QString::number(Pin->Page);
  Text += "   links " + QString::number(Pin->LinkWires.size());
  auto* Node = new TTreeNode(Text, PinImage, TTreeIcons::SelectedImage(PinImage),
                             FIcons.Icon(PinImage), Pin);

  QList<QTreeWidgetItem*> Links;
  Links.reserve(static_cast<qsizetype>(Pin->Links.size()));
  for (size_t K = 0; K < Pin->Links.size(); ++K) {
    const int32_t Target = Pin->Links[K];
    Links.append(new TTreeNode("linked to " + QString::fromStdString(FGraph.GetPinName(Target)) +
                                   "   by wire " + QString::fromStdString(Pin->LinkWires[K]),
                               LinkImage, TTreeIcons::SelectedImage(LinkImage),
                               FIcons.Icon(LinkImage), FGraph.GetPin(Target)));
  }
  Node->addChildren(Links);
  AParent->addChild(Node);
  return Node;
}

}  // namespace wiremap
