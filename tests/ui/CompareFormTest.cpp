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
#include "files/ProjectFile.h"
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

// Two saved netlists: the nets alone.
TComparison NetsOnly(const TNetlist& AOld, const TNetlist& ANew) {
  return CompareSides({AOld.ProjectName, AOld, std::nullopt},
                      {ANew.ProjectName, ANew, std::nullopt});
}

TComparison Samples(int AOld, int ANew) {
  return CompareSides(SideFromRecords(SampleRecords(AOld), SampleProjectInfo(AOld)->Caption),
                      SideFromRecords(SampleRecords(ANew), SampleProjectInfo(ANew)->Caption));
}

// The window shows what the saved text holds: the summary, then the tree line by line.
QStringList Shown(const TForm6& AForm) {
  return QStringList(AForm.Label1->text()) + TreeLines(*AForm.TreeView1);
}

QStringList Saved(const TComparison& AComparison) {
  QStringList Lines;
  for (const std::string& Line : ComparisonTextLines(AComparison))
    Lines.append(QString::fromStdString(Line));
  return Lines;
}

TEST_F(CompareFormTest, ShowsTheSummaryAndTheTreeAsPlainText) {
  TForm6 Form;
  Form.ShowComparison(NetsOnly(kOld, kNew));
  EXPECT_EQ(Form.Label1->textFormat(), Qt::PlainText);
  EXPECT_EQ(Shown(Form), Saved(NetsOnly(kOld, kNew)));
  EXPECT_EQ(TreeLines(*Form.TreeView1).first(),
            "Changes from project [old <b>x</b>  &amp;] to project [new]");
  // The changes are open to view; whole nets of one side stay folded.
  EXPECT_TRUE(NodeStartingWith(*Form.TreeView1, "net A:1")->isExpanded());
  EXPECT_FALSE(NodeStartingWith(*Form.TreeView1, "net C:1")->isExpanded());
  Form.ShowComparison(NetsOnly(kNew, kOld));  // a new comparison replaces the last
  EXPECT_EQ(Form.Comparison()->Nets.OnlyOld, std::vector<int>{2});
  EXPECT_TRUE(Form.isVisible() && !Form.isModal());
  Form.BitBtn1->click();
  EXPECT_FALSE(Form.isVisible());
}

// Sample 7 against sample 8, both with their records.
class CompareFormSamplesTest : public CompareFormTest {
 protected:
  void SetUp() override {
    CompareFormTest::SetUp();
    Form.ShowComparison(Samples(7, 8), TForm6::TLoaded::New);
    QObject::connect(&Form, &TForm6::netRequested, [this](const QStringList& APins) {
      Requests.append("net " + APins.join(' '));
    });
    QObject::connect(&Form, &TForm6::pinRequested,
                     [this](const QString& APin) { Requests.append("pin " + APin); });
  }

  QTreeWidgetItem* Node(const QString& AText) const {
    QTreeWidgetItem* Found = NodeStartingWith(*Form.TreeView1, AText);
    EXPECT_NE(Found, nullptr) << AText.toStdString();
    return Found;
  }

  TTestPrompts Prompts;
  TForm6 Form;
  QStringList Requests;
};

TEST_F(CompareFormSamplesTest, ShowsTheWiresOfBothRevisions) {
  EXPECT_EQ(Shown(Form), Saved(Samples(7, 8)));
  EXPECT_TRUE(Form.Label1->text().endsWith(
      "wires: unchanged 316, changed 29, removed 10, added 10, renamed designations 1"));
  EXPECT_NE(Node("+HM-B2 → +HM-B21"), nullptr);
  EXPECT_NE(Node("+HR-X1:5 – +HM-M2:U   wire 040   pages 2, 2"), nullptr);
  EXPECT_NE(Node("+HR-A1:8 – +HM-Y2:4   wire 014 → wire 314   pages 2, 2"), nullptr);
}

TEST_F(CompareFormSamplesTest, ADoubleClickAsksTheMainWindowForTheNetOrThePin) {
  QStringList Expected;
  for (const auto& Net : Form.Comparison()->New.Netlist.Nets)
    if (Net.front() == "+HM-M5:U")
      for (const std::string& Pin : Net) Expected.append(QString::fromStdString(Pin));
  ASSERT_EQ(Expected.size(), 5);
  Form.TreeView1DblClick(Node("net +HM-M5:U   pins 5   was"));
  Form.TreeView1DblClick(Node("- +HM-M2:PE"));
  Form.TreeView1DblClick(Node("+HR-X1:5 – +HM-M2:U"));
  EXPECT_EQ(Requests, QStringList({"net " + Expected.join(' '), "pin +HM-M2:PE", "pin +HR-X1:5"}));
  // Group nodes fold and unfold instead; a row of no comparison asks for nothing.
  QTreeWidgetItem* Group = Node("changed nets");
  Form.TreeView1DblClick(Group);
  EXPECT_FALSE(Group->isExpanded());
  QTreeWidgetItem Detached(*Node("- +HM-M2:PE"));
  Form.TreeView1DblClick(&Detached);
  EXPECT_EQ(Requests.size(), 3);
  EXPECT_EQ(Prompts.Beeps, 0);
}

