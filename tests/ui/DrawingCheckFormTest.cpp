#include "ui/DrawingCheckForm.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "NetFormTestSupport.h"
#include "host/DemoDrawing.h"
#include "host/NetRead.h"
#include "host/SimHostFactory.h"

namespace wiremap {
namespace {

// A drawing without a fault: two relays wired coil to coil.
TSimDrawing CleanDrawing() {
  TSimDrawing Drawing;
  TSimPage& Page = Drawing.Pages.emplace_back();
  Page.Symbols = {{.SymbolType = TSimType::Relay,
                   .Name = "-K1",
                   .Pins = {{"A1", {0, 0, 0}}, {"A2", {0, 15000, 0}}}},
                  {.SymbolType = TSimType::Relay,
                   .Name = "-K2",
                   .Pins = {{"A1", {20000, 0, 0}}, {"A2", {20000, 15000, 0}}}}};
  Page.Lines = {{.Vertices = {{0, 0, 0}, {0, -5000, 0}, {20000, -5000, 0}, {20000, 0, 0}}},
                {.Vertices = {{0, 15000, 0}, {20000, 15000, 0}}}};
  return Drawing;
}

// The node of ATree whose text starts with AText.
QTreeWidgetItem* Node(const QTreeWidget& ATree, const QString& AText) {
  return ATree.findItems(AText, Qt::MatchStartsWith | Qt::MatchRecursive).value(0);
}

// The program's windows over the demo drawing, the main window holding the demo's own
// connection list.
class DrawingCheckFormTest : public ::testing::Test {
 protected:
  DrawingCheckFormTest() : Check(*Fixture.Forms->DrawingCheckForm) {}

  void LoadDemoList() {
    TConnectionRecs Records;
    RetrieveConnections(CoApplication::Create(), Records, nullptr);
    Fixture.Load(Records, "Demo list");
  }

