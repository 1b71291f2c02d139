#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>

#include "NetFormTestSupport.h"
#include "charts/ViewGrph.h"
#include "ui/HelpForm.h"
#include "ui/RadioGroup.h"

namespace wiremap {
namespace {

class NetForm : public testing::Test, public TNetFormFixture {};

void ProcessEventsFor(int AMilliseconds) {
  QElapsedTimer Timer;
  Timer.start();
  while (Timer.elapsed() < AMilliseconds) QApplication::processEvents();
}

TEST_F(NetForm, StartsEmptyAndReady) {
  EXPECT_EQ(Form.windowTitle(), "Wiremap ver. " WIREMAP_PROJECT_VERSION
                                " - A Netlist Tool for PC|SCHEMATIC AUTOMATION");
  EXPECT_TRUE(
      QRegularExpression("^Ready\\. {16}Used Memory: \\d+ KB$").match(Form.StatusText()).hasMatch())
      << Form.StatusText().toStdString();
  EXPECT_EQ(Form.Memo1->toPlainText(), "");
  EXPECT_EQ(Form.TreeView1->model()->rowCount(), 0);
  EXPECT_EQ(Form.TreeView2->model()->rowCount(), 0);
  EXPECT_EQ(Form.KeyValues(), nullptr);
  EXPECT_EQ(Form.TreeView1->palette().color(QPalette::Base), QColor(255, 244, 240));
  EXPECT_EQ(Form.TreeView2->palette().color(QPalette::Base), QColor(240, 252, 255));
  EXPECT_FALSE(BusyCursorShown());
}

TEST_F(NetForm, ControlsSitAsDesignedAndFollowTheHeight) {
  const std::vector<std::pair<QWidget*, QRect>> Design{
      {Form.TreeView1, {8, 8, 457, 365}},      {Form.TreeView2, {472, 8, 457, 365}},
      {Form.Button2, {16, 384, 105, 25}},      {Form.Button3, {16, 416, 105, 25}},
      {Form.Button4, {480, 384, 105, 25}},     {Form.Button5, {480, 416, 105, 25}},
      {Form.Button1, {16, 496, 105, 25}},      {Form.Memo1, {136, 384, 329, 137}},
      {Form.RadioGroup1, {640, 384, 289, 141}}};
  // 945 x 600 with the window frame (8 pixels wide, 31 high).
  EXPECT_EQ(Form.size(), QSize(937, 569));
  for (const auto& [Control, Rect] : Design) EXPECT_EQ(Control->geometry(), Rect);
  EXPECT_EQ(Form.StatusBar1->height(), 21);

  Form.show();
  Form.resize(1200, 669);
  QApplication::processEvents();
  EXPECT_EQ(Form.size(), QSize(937, 669));
  for (const auto& [Control, Rect] : Design) {
    const bool IsTree = Control == Form.TreeView1 || Control == Form.TreeView2;
    EXPECT_EQ(Control->geometry(), IsTree ? Rect.adjusted(0, 0, 0, 100) : Rect.translated(0, 100));
  }
  Form.resize(937, 100);
  QApplication::processEvents();
  EXPECT_EQ(Form.height(), 369);
}

TEST_F(NetForm, MenuHasItsCaptionsShortcutsAndStates) {
  EXPECT_EQ(Form.RetrieveCurrentProjectsNetlist1->text(), "&Retrieve Current Project's Netlist");
  EXPECT_EQ(Form.RetrieveCurrentProjectsNetlist1->shortcut(), QKeySequence("Ctrl+R"));
  EXPECT_TRUE(Form.OpenPCSProject1->isEnabled());
  EXPECT_EQ(Form.OpenPCSProject1->text(), "&Open Project File...");
  EXPECT_EQ(Form.OpenPCSProject1->shortcut(), QKeySequence("Ctrl+O"));
  const std::vector<QAction*> Samples{
      Form.OpenDemoData1,  Form.OpenDemoData21, Form.OpenDemoData31,
      Form.OpenDemoData41, Form.OpenDemoData51, Form.OpenDemoData61,
      Form.OpenDemoData71, Form.OpenDemoData81, Form.OpenDemoData91};
  for (int N = 1; N <= 9; ++N) {
    QAction* Item = Samples[N - 1];
    EXPECT_EQ(Item->text(), QString("Open Demo Data &%1   (%2)")
                                .arg(N)
                                .arg(QString::fromUtf8(SampleProjectInfo(N)->Label)));
    EXPECT_EQ(Item->shortcut(), QKeySequence(QString("Ctrl+%1").arg(N)));
  }
  EXPECT_TRUE(Form.N1->isSeparator());
  EXPECT_TRUE(Form.N2->isSeparator());
  EXPECT_EQ(Form.SavePinlist1->text(), "Save &Pinlist");
  EXPECT_EQ(Form.FindNextPin1->shortcut(), QKeySequence("Ctrl+G"));
  EXPECT_EQ(Form.ProductGraph1->text(), "Product &Chart");
  EXPECT_EQ(Form.ProductGraph1->shortcut(), QKeySequence("F12"));
  EXPECT_FALSE(Form.Sort1->menuAction()->isEnabled());
  EXPECT_TRUE(Form.Compare1->menuAction()->isEnabled());  // the netlist comparison
  EXPECT_TRUE(Form.HighlightSelectioninChart1->isCheckable());
  EXPECT_TRUE(Form.HighlightSelectioninChart1->isChecked());
  EXPECT_TRUE(Form.HighlightSelectioninChart1->shortcut().isEmpty());

  QStringList Bar;
  for (const QAction* Item : Form.menuBar()->actions()) Bar.append(Item->text());
  EXPECT_EQ(Bar,
            QStringList({"&File", "&Edit", "&Sort", "&View", "&Compare", "&Options", "&Help"}));
  EXPECT_EQ(Form.menuBar()->actions().last(), Form.Help1);
  EXPECT_EQ(Form.Help1->menu(), nullptr);
}

TEST_F(NetForm, HelpOpensTheHelpWindowWithoutBlocking) {
  Form.Help1->trigger();
  EXPECT_TRUE(Forms->Form3->isVisible());
  EXPECT_FALSE(Forms->Form3->isModal());
}

TEST_F(NetForm, CommandsOfLaterWindowsDoNothingHarmful) {
  for (QAction* Item : {Form.SaveNetlist1, Form.SavePinlist1, Form.CopySelection1, Form.FindPin1,
                        Form.FindNextPin1})
    Item->trigger();
  // The raw data window is modal: it is closed as soon as it is up.
  QTimer::singleShot(0, [] {
    if (QWidget* Modal = QApplication::activeModalWidget()) Modal->close();
  });
  Form.Button1->click();
  Form.PageGraph1->trigger();
  EXPECT_EQ(StatusTexts().last(), "Ready.");
  EXPECT_FALSE(BusyCursorShown());
}

TEST_F(NetForm, RadioGroupOffersTheSevenOrders) {
  ASSERT_EQ(Form.RadioGroup1->Count(), 7);
  EXPECT_EQ(Form.RadioGroup1->title(), "Sort by:");
  EXPECT_EQ(Form.RadioGroup1->ItemIndex(), 0);
  EXPECT_EQ(Form.RadioGroup1->Button(3)->text(), "Function, then Location, then Pin Name");
  EXPECT_EQ(Form.RadioGroup1->Button(6)->text(), "Custom");
  // No caption is cut off, whichever face the window's font found.
  Form.show();
  QApplication::processEvents();
  for (int I = 0; I < Form.RadioGroup1->Count(); ++I) {
    const QRadioButton* Button = Form.RadioGroup1->Button(I);
    EXPECT_LE(Button->sizeHint().width(), Button->width()) << Button->text().toStdString();
  }
  Statuses.clear();
  Form.RadioGroup1->Button(4)->click();
  EXPECT_EQ(Form.RadioGroup1->ItemIndex(), 4);
  EXPECT_EQ(StatusTexts(), QStringList({"Preparing the pin- and linklist tree...", "Ready."}));
}

TEST_F(NetForm, StatusLineFormatAndBalancedBusyCursor) {
  Form.ShowStatus("Hello");
  const QRegularExpressionMatch Match =
      QRegularExpression("^Hello {16}Used Memory: (\\d+) KB$").match(Form.StatusText());
  ASSERT_TRUE(Match.hasMatch()) << Form.StatusText().toStdString();
  EXPECT_GT(Match.captured(1).toLongLong(), 0);

  Form.ShowBusy("One");
  Form.ShowBusy("Two");
  EXPECT_TRUE(BusyCursorShown());
  Form.ShowReady();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  Form.ShowReady();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  Form.AlertBeep();
  EXPECT_EQ(Prompts.Beeps, 1);
}

TEST_F(NetForm, SampleLoadShowsItsStepsWithTheHourglass) {
  Form.OpenSampleProject(2);
  EXPECT_EQ(StatusTexts(), QStringList({"Retrieving demo data...", "Computing Net Graph...",
                                        "Preparing the netlist tree...",
                                        "Preparing the pin- and linklist tree...", "Ready."}));
  // The hourglass comes right after the first text, stays to "Ready." and then goes.
  EXPECT_EQ(std::vector<Qt::CursorShape>(Cursors.begin() + 1, Cursors.end()),
            std::vector<Qt::CursorShape>(4, Qt::WaitCursor));
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(ProjectName, SampleProjectInfo(2)->Caption);
}

TEST_F(NetForm, StatisticsOfAHandMadeProject) {
  Load(HandMadeRecords());
  EXPECT_EQ(
      Form.Memo1->toPlainText().split('\n'),
      QStringList({"PROJECT STATISTICS [Hand-made]", "Retrieved connections: 7",
                   "Pages (with pins): 3", "Functions (connected): 3", "Locations (connected): 3",
                   "Products (i.e. symbols, connected): 6", "Nets: 2", "Pins (connected): 6"}));
}

class NetFormSample : public testing::TestWithParam<int>, public TNetFormFixture {};

TEST_P(NetFormSample, StatisticsMatchTheModel) {
  const int Number = GetParam();
  Form.OpenSampleProject(Number);

  TConnectionRecs Records;
  LoadSampleProject(Records, Number);
  TWiremaps Graph;
  for (const TConnectionRec& Rec : Records)
    Graph.AddConnection(PinNameOf(Rec.DesignationA, Rec.PinA),
                        PinNameOf(Rec.DesignationB, Rec.PinB), Rec.WireName, Rec.PageA, Rec.PageB);
  Graph.ComputeNets();
  const TKeyValues Keys(Graph);
  const QStringList Expected{
      QString("PROJECT STATISTICS [%1]").arg(SampleProjectInfo(Number)->Caption),
      QString("Retrieved connections: %1").arg(Records.size()),
      QString("Pages (with pins): %1").arg(Keys.Lists[akPage].Count()),
      QString("Functions (connected): %1").arg(Keys.Lists[akFunction].Count()),
      QString("Locations (connected): %1").arg(Keys.Lists[akLocation].Count()),
      QString("Products (i.e. symbols, connected): %1").arg(Keys.Lists[akProduct].Count()),
      QString("Nets: %1").arg(Graph.NetCount),
      QString("Pins (connected): %1").arg(Graph.GetPinCount())};
  EXPECT_EQ(Form.Memo1->toPlainText().split('\n'), Expected);
  EXPECT_EQ(ChildCount(Child(Form.TreeView1, {})), Graph.NetCount);
}

INSTANTIATE_TEST_SUITE_P(AllSamples, NetFormSample, testing::Range(1, 10));

TEST_F(NetForm, HostLoadTakesTheRetrievedRecordsAndEmptiesThem) {
  Retrieval.Records = HandMadeRecords();
  Form.RetrieveCurrentProjectsNetlist1->trigger();
  EXPECT_EQ(Retrieval.Shown, 1);
  EXPECT_TRUE(Retrieval.Connections.empty());
  EXPECT_EQ(Form.Memo1->toPlainText().section('\n', 0, 1),
            "PROJECT STATISTICS []\nRetrieved connections: 7");
  EXPECT_EQ(Child(Form.TreeView1, {}).data().toString(), "Netlist of project []");
  EXPECT_EQ(Child(Form.TreeView2, {}).data().toString(), "List of pins in project []");
  EXPECT_EQ(StatusTexts(), QStringList({"Retrieving data through OLE...", "Computing Net Graph...",
                                        "Preparing the netlist tree...",
                                        "Preparing the pin- and linklist tree...", "Ready."}));
}

TEST_F(NetForm, FailedRetrievalChangesNothingButTheRecords) {
  Form.OpenSampleProject(1);
  const QString Memo = Form.Memo1->toPlainText();
  const QStringList Netlist = Dump(Form.TreeView1);
  const QString Status = Form.StatusText();
  Retrieval.Succeed = false;
  Retrieval.Connections = HandMadeRecords();
  Form.RetrieveCurrentProjectsNetlist1Click();
  EXPECT_TRUE(Retrieval.Connections.empty());
  EXPECT_EQ(Form.Memo1->toPlainText(), Memo);
  EXPECT_EQ(Dump(Form.TreeView1), Netlist);
  EXPECT_EQ(Form.StatusText(), Status);
}

TEST_F(NetForm, LoadingHidesTheChartWindow) {
  Form.ProductGraph1Click();
  Forms->Form2->show();
  Form.OpenSampleProject(3);
  EXPECT_FALSE(Forms->Form2->isVisible());
}

TEST_F(NetForm, OnlyTheFirstActivationLoadsSampleOne) {
  Form.FormActivate();
  EXPECT_EQ(ProjectName, SampleProjectInfo(1)->Caption);
  Load(HandMadeRecords());
  Form.FormActivate();
  Form.show();
  QApplication::processEvents();
  EXPECT_EQ(Child(Form.TreeView1, {}).data().toString(), "Netlist of project [Hand-made]");
}

TEST_F(NetForm, ShowingTheWindowLoadsSampleOne) {
  Form.show();
  ProcessEventsFor(50);
  EXPECT_EQ(Form.Memo1->toPlainText().section('\n', 0, 0),
            QString("PROJECT STATISTICS [%1]").arg(SampleProjectInfo(1)->Caption));
  EXPECT_EQ(StatusTexts().last(), "Ready.");
}

// Names are data, never markup: the status line shows them letter for letter.
TEST_F(NetForm, StatusLineShowsAPinNameAsPlainText) {
  const QString Text = "Searching for <b>x</b>  &amp;:1...";
  Form.show();
  Form.ShowBusy(Text);
  const auto* Label = Form.StatusBar1->findChild<QLabel*>();
  ASSERT_NE(Label, nullptr);
  EXPECT_TRUE(Label->text().startsWith(Text + "                Used Memory: "));
  // Rendered as markup, the tags would vanish and the blanks collapse.
  EXPECT_GE(Label->sizeHint().width(), Label->fontMetrics().horizontalAdvance(Label->text()));
  Form.ShowReady();
}

// Redrawing the status text while painting must not make the window paint again.
TEST_F(NetForm, PaintingSettles) {
  Form.show();
  ProcessEventsFor(100);
  int Paints = 0;
  struct TCounter : QObject {
    int& Count;
    explicit TCounter(int& ACount) : Count(ACount) {}
    bool eventFilter(QObject*, QEvent* AEvent) override {
      if (AEvent->type() == QEvent::Paint) ++Count;
      return false;
    }
  } Counter(Paints);
  Form.installEventFilter(&Counter);
  Form.update();
  ProcessEventsFor(150);
  EXPECT_LE(Paints, 2);
  EXPECT_TRUE(StatusTexts().last() == "Ready.");
}

}  // namespace
}  // namespace wiremap