TEST_F(CompareFormSamplesTest, FollowsLoadsOfTheMainWindow) {
  const auto Load = [this](int ANumber) { Form.FollowLoad(TLoadedSample(ANumber).Project); };
  Load(6);  // the same old side against the newly loaded project
  EXPECT_EQ(Shown(Form), Saved(Samples(7, 6)));
  EXPECT_EQ(Form.Loaded(), TForm6::TLoaded::New);
  Form.Button3->click();  // the loaded project is now the old side
  EXPECT_EQ(Shown(Form), Saved(Samples(6, 7)));
  EXPECT_EQ(Form.Loaded(), TForm6::TLoaded::Old);
  Load(8);
  EXPECT_EQ(Form.Comparison(), nullptr);
  EXPECT_EQ(Form.TreeView1->topLevelItemCount(), 0);
  EXPECT_EQ(Form.Label1->text(),
            "The comparison was cleared: its old side, project [Pump station ZC, rev. B], is no "
            "longer the loaded project.");
  EXPECT_FALSE(Form.Button1->isEnabled() || Form.Button2->isEnabled() || Form.Button3->isEnabled());
  EXPECT_TRUE(Form.isVisible());

  // Two files, neither loaded: loads leave them be. Hidden, the window lets go.
  Form.ShowComparison(Samples(2, 6));
  Load(3);
  EXPECT_EQ(Shown(Form), Saved(Samples(2, 6)));
  Form.ShowComparison(Samples(2, 6), TForm6::TLoaded::New);
  Form.BitBtn1->click();
  Load(3);
  EXPECT_EQ(Form.Comparison(), nullptr);
}

TEST_F(CompareFormSamplesTest, SavesTheWholeResultAsTextOrCsv) {
  QTemporaryDir Dir;
  const QString Text = Dir.filePath("changes.txt"), Csv = Dir.filePath("changes.csv");
  for (const auto& Answer : {std::optional<QString>(), std::optional(Text), std::optional(Csv),
                             std::optional(Dir.filePath("no/x.txt"))})
    Prompts.AnswerSave(Answer);
  Form.Button1->click();
  EXPECT_FALSE(QFile::exists(Text));
  Form.Button1->click();
  Form.Button2->click();
  EXPECT_EQ(FileBytes(Text), QByteArray::fromStdString(WriteComparisonText(*Form.Comparison())));
  EXPECT_EQ(FileBytes(Csv), QByteArray::fromStdString(WriteComparisonCsv(*Form.Comparison())));
  EXPECT_THROW(Form.Button1Click(), EFileError);
  EXPECT_EQ(Prompts.SaveProposals, QStringList({"", "", "", Text}));
  const QString TextFilter = "Text files (*.txt)";
  EXPECT_EQ(Prompts.SaveFilters,
            QStringList({TextFilter, TextFilter, "CSV files (*.csv)", TextFilter}));
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
  Form.CompareWithFile1->trigger();
  Form.CompareDemoData[6]->trigger();
  EXPECT_EQ(Prompts.Beeps, 2);
  EXPECT_TRUE(Prompts.OpenFilters.isEmpty());
  EXPECT_FALSE(Result().isVisible());
}