  TSimHostFactory Hosts{DemoDrawing()};
  TNetFormFixture Fixture;
  TDrawingCheckForm& Check;
};

TEST_F(DrawingCheckFormTest, CtrlDShowsTheDemoDrawingsFaultsGroupedByKind) {
  Fixture.Load(HandMadeRecords());
  TForm1& Form = Fixture.Form;
  QAction* Item = Form.CheckDrawing1;
  ASSERT_NE(Item, nullptr);
  EXPECT_TRUE(Form.View1->actions().contains(Item));
  EXPECT_EQ(Item->text(), "Check &Drawing");
  EXPECT_EQ(Item->shortcut(), QKeySequence("Ctrl+D"));

  Fixture.Statuses.clear();
  bool BusyWhileChecking = false;
  QObject::connect(&Form, &TForm1::drawingCheckRequested,
                   [&BusyWhileChecking] { BusyWhileChecking = BusyCursorShown(); });
  Item->trigger();
  EXPECT_TRUE(Check.isVisible());
  EXPECT_FALSE(Check.isModal());
  EXPECT_EQ(Check.windowTitle(), "Drawing Check");
  EXPECT_EQ(Fixture.StatusTexts(), QStringList({"Checking the drawing...", "Ready."}));
  EXPECT_TRUE(BusyWhileChecking);
  EXPECT_FALSE(BusyCursorShown());
  EXPECT_EQ(ProjectName, "Hand-made");  // the live list read for the check is not loaded
  EXPECT_TRUE(Fixture.Prompts.Errors.empty());

  EXPECT_EQ(Dump(Check.TreeView1, 0),
            QStringList({"Open line ends (1)", "Pins inside lines (2)", "Unconnected pins (8)"}));
  EXPECT_TRUE(Node(*Check.TreeView1, "Open line ends")->isExpanded());
  EXPECT_EQ(Node(*Check.TreeView1, "Open line ends")->child(0)->text(0),
            "Page 4, x=90.0 y=157.5: line end meets no pin and no other line");
  EXPECT_TRUE(Check.Label1->text().endsWith(" connections checked"));
  Check.BitBtn1Click();
  EXPECT_FALSE(Check.isVisible());
}

TEST_F(DrawingCheckFormTest, DoubleClickSelectsTheFirstPinOrBeeps) {
  LoadDemoList();
  ASSERT_TRUE(Check.RunCheck());
  QSignalSpy Requests(&Check, &TDrawingCheckForm::pinRequested);
  TTestPrompts& Prompts = Fixture.Prompts;

  Check.TreeView1DblClick(Node(*Check.TreeView1, "Page 4, x=90.0 y=160.0"));
  ASSERT_EQ(Requests.size(), 1);
  EXPECT_EQ(Requests[0][0].toString(), "=CV04+CAB1-X1:2");
  // Its other clamp is wired, so the main window's pin list has it.
  ASSERT_NE(NodePin(Fixture.Form.TreeView2->currentIndex()), nullptr);
  EXPECT_EQ(NodePin(Fixture.Form.TreeView2->currentIndex())->Name, "=CV04+CAB1-X1:2");
  EXPECT_EQ(Prompts.Beeps, 0);

  // An open line end names no pin; group nodes are no findings.
  Check.TreeView1DblClick(Node(*Check.TreeView1, "Page 4, x=90.0 y=157.5"));
  EXPECT_EQ(Prompts.Beeps, 1);
  Check.TreeView1DblClick(Node(*Check.TreeView1, "Unconnected pins"));
  EXPECT_EQ(Prompts.Beeps, 1);
  EXPECT_EQ(Requests.size(), 1);

  // A pin the loaded project does not have.
  Fixture.Load(HandMadeRecords());
  Check.TreeView1DblClick(Node(*Check.TreeView1, "Page 4, x=90.0 y=160.0"));
  EXPECT_EQ(Requests.size(), 2);
  EXPECT_EQ(Prompts.Beeps, 2);
}

TEST_F(DrawingCheckFormTest, SavesTheListAsShown) {
  QTemporaryDir Dir;
  const QString FileName = Dir.filePath("check.txt");
  ASSERT_TRUE(Check.RunCheck());
  Fixture.Prompts.AnswerSave(FileName);
  Check.Button1Click();
  EXPECT_EQ(Fixture.Prompts.SaveProposals, QStringList("DrawingCheck.txt"));
  const QByteArray Saved = FileBytes(FileName);
  EXPECT_TRUE(
      Saved.startsWith("Open line ends (1)\r\n\tPage 4, x=90.0 y=157.5: line end meets no "
                       "pin and no other line\r\nPins inside lines (2)\r\n\tPage 4, "));
  EXPECT_EQ(Saved.count("\r\n"), 3 + 11);
  EXPECT_EQ(Saved.count("\r\n\t"), 11);

  TSimHostFactory Clean(CleanDrawing());
  ASSERT_TRUE(Check.RunCheck());
  EXPECT_EQ(Dump(Check.TreeView1), QStringList("No findings."));
  Fixture.Prompts.AnswerSave(std::nullopt);  // cancelled: nothing written
  Check.Button1Click();
  EXPECT_EQ(FileBytes(FileName), Saved);
  Fixture.Prompts.AnswerSave(FileName);
  Check.Button1Click();
  EXPECT_EQ(Fixture.Prompts.SaveProposals.last(), FileName);
  EXPECT_EQ(FileBytes(FileName), "No findings.\r\n");
}

TEST_F(DrawingCheckFormTest, GroupsEveryKindWithItsCount) {
  const auto Finding = [](TFindingKind AKind, const char* AText) {
    return TFinding{AKind, 0, TRawPoint{}, {"-K1:1"}, AText};
  };
  Check.ShowFindings({Finding(TFindingKind::OnlyInList, "list"),
                      Finding(TFindingKind::OnlyInDrawing, "drawing 1"),
                      Finding(TFindingKind::UnconnectedPin, "open"),
                      Finding(TFindingKind::OnlyInDrawing, "drawing 2")});
  EXPECT_EQ(Dump(Check.TreeView1),
            QStringList({"Unconnected pins (1)", "\topen", "Joined only in the drawing (2)",
                         "\tdrawing 1", "\tdrawing 2", "Joined only in the connection list (1)",
                         "\tlist"}));
}

TEST_F(DrawingCheckFormTest, HostErrorsAreShownAndLeaveTheWindowClosed) {
  struct TCase {
    const char* Name;
    bool Refuse;
    const char* Operation;
    const char* Class;
  };
  const TCase Cases[] = {
      {"no host", true, "", "EOleSysError"},
      {"raw data walk", false, "IPCsPage.PageKind", "EOleException"},
      {"connection list", false, "IHostServices.BuildConnectionList", "EOleException"},
  };
  ProjectName = "Loaded";
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    Fixture.Prompts.Errors.clear();
    Hosts.RefuseCreation = Case.Refuse;
    Hosts.Faults.FailOperation = Case.Operation;
    Hosts.Faults.FailCall = 1;
    EXPECT_FALSE(Check.RunCheck());
    EXPECT_FALSE(Check.isVisible());
    ASSERT_EQ(Fixture.Prompts.Errors.size(), 1u);
    EXPECT_EQ(Fixture.Prompts.Errors[0].Owner, &Check);
    EXPECT_TRUE(
        Fixture.Prompts.Errors[0].Text.startsWith(QString("Exception ") + Case.Class + "\r\n"));
    EXPECT_EQ(ProjectName, "Loaded");
  }
}

}  // namespace
}  // namespace wiremap
