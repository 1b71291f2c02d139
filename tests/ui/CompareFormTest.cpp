#include "ui/CompareForm.h"

#include <gtest/gtest.h>

#include <memory>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "NetFormTestSupport.h"
#include "TestPrompts.h"
#include "model/Wiremap.h"
#include "ui/Forms.h"
#include "ui/ImageList.h"
#include "ui/TextFile.h"

namespace wiremap {
namespace {

// A sample loaded as the main window would load it, with its netlist.
struct TLoadedSample {
  explicit TLoadedSample(int ANumber)
      : Project(SampleRecords(ANumber), SampleProjectInfo(ANumber)->Caption) {
    Netlist = NetlistOf(Project.Graph());
    Netlist.ProjectName = Project.Name();
  }

  TProject Project;
  TNetlist Netlist;
};

// The first node of ATree, in pre-order, whose text starts with AText.
QTreeWidgetItem* NodeStartingWith(const QTreeWidget& ATree, const QString& AText) {
  return ATree.findItems(AText, Qt::MatchStartsWith | Qt::MatchRecursive).value(0);
}

class CompareFormTest : public ::testing::Test {
 protected:
  void SetUp() override { SetCollationLocale("en_US"); }
  void TearDown() override { SetCollationLocale("C"); }
};

TEST_F(CompareFormTest, EverySampleSavedAsItsNetlistTreeReadsBackWithoutDifference) {
  QTemporaryDir Dir;
  const QString FileName = Dir.filePath("netlist.txt");
  for (int Sample = 1; Sample <= SampleProjectCount; ++Sample) {
    SCOPED_TRACE(Sample);
    TLoadedSample Loaded(Sample);
    SaveTextBytes(FileName, WriteNetlistText(Loaded.Project.Graph(), Loaded.Project.Name()));
    const TNetlist Saved = ReadNetlistText(FileBytes(FileName).toStdString());
    EXPECT_EQ(Saved.ProjectName, Loaded.Netlist.ProjectName);
    EXPECT_EQ(Saved.Nets, Loaded.Netlist.Nets);
    EXPECT_EQ(CompareNetlists(Saved, Loaded.Netlist).Unchanged, Loaded.Project.Graph().NetCount);
  }
}

const TNetlist kOld{"old <b>x</b>  &amp;", {{"A:1", "A:2", "A:3"}, {"B:1", "B:2"}, {"C:1", "C:2"}}};
const TNetlist kNew{"new", {{"A:1", "A:2", "X:1"}, {"b:1", "B:2"}, {"D:1", "D:2"}}};

TEST_F(CompareFormTest, ShowsTheSummaryAndTheTreeAsPlainText) {
  TForm6 Form;
  Form.ShowComparison(kOld, kNew);
  EXPECT_EQ(Form.Label1->textFormat(), Qt::PlainText);
  EXPECT_EQ(Form.Label1->text(),
            "unchanged 1, changed 1, only in old 1, only in new 1, pins only in old 3, "
            "pins only in new 3");
  EXPECT_EQ(TreeLines(*Form.TreeView1).join('\n'),
            "Changes from project [old <b>x</b>  &amp;] to project [new]\n"
            "\tchanged nets: 1\n\t\tnet A:1   pins 3   was net A:1   pins 3\n\t\t\t+ X:1\n"
            "\t\t\t- A:3\n\tnets only in the old project: 1\n\t\tnet C:1   pins 2\n"
            "\t\t\tC:1\n\t\t\tC:2\n\tnets only in the new project: 1\n\t\tnet D:1   pins 2\n"
            "\t\t\tD:1\n\t\t\tD:2\n\tpins only in the old project: 3\n\t\tA:3\n\t\tC:1\n"
            "\t\tC:2\n\tpins only in the new project: 3\n\t\tD:1\n\t\tD:2\n\t\tX:1");
  // The changes are open to view; whole nets of one side stay folded.
  EXPECT_TRUE(NodeStartingWith(*Form.TreeView1, "net A:1")->isExpanded());
  EXPECT_FALSE(NodeStartingWith(*Form.TreeView1, "net C:1")->isExpanded());
  Form.ShowComparison(kNew, kOld);  // a new comparison replaces the last
  EXPECT_EQ(Form.Diff().OnlyOld, std::vector<int>{2});
  EXPECT_TRUE(Form.isVisible() && !Form.isModal());
  Form.BitBtn1->click();
  EXPECT_FALSE(Form.isVisible());
}

// The comparison window of the program compares sample 7 with sample 8 as the main window
// has loaded it, except that one net of the new side has gained a pin since.
class CompareFormSelectTest : public CompareFormTest, public TNetFormFixture {
 protected:
  void SetUp() override {
    CompareFormTest::SetUp();
    Form.OpenSampleProject(8);
    TNetlist New = TLoadedSample(8).Netlist;
    for (std::vector<std::string>& Net : New.Nets)
      if (Net.front() == "+HM-B1:BN") Net.push_back("Z:9");
    Compare().ShowComparison(TLoadedSample(7).Netlist, New);
  }