// Sample 7 as a connection list, a saved netlist and a built-in sample against the loaded
// sample 8, which stays as it was; then two files, neither loaded.
TEST_F(CompareMenu, RevisionTwoAgainstRevisionOneAsAFileOrTheSample) {
  Form.OpenSampleProject(7);
  const QString Saved = SavedFile(&TForm1::SaveNetlist1Click, "packer.txt");
  const QString List = Dir.filePath("packer.csv");
  {
    QFile File(List);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write(QByteArray::fromStdString(WriteConnectionList(SampleRecords(7))));
  }
  Form.OpenSampleProject(8);
  const QStringList Netlist = Dump(Form.TreeView1), Pins = Dump(Form.TreeView2);
  const QString Statistics = Form.Memo1->toPlainText();
  Prompts.AnswerOpen(std::nullopt);
  Form.CompareWithFile1->trigger();
  EXPECT_FALSE(Result().isVisible());
  Prompts.AnswerOpen(List);
  Statuses.clear();
  Form.CompareWithFile1->trigger();
  ASSERT_TRUE(Result().isVisible());
  EXPECT_EQ(StatusTexts(), QStringList({"Comparing netlists...", "Ready."}));
  EXPECT_FALSE(BusyCursorShown());
  const QStringList FromList = Shown(Result());
  EXPECT_EQ(FromList.value(1),
            "Changes from project [packer] to project [Packaging machine HR, rev. 2]");
  EXPECT_TRUE(FromList.first().endsWith(
      "wires: unchanged 316, changed 29, removed 10, added 10, renamed designations 1"));

  Form.CompareDemoData[6]->trigger();
  EXPECT_EQ(Shown(Result()).first(), FromList.first());
  EXPECT_EQ(Shown(Result()).mid(2), FromList.mid(2));

  Prompts.AnswerOpen(Saved);
  Form.CompareWithFile1->trigger();
  EXPECT_EQ(Result().Comparison()->Old.Name, "Packaging machine HR");
  EXPECT_FALSE(Result().Comparison()->Wires);
  EXPECT_EQ(Result().Comparison()->Nets.Changed.size(), 8u);
  const QString AllFiles(
      "Projects, connection lists and netlists (*.qet *.csv *.txt);;All files (*)");
  EXPECT_EQ(Prompts.OpenFilters, QStringList({AllFiles, AllFiles, AllFiles}));
  EXPECT_EQ(ProjectName, "Packaging machine HR, rev. 2");
  EXPECT_EQ(Dump(Form.TreeView1), Netlist);
  EXPECT_EQ(Dump(Form.TreeView2), Pins);
  EXPECT_EQ(Form.Memo1->toPlainText(), Statistics);
  EXPECT_EQ(Prompts.Beeps, 0);

  // The result leads back into the main window's netlist tree.
  Result().TreeView1DblClick(NodeStartingWith(*Result().TreeView1, "net +HM-M5:U"));
  EXPECT_TRUE(Form.TreeView1->currentIndex().data().toString().startsWith("net +HM-M5:U   pins 5"));

  Prompts.AnswerOpen(Saved);
  Prompts.AnswerOpen(List);
  Form.CompareTwoFiles1->trigger();
  EXPECT_EQ(Result().Loaded(), TForm6::TLoaded::None);
  EXPECT_EQ(Result().Comparison()->New.Name, "packer");
  EXPECT_FALSE(HasDifferences(*Result().Comparison()));
}

// Loading another project compares again against it; the window never shows a stale result.
TEST_F(CompareMenu, TheWindowFollowsLoads) {
  Form.OpenSampleProject(8);
  Form.CompareDemoData[6]->trigger();
  Form.OpenSampleProject(6);
  EXPECT_EQ(Result().Comparison()->Old.Name, "Packaging machine HR");
  EXPECT_EQ(Result().Comparison()->New.Name, "Pump station ZC, rev. B");
  Result().Button3->click();
  Form.OpenSampleProject(2);
  EXPECT_EQ(Result().Comparison(), nullptr);
  EXPECT_TRUE(Result().Label1->text().startsWith("The comparison was cleared"));
}

// Through the keyboard, as the user meets it: the standard error box, nothing changed.
TEST_F(CompareMenu, AFileOfNoKnownKindIsReportedAndChangesNothing) {
  ASSERT_TRUE(ShowActive());
  Form.OpenSampleProject(8);
  const QString PinList = SavedFile(&TForm1::SavePinlist1Click, "pins.txt");
  const QString Netlist = SavedFile(&TForm1::SaveNetlist1Click, "nets.txt");
  QFile File(Netlist);
  ASSERT_TRUE(File.open(QIODevice::Append));
  File.write("oops\r\n");
  File.close();
  const QString Missing = Dir.filePath("missing.txt");
  const QString Status = Form.StatusText();
  Statuses.clear();
  for (const QString& Name : {PinList, Netlist, Missing}) {
    SCOPED_TRACE(Name.toStdString());
    Prompts.Errors.clear();
    Prompts.AnswerOpen(Name);
    QTest::keyClick(&Form, Qt::Key_K, Qt::ControlModifier);
    ASSERT_EQ(Prompts.Errors.size(), 1u);
    EXPECT_EQ(Prompts.Errors[0].Title, "Wiremap");
    EXPECT_EQ(Prompts.Errors[0].Text.startsWith(Name == Netlist ? "Not a netlist file: line "
                                                                : "Not a netlist file"),
              Name == Netlist);
  }
  EXPECT_FALSE(Result().isVisible());
  EXPECT_TRUE(Statuses.isEmpty());
  EXPECT_EQ(Form.StatusText(), Status);
}

}  // namespace
}  // namespace wiremap
