#include <gtest/gtest.h>

#include <functional>
#include <set>

#include <QPushButton>

#include "NetFormTestSupport.h"
#include "ui/RadioGroup.h"
#include "ui/TreeModel.h"

namespace wiremap {
namespace {

class NetFormTrees : public testing::Test, public TNetFormFixture {
 protected:
  // The first node of ATree whose text is AText.
  QModelIndex Node(QTreeView* ATree, const QString& AText) { return FindNode(ATree, AText); }

  std::pair<int, int> Images(const QModelIndex& ANode) {
    return {ANode.data(NodeImageRole).toInt(), ANode.data(NodeSelectedImageRole).toInt()};
  }

  // Every node of ATree's model in pre-order, collapsed ones included.
  static void Walk(const QModelIndex& ANode,
                   const std::function<void(const QModelIndex&)>& AVisit) {
    AVisit(ANode);
    for (int I = 0; I < ChildCount(ANode); ++I) Walk(ANode.model()->index(I, 0, ANode), AVisit);
  }

  void ChooseOrder(int AOrder) { Form.RadioGroup1->SetItemIndex(AOrder); }
};

TEST_F(NetFormTrees, NetlistOfAHandMadeProject) {
  Load(HandMadeRecords());
  // Two wires between K1:13 and K2:A1 plus one to X1:1 give K1:13 three links; the
  // closed ring R1-R2-R3 stays linear.
  EXPECT_EQ(
      Dump(Form.TreeView1),
      QStringList({"Netlist of project [Hand-made]", "\tnet +L3-X1:1   pins 3", "\t\t+L3-X1:1",
                   "\t\t=F1+L1-K1:13", "\t\t=F1+L1-K2:A1", "\tnet =R+L2-R1:1   pins 3   linear",
                   "\t\t=R+L2-R1:1", "\t\t=R+L2-R2:1", "\t\t=R+L2-R3:1"}));
  const QModelIndex Root = Child(Form.TreeView1, {});
  EXPECT_TRUE(Form.TreeView1->isExpanded(Root));
  EXPECT_FALSE(Form.TreeView1->isExpanded(Child(Form.TreeView1, {0})));
  EXPECT_EQ(Images(Root), std::make_pair(31, 31));
  EXPECT_EQ(Images(Child(Form.TreeView1, {0})), std::make_pair(3, 11));
  EXPECT_EQ(Images(Child(Form.TreeView1, {0, 0})), std::make_pair(5, 13));
  EXPECT_EQ(NodePin(Root), nullptr);
  EXPECT_EQ(NodePin(Child(Form.TreeView1, {0})), nullptr);
  EXPECT_EQ(NodePin(Child(Form.TreeView1, {0, 1}))->Name, "=F1+L1-K1:13");
  EXPECT_EQ(NodePin(QModelIndex()), nullptr);
}

TEST_F(NetFormTrees, TwoWiresBetweenTwoPinsStillMakeALinearNet) {
  Load({{"-A", "1", 1, "-B", "1", 1, "W1"}, {"-A", "1", 1, "-B", "1", 1, "W2"}});
  EXPECT_EQ(Dump(Form.TreeView1, 1),
            QStringList({"Netlist of project [Hand-made]", "\tnet -A:1   pins 2   linear"}));
  Load({{"-A", "1", 1, "-B", "1", 1, "W1"},
        {"-A", "1", 1, "-B", "1", 1, "W2"},
        {"-A", "1", 1, "-B", "1", 1, "W3"}});
  EXPECT_EQ(Dump(Form.TreeView1, 1),
            QStringList({"Netlist of project [Hand-made]", "\tnet -A:1   pins 2"}));
}

TEST_F(NetFormTrees, AnEmptyProjectGivesTheRootsOnly) {
  Load({});
  EXPECT_EQ(Dump(Form.TreeView1), QStringList({"Netlist of project [Hand-made]"}));
  EXPECT_EQ(Dump(Form.TreeView2), QStringList({"List of pins in project [Hand-made]"}));
}

// Against the graph of a large sample: every pin once, nets in name order of their first
// pins, each net's pins in name order and joined only among themselves.
TEST_F(NetFormTrees, NetlistOfASampleAgreesWithTheGraph) {
  Form.OpenSampleProject(5);
  TWiremaps& Graph = Form.Graph();
  const QModelIndex Root = Child(Form.TreeView1, {});
  ASSERT_EQ(ChildCount(Root), Graph.NetCount);
  int Pins = 0;
  QString PreviousNet;
  for (int N = 0; N < ChildCount(Root); ++N) {
    const QModelIndex Net = Root.model()->index(N, 0, Root);
    const auto PinNode = [&Net](int AIndex) { return Net.model()->index(AIndex, 0, Net); };
    const QString First = QString::fromStdString(NodePin(PinNode(0))->Name);
    EXPECT_TRUE(Net.data().toString().startsWith("net " + First + "   pins " +
                                                 QString::number(ChildCount(Net))));
    if (N > 0) {
      EXPECT_LT(CompareText(PreviousNet.toStdString(), First.toStdString()), 0);
    }
    PreviousNet = First;
    std::set<int32_t> Members;
    bool Linear = true;
    for (int P = 0; P < ChildCount(Net); ++P) {
      EXPECT_EQ(PinNode(P).parent(), Net);
      const TPinDescr* Pin = NodePin(PinNode(P));
      Members.insert(Pin->Number);
      Linear = Linear && Pin->Links.size() <= 2;
      if (P > 0) {
        EXPECT_LT(CompareText(NodePin(PinNode(P - 1))->Name, Pin->Name), 0);
      }
    }
    for (const int32_t Number : Members)
      for (const int32_t Link : Graph.GetPin(Number)->Links) {
        EXPECT_TRUE(Members.count(Link));
      }
    EXPECT_EQ(Net.data().toString().endsWith("   linear"), Linear);
    Pins += ChildCount(Net);
  }
  EXPECT_EQ(Pins, Graph.GetPinCount());
}

TEST_F(NetFormTrees, PinListByName) {
  Load(HandMadeRecords());
  EXPECT_EQ(
      Dump(Form.TreeView2),
      QStringList(
          {"List of pins in project [Hand-made]", "\tpin +L3-X1:1   page 10   links 1",
           "\t\tlinked to =F1+L1-K1:13   by wire W3", "\tpin =F1+L1-K1:13   page 2   links 3",
           "\t\tlinked to =F1+L1-K2:A1   by wire W1", "\t\tlinked to =F1+L1-K2:A1   by wire W2",
           "\t\tlinked to +L3-X1:1   by wire W3", "\tpin =F1+L1-K2:A1   page 2   links 2",
           "\t\tlinked to =F1+L1-K1:13   by wire W1", "\t\tlinked to =F1+L1-K1:13   by wire W2",
           "\tpin =R+L2-R1:1   page 1   links 2", "\t\tlinked to =R+L2-R2:1   by wire R12",
           "\t\tlinked to =R+L2-R3:1   by wire R31", "\tpin =R+L2-R2:1   page 1   links 2",
           "\t\tlinked to =R+L2-R1:1   by wire R12", "\t\tlinked to =R+L2-R3:1   by wire R23",
           "\tpin =R+L2-R3:1   page 1   links 2", "\t\tlinked to =R+L2-R2:1   by wire R23",
           "\t\tlinked to =R+L2-R1:1   by wire R31"}));
  const QModelIndex Root = Child(Form.TreeView2, {});
  EXPECT_TRUE(Form.TreeView2->isExpanded(Root));
  EXPECT_EQ(Images(Root), std::make_pair(31, 31));
  const QModelIndex Pin = Child(Form.TreeView2, {0});
  EXPECT_EQ(Images(Pin), std::make_pair(5, 13));
  EXPECT_EQ(Images(Child(Form.TreeView2, {0, 0})), std::make_pair(6, 14));
  EXPECT_EQ(NodePin(Pin)->Name, "+L3-X1:1");
  // A link node carries the pin it leads to.
  EXPECT_EQ(NodePin(Child(Form.TreeView2, {0, 0}))->Name, "=F1+L1-K1:13");
}

TEST_F(NetFormTrees, PinListGroupedByPageFunctionAndLocation) {
  Load(HandMadeRecords());
  ChooseOrder(1);
  EXPECT_EQ(Dump(Form.TreeView2, 2),
            QStringList({"List of pins in project [Hand-made]", "\tpage 1",
                         "\t\tpin =R+L2-R1:1   links 2", "\t\tpin =R+L2-R2:1   links 2",
                         "\t\tpin =R+L2-R3:1   links 2", "\tpage 10", "\t\tpin +L3-X1:1   links 1",
                         "\tpage 2", "\t\tpin =F1+L1-K1:13   links 3",
                         "\t\tpin =F1+L1-K2:A1   links 2"}));
  EXPECT_EQ(Images(Child(Form.TreeView2, {0})), std::make_pair(0, 8));

  ChooseOrder(2);
  EXPECT_EQ(
      Dump(Form.TreeView2, 2),
      QStringList({"List of pins in project [Hand-made]", "\tfunction ",
                   "\t\tpin +L3-X1:1   page 10   links 1", "\tfunction =F1",
                   "\t\tpin =F1+L1-K1:13   page 2   links 3",
                   "\t\tpin =F1+L1-K2:A1   page 2   links 2", "\tfunction =R",
                   "\t\tpin =R+L2-R1:1   page 1   links 2", "\t\tpin =R+L2-R2:1   page 1   links 2",
                   "\t\tpin =R+L2-R3:1   page 1   links 2"}));
  EXPECT_EQ(Images(Child(Form.TreeView2, {0})), std::make_pair(1, 9));

  ChooseOrder(4);
  EXPECT_EQ(Dump(Form.TreeView2, 1),
            QStringList({"List of pins in project [Hand-made]", "\tlocation +L1", "\tlocation +L2",
                         "\tlocation +L3"}));
  const QModelIndex Group = Child(Form.TreeView2, {0});
  EXPECT_EQ(Images(Group), std::make_pair(2, 10));
  EXPECT_EQ(NodePin(Group), nullptr);
  EXPECT_EQ(ChildCount(Child(Form.TreeView2, {0, 1})), 2);  // the link nodes stay below each pin
  EXPECT_EQ(Prompts.Beeps, 0);
}

TEST_F(NetFormTrees, OrdersWithoutATreeBeepOnce) {
  Load(HandMadeRecords());
  for (const int Order : {3, 5, 6}) {
    const int Before = Prompts.Beeps;
    ChooseOrder(Order);
    EXPECT_EQ(Prompts.Beeps, Before + 1) << Order;
    EXPECT_EQ(Dump(Form.TreeView2), QStringList({"List of pins in project [Hand-made]"}));
  }
  // A load in such an order beeps too; choosing a real order again rebuilds in full.
  Load(HandMadeRecords());
  EXPECT_EQ(Prompts.Beeps, 4);
  ChooseOrder(0);
  EXPECT_EQ(ChildCount(Child(Form.TreeView2, {})), 6);
  EXPECT_EQ(Prompts.Beeps, 4);
}

TEST_F(NetFormTrees, OrderChangesBeforeTheFirstLoadGiveTheRootWithoutBeeping) {
  ProjectName = "None";
  for (const int Order : {3, 1, 6, 0}) {
    ChooseOrder(Order);
    EXPECT_EQ(Dump(Form.TreeView2), QStringList({"List of pins in project [None]"}));
  }
  EXPECT_EQ(Prompts.Beeps, 0);
  EXPECT_EQ(StatusTexts().last(), "Ready.");
}

TEST_F(NetFormTrees, SelectingAPinInTheNetlistSelectsItInThePinList) {
  Load(HandMadeRecords());
  ChooseOrder(4);
  Statuses.clear();
  const QModelIndex Pin = Node(Form.TreeView1, "=R+L2-R2:1");
  Form.TreeView1->setCurrentIndex(Pin);
  const QModelIndex Selected = Form.TreeView2->currentIndex();
  ASSERT_TRUE(Selected.isValid());
  EXPECT_EQ(Selected.data().toString(), "pin =R+L2-R2:1   page 1   links 2");
  EXPECT_EQ(NodePin(Selected), NodePin(Pin));
  EXPECT_TRUE(Form.TreeView2->selectionModel()->isSelected(Selected));
  EXPECT_TRUE(Form.TreeView2->isExpanded(Selected.parent()));
  EXPECT_EQ(StatusTexts(), QStringList({"Searching for =R+L2-R2:1...", "Ready."}));
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(NetFormTrees, PinSearchFoldsOnlyPlainLetters) {
  Load({{"=Äb-K1", "x1", 1, "=F1-K2", "1", 1, "W"}});
  EXPECT_TRUE(Form.SelectPinInPinList("=ÄB-k1:X1"));
  EXPECT_EQ(NodePin(Form.TreeView2->currentIndex())->Name, "=Äb-K1:x1");
  EXPECT_FALSE(Form.SelectPinInPinList(std::string("=äb-K1:x1")));
  EXPECT_FALSE(Form.SelectPinInPinList(QString("=F1-K2:")));
  // Link nodes are never matched: only the pin itself.
  EXPECT_TRUE(Form.SelectPinInPinList("=f1-k2:1"));
  EXPECT_EQ(Form.TreeView2->currentIndex().parent(), Child(Form.TreeView2, {}));
}

TEST_F(NetFormTrees, AFailedPinSearchEndsTheBusyState) {
  Load(HandMadeRecords());
  ChooseOrder(3);
  Statuses.clear();
  Form.TreeView1->setCurrentIndex(Node(Form.TreeView1, "=F1+L1-K2:A1"));
  EXPECT_EQ(StatusTexts(), QStringList({"Searching for =F1+L1-K2:A1...", "Ready."}));
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(Form.TreeView2->currentIndex().isValid());
}

TEST_F(NetFormTrees, SelectingANetMarksExactlyItsPins) {
  Load(HandMadeRecords());
  TWiremaps& Graph = Form.Graph();
  const auto Marked = [&Graph] {
    QStringList Names;
    for (int32_t N = 0; N < Graph.GetPinCount(); ++N)
      if (Graph.GetPin(N)->Flags & pfMarked)
        Names.append(QString::fromStdString(Graph.GetPin(N)->Name));
    Names.sort();
    return Names;
  };
  const QModelIndex Ring = Node(Form.TreeView1, "net =R+L2-R1:1   pins 3   linear");
  const QModelIndex Other = Node(Form.TreeView1, "net +L3-X1:1   pins 3");
  Form.TreeView1->setCurrentIndex(Ring);
  EXPECT_EQ(Marked(), QStringList({"=R+L2-R1:1", "=R+L2-R2:1", "=R+L2-R3:1"}));
  Form.TreeView1->setCurrentIndex(Other);
  EXPECT_EQ(Marked(), QStringList({"+L3-X1:1", "=F1+L1-K1:13", "=F1+L1-K2:A1"}));

  // Unchecked: the marks stay as they are and a new selection marks nothing.
  Form.HighlightSelectioninChart1->trigger();
  EXPECT_FALSE(Form.HighlightSelectioninChart1->isChecked());
  Form.TreeView1->setCurrentIndex(Ring);
  EXPECT_EQ(Marked(), QStringList({"+L3-X1:1", "=F1+L1-K1:13", "=F1+L1-K2:A1"}));
  // Checking it again clears every mark.
  Form.HighlightSelectioninChart1Click();
  EXPECT_TRUE(Form.HighlightSelectioninChart1->isChecked());
  EXPECT_TRUE(Marked().isEmpty());
}

TEST_F(NetFormTrees, ExpandAndCollapseAll) {
  // Nothing to do before a load.
  Form.Button2->click();
  Form.Button5->click();
  Load(HandMadeRecords());
  const auto AllExpanded = [](QTreeView* ATree) {
    bool All = true;
    Walk(Child(ATree, {}), [&](const QModelIndex& ANode) {
      All = All && (ChildCount(ANode) == 0 || ATree->isExpanded(ANode));
    });
    return All;
  };
  const auto OnlyRootExpanded = [](QTreeView* ATree) {
    bool Only = true;
    Walk(Child(ATree, {}), [&](const QModelIndex& ANode) {
      Only = Only && ATree->isExpanded(ANode) == !ANode.parent().isValid();
    });
    return Only;
  };
  EXPECT_TRUE(OnlyRootExpanded(Form.TreeView1));
  Form.Button2->click();
  EXPECT_TRUE(AllExpanded(Form.TreeView1));
  EXPECT_TRUE(OnlyRootExpanded(Form.TreeView2));
  Form.Button3->click();
  EXPECT_TRUE(OnlyRootExpanded(Form.TreeView1));

  ChooseOrder(2);
  Form.Button4->click();
  EXPECT_TRUE(AllExpanded(Form.TreeView2));
  Form.Button5->click();
  EXPECT_TRUE(OnlyRootExpanded(Form.TreeView2));
}

}  // namespace
}  // namespace wiremap