  TForm6& Compare() { return *Forms->Form6; }

  QTreeWidgetItem* Node(const QString& AText) {
    QTreeWidgetItem* Found = NodeStartingWith(*Compare().TreeView1, AText);
    EXPECT_NE(Found, nullptr) << AText.toStdString();
    return Found;
  }
};

TEST_F(CompareFormSelectTest, DoubleClickSelectsWhatTheMainTreeHoldsAndBeepsOtherwise) {
  struct TCase {
    const char* Node;      // in the comparison tree
    const char* Selected;  // in the netlist tree; "" for a beep that leaves the selection
  };
  for (const TCase& Case :
       {TCase{"net +HM-M5:U   pins 5   was", "net +HM-M5:U   pins 5"},
        TCase{"+ +HR-X1:5", "+HR-X1:5"}, TCase{"+HM-B22:BK", "+HM-B22:BK"},
        TCase{"net +HM-M2:U   pins 3", ""}, TCase{"- +HM-M2:PE", ""}, TCase{"net +HM-B1:BN", ""}}) {
    SCOPED_TRACE(Case.Node);
    const int Beeps = Prompts.Beeps;
    const QModelIndex Before = Form.TreeView1->currentIndex();
    Compare().TreeView1DblClick(Node(Case.Node));
    const QModelIndex After = Form.TreeView1->currentIndex();
    const bool Beeped = !*Case.Selected;
    EXPECT_EQ(Prompts.Beeps, Beeps + Beeped);
    EXPECT_TRUE(Beeped ? After == Before : After.data().toString().startsWith(Case.Selected));
  }
  // Group nodes fold and unfold instead.
  const int Beeps = Prompts.Beeps;
  QTreeWidgetItem* Group = Node("changed nets");
  Compare().TreeView1DblClick(Group);
  EXPECT_FALSE(Group->isExpanded());
  EXPECT_EQ(Prompts.Beeps, Beeps);
}

TEST_F(CompareFormTest, SaveWritesTheTreeAndProposesTheLastName) {
  TTestPrompts Prompts;
  QTemporaryDir Dir;
  const QString FileName = Dir.filePath("changes.txt");
  TForm6 Form;
  Form.ShowComparison(kOld, kNew);
  for (const auto& Answer : {std::optional<QString>(), std::optional(FileName),
                             std::optional<QString>(), std::optional(Dir.filePath("no/x.txt"))})
    Prompts.AnswerSave(Answer);
  Form.Button1->click();
  EXPECT_FALSE(QFile::exists(FileName));
  Form.Button1->click();
  EXPECT_EQ(FileBytes(FileName), (TreeLines(*Form.TreeView1).join("\r\n") + "\r\n").toUtf8());
  Form.Button1->click();
  EXPECT_EQ(Prompts.SaveProposals, QStringList({"", "", FileName}));
  EXPECT_THROW(Form.Button1Click(), EFileError);
}

// The Compare menu of the main window, with the comparison window CreateForms made.
class CompareMenu : public CompareFormTest, public TNetFormFixture {
 protected:
  TForm6& Result() const { return *Forms->Form6; }

  QString SavedFile(void (TForm1::*ACommand)(), const QString& AName) {
    SavedBy(ACommand, Dir.filePath(AName));
    return Dir.filePath(AName);
  }

