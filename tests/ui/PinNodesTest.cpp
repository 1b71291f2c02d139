#include "ui/PinNodes.h"

#include <gtest/gtest.h>

#include <QTreeWidget>

#include "model/PinDescr.h"
#include "ui/ImageList.h"
#include "ui/TreeNode.h"

namespace wiremap {
namespace {

// root ─ P0 (links L) ─ group G ─ P1, P2 (links) ─ P3
class PinNodes : public testing::Test {
 protected:
  PinNodes() {
    auto* Root = Node("root");
    Tree.addTopLevelItem(Root);
    Root->addChild(Pin(0));
    Root->child(0)->addChild(Node("link", &Pins[1]));
    auto* Group = Node("group");
    Root->addChild(Group);
    Group->addChild(Pin(1));
    Group->addChild(Pin(2));
    Group->child(1)->addChild(Node("link", &Pins[0]));
    Root->addChild(Pin(3));
  }

  QTreeWidgetItem* Node(const QString& AText, TPinDescr* APin = nullptr) {
    return new TTreeNode(AText, TImageList::iiPin, Images, APin);
  }
  QTreeWidgetItem* Pin(int AIndex) { return Node("pin", &Pins[AIndex]); }

  // The numbers of the pins visited after AAfter, in order.
  std::vector<int> VisitedAfter(const QTreeWidgetItem* AAfter) {
    std::vector<int> Numbers;
    NextPinNode(Tree, AAfter, [&](const TPinDescr& APin) {
      Numbers.push_back(APin.Number);
      return false;
    });
    return Numbers;
  }

  TImageList Images;
  TPinDescr Pins[4]{{"A", 0}, {"B", 1}, {"C", 2}, {"D", 3}};
  QTreeWidget Tree;
};

TEST_F(PinNodes, VisitsPinsOfRootAndGroupsButNeverLinks) {
  QTreeWidgetItem* Root = Tree.topLevelItem(0);
  QTreeWidgetItem* Group = Root->child(1);
  EXPECT_EQ(VisitedAfter(nullptr), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(VisitedAfter(Root), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(VisitedAfter(Root->child(0)), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(VisitedAfter(Root->child(0)->child(0)), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(VisitedAfter(Group), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(VisitedAfter(Group->child(0)), (std::vector<int>{2, 3}));
  EXPECT_EQ(VisitedAfter(Group->child(1)->child(0)), (std::vector<int>{3}));
  EXPECT_EQ(VisitedAfter(Root->child(2)), (std::vector<int>{}));
}

TEST_F(PinNodes, GivesTheFirstPassingNode) {
  const auto IsC = [](const TPinDescr& APin) { return APin.Name == "C"; };
  EXPECT_EQ(NextPinNode(Tree, nullptr, IsC), Tree.topLevelItem(0)->child(1)->child(1));
  EXPECT_EQ(NextPinNode(Tree, Tree.topLevelItem(0)->child(1)->child(1), IsC), nullptr);
}

}  // namespace
}  // namespace wiremap
