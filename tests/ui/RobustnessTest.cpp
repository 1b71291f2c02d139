#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <QTreeView>

#include "NetFormTestSupport.h"
#include "charts/ViewGrph.h"
#include "ui/RadioGroup.h"

namespace wiremap {
namespace {

// Sizes and texts far beyond any real project, through the main window and the charts.
class Robustness : public testing::Test, public TNetFormFixture {
 protected:
  // Every pin node below ANode (pre-order), for comparing what two trees carry.
  static void PinsBelow(const QModelIndex& ANode, std::vector<const TPinDescr*>& APins) {
    for (int I = 0; I < ChildCount(ANode); ++I) {
      const QModelIndex Node = ANode.model()->index(I, 0, ANode);
      if (const TPinDescr* Pin = NodePin(Node)) APins.push_back(Pin);
      PinsBelow(Node, APins);
    }
  }

  // Hovers every node of the chart and paints it; gives the hint texts met.
  QStringList HoverAndPaint() {
    TForm2& Chart = *Forms->Form2;
    QStringList Hints;
    for (const TChartPoint Point : Chart.Layout().NodePositions) {
      Chart.FormMouseMove(Point.X, Point.Y);
      Hints.append(Chart.HintText());
    }
    EXPECT_FALSE(Chart.grab().isNull());
    return Hints;
  }
};

// Pins -X0000000:1, -X0000001:1 … each wired to the next: one net as long as the project,
// the deepest walk the net collection can meet.
TConnectionRecs Chain(int32_t APins) {
  const auto Name = [](int32_t ANumber) {
    char Text[16];
    std::snprintf(Text, sizeof Text, "-X%07d", ANumber);
    return std::string(Text);
  };
  TConnectionRecs Records;
  Records.reserve(static_cast<size_t>(APins));
  for (int32_t I = 0; I + 1 < APins; ++I)
    Records.push_back({Name(I), "1", 1, Name(I + 1), "1", 1, "W"});
  return Records;
}

TEST_F(Robustness, ANetOfAMillionPinsFillsTheNetlistTree) {
  constexpr int32_t Pins = 1000000;
  // An order without a pin list, so that the netlist tree is the only large one.
  Form.RadioGroup1->SetItemIndex(soCustom);
  Load(Chain(Pins));
  const QModelIndex Root = Child(Form.TreeView1, {});
  ASSERT_TRUE(Root.isValid());
  ASSERT_EQ(ChildCount(Root), 1);
  const QModelIndex Net = Child(Form.TreeView1, {0});
  EXPECT_EQ(Net.data().toString(), "net -X0000000:1   pins 1000000   linear");
  ASSERT_EQ(ChildCount(Net), Pins);
  EXPECT_EQ(Child(Form.TreeView1, {0, 1}).data().toString(), "-X0000001:1");
  EXPECT_EQ(Child(Form.TreeView1, {0, Pins - 1}).data().toString(), "-X0999999:1");
  EXPECT_EQ(NodePin(Child(Form.TreeView1, {0, Pins - 1}))->Number, Pins - 1);
  EXPECT_EQ(Child(Form.TreeView1, {0, Pins - 1}).parent(), Net);

  // Selecting the net marks every pin of it for the chart.
  Form.HighlightSelectioninChart1->setChecked(true);
  Form.TreeView1->setCurrentIndex(Net);
  int32_t Marked = 0;
  for (int32_t N = 0; N < Form.Graph().GetPinCount(); ++N)
    Marked += (Form.Graph().GetPin(N)->Flags & pfMarked) != 0;
  EXPECT_EQ(Marked, Pins);
  EXPECT_TRUE(Form.StatusText().startsWith("Ready."));
}

TEST_F(Robustness, ANameOf64KilobytesIsShownWhole) {
  const std::string Function = "=" + std::string(65536, 'F');
  const std::string Long = Function + "+L-K1";
  const std::string Wire(65536, 'w');
  Load({{Long, "1", 1, "-K2", "1", 2, Wire}, {Long, "2", 1, Long, "3", 1, "W2"}});
  const QString Pin = QString::fromStdString(Long + ":1");
  const auto Found = [](QTreeView* ATree, const QString& AText) {
    return FindNode(ATree, AText).isValid();
  };
  EXPECT_TRUE(Found(Form.TreeView1, Pin));
  EXPECT_TRUE(Found(Form.TreeView2, "pin " + Pin + "   page 1   links 1"));
  EXPECT_TRUE(Found(Form.TreeView2, "linked to -K2:1   by wire " + QString::fromStdString(Wire)));
  EXPECT_TRUE(Form.SelectPinInPinList(Long + ":1"));

  Form.FunctionGraph1Click();
  EXPECT_TRUE(HoverAndPaint().contains(QString::fromStdString(Function)));
  Form.ProductGraph1Click();
  EXPECT_TRUE(HoverAndPaint().contains("-K1"));
}

// Bytes that are no UTF-8 (a stray continuation byte, a cut-off sequence, an encoded
// surrogate, an overlong slash, 0xFF) reach the windows as they came.
TEST_F(Robustness, NamesWithInvalidUtf8AreShownAndFound) {
  const std::vector<std::string> Designations{"-K\x80",     "-K\xC3",        "-K\xED\xA0\x80",
                                              "-K\xC0\xAF", "=\xFF+\xFE-K1", "-K\xE2\x82"};
  TConnectionRecs Records;
  for (size_t I = 0; I < Designations.size(); ++I)
    Records.push_back({Designations[I], "1", 1, "-Z" + std::to_string(I), "\xFF", 2, "W\xC3"});
  for (int Order = 0; Order < SortOrderCount; ++Order) {
    Form.RadioGroup1->SetItemIndex(Order);
    Load(Records);
    std::vector<const TPinDescr*> Netlist, PinList;
    PinsBelow(Child(Form.TreeView1, {}), Netlist);
    if (Form.TreeView2->model()->rowCount() > 0) PinsBelow(Child(Form.TreeView2, {}), PinList);
    EXPECT_EQ(Netlist.size(), static_cast<size_t>(Form.Graph().GetPinCount()));
    // Every pin chosen in the netlist tree is found in the pin list, by its bytes.
    for (const TPinDescr* Pin : Netlist) {
      if (PinList.empty()) break;
      EXPECT_TRUE(Form.SelectPinInPinList(Pin->Name)) << Pin->Name;
      EXPECT_EQ(NodePin(Form.TreeView2->currentIndex()), Pin);
    }
  }
  for (void (TForm1::*Chart)() : {&TForm1::PageGraph1Click, &TForm1::FunctionGraph1Click,
                                  &TForm1::LocationGraph1Click, &TForm1::ProductGraph1Click}) {
    (Form.*Chart)();
    EXPECT_EQ(HoverAndPaint().size(), Forms->Form2->Condensed()->NodeCount);
  }
}

}  // namespace
}  // namespace wiremap