  QTemporaryDir Dir;
};

TEST_F(CompareMenu, BeforeAnyProjectTheCommandsOnlyBeep) {
  EXPECT_TRUE(Form.Compare1->menuAction()->isEnabled());
  Form.CompareWithSavedNetlist1->trigger();
  Form.CompareDemoData[6]->trigger();
  EXPECT_EQ(Prompts.Beeps, 2);
  EXPECT_TRUE(Prompts.OpenFilters.isEmpty());
  EXPECT_FALSE(Result().isVisible());
}

// The saved netlist of sample 7 and the built-in sample 7 give the same comparison with
// the loaded sample 8, which stays as it was.
TEST_F(CompareMenu, RevisionTwoAgainstTheSavedFileOrTheSampleOfRevisionOne) {
  Form.OpenSampleProject(7);
  const QString Saved = SavedFile(&TForm1::SaveNetlist1Click, "packer.txt");
  Form.OpenSampleProject(8);
  const QStringList Netlist = Dump(Form.TreeView1), Pins = Dump(Form.TreeView2);
  const QString Statistics = Form.Memo1->toPlainText();
  Prompts.AnswerOpen(std::nullopt);
  Form.CompareWithSavedNetlist1->trigger();
  EXPECT_FALSE(Result().isVisible());
  Prompts.AnswerOpen(Saved);
  Statuses.clear();
  Form.CompareWithSavedNetlist1->trigger();
  EXPECT_EQ(Prompts.OpenFilters, QStringList({"Text files (*.txt)", "Text files (*.txt)"}));
  ASSERT_TRUE(Result().isVisible());
  const QStringList FromFile = TreeLines(*Result().TreeView1);
  EXPECT_EQ(FromFile.first(),
            "Changes from project [Packaging machine HR] to project [Packaging machine HR, "
            "rev. 2]");
  EXPECT_EQ(StatusTexts(), QStringList({"Comparing netlists...", "Ready."}));
  EXPECT_FALSE(BusyCursorShown());

  Form.CompareDemoData[6]->trigger();
  EXPECT_EQ(Result().Label1->text(),
            "unchanged 126, changed 8, only in old 3, only in new 0, pins only in old 13, "
            "pins only in new 9");
  EXPECT_EQ(TreeLines(*Result().TreeView1), FromFile);
  EXPECT_EQ(ProjectName, "Packaging machine HR, rev. 2");
  EXPECT_EQ(Dump(Form.TreeView1), Netlist);
  EXPECT_EQ(Dump(Form.TreeView2), Pins);
  EXPECT_EQ(Form.Memo1->toPlainText(), Statistics);
  EXPECT_EQ(Prompts.Beeps, 0);
  // The result leads back into the main window's netlist tree.
  Result().TreeView1DblClick(NodeStartingWith(*Result().TreeView1, "net +HM-M5:U"));
  EXPECT_TRUE(Form.TreeView1->currentIndex().data().toString().startsWith("net +HM-M5:U   pins 5"));
}

// Through the keyboard, as the user meets it: the standard error box, nothing changed.
TEST_F(CompareMenu, AFileThatIsNoNetlistIsReportedAndChangesNothing) {
  ASSERT_TRUE(ShowActive());
  Form.OpenSampleProject(8);
  const QString PinList = SavedFile(&TForm1::SavePinlist1Click, "pins.txt");
  const QString Missing = Dir.filePath("missing.txt");
  const QString Status = Form.StatusText();
  Statuses.clear();
  for (const auto& [File, Text] : {std::pair{PinList, QString("Not a netlist file: line 1.")},
                                   std::pair{Missing, "Cannot open file " + Missing + "."}}) {
    SCOPED_TRACE(Text.toStdString());
    Prompts.Errors.clear();
    Prompts.AnswerOpen(File);
    QTest::keyClick(&Form, Qt::Key_K, Qt::ControlModifier);
    ASSERT_EQ(Prompts.Errors.size(), 1u);
    EXPECT_EQ(Prompts.Errors[0].Title, "Wiremap");
    EXPECT_EQ(Prompts.Errors[0].Text, Text);
  }
  EXPECT_FALSE(Result().isVisible());
  EXPECT_TRUE(Statuses.isEmpty());
  EXPECT_EQ(Form.StatusText(), Status);
}

}  // namespace
}  // namespace wiremap
