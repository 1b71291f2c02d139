#include "host/ReadPCS.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <memory>
#include <string>
#include <vector>

#include "NetFormTestSupport.h"
#include "SimTestDrawings.h"
#include "TestPrompts.h"
#include "host/DemoDrawing.h"
#include "host/SimHostFactory.h"
#include "model/TextCompare.h"
#include "ui/Forms.h"
#include "ui/NetForm.h"

namespace wiremap {
namespace {

const QString kRetrieving = "Retrieving data from PC|Schematic Automation...";

// Presses AButton through the event queue, as a person would: the press takes effect only
// where the program lets events through.
void PressLater(QAbstractButton* AButton) {
  const QPointF At = QRectF(AButton->rect()).center();
  for (const QEvent::Type Type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
    QCoreApplication::postEvent(
        AButton, new QMouseEvent(Type, At, AButton->mapToGlobal(At), Qt::LeftButton,
                                 Type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                 Qt::NoModifier));
}

class ReadPCS : public ::testing::Test {
 protected:
  ReadPCS() { SetCollationLocale("C"); }

  // The faults of the host in use, or else of the next one to connect.
  TSimFaults& Faults() {
    return Form.HostApplication() ? Factory.LastHost()->Faults() : Factory.Faults;
  }

  // Runs the dialog; Status is the label's text while the host was being read, Progress
  // the bar's position and ComboEnabled the combo box's state when the first entry was.
  int Run() {
    TSimFaults& Planned = Faults();
    const auto Press = Planned.OnGetConnection;
    Planned.OnGetConnection = [this, Press](int32_t AIndex) {
      Status = Form.Label1->text();
      if (AIndex == 0) {
        Progress = Form.ProgressBar1->value();
        ComboEnabled = Form.ComboBox1->isEnabled();
      }
      if (Press) Press(AIndex);
    };
    const int Result = Form.ShowModal();
    Planned.OnGetConnection = Press;
    return Result;
  }

  // Presses Abort while entry AIndex is being read; ARead counts the entries read.
  void AbortAt(int32_t AIndex, int32_t& ARead) {
    Faults().OnGetConnection = [this, AIndex, &ARead](int32_t I) {
      ++ARead;
      if (I == AIndex) PressLater(Form.BitBtn1);
    };
  }

  QStringList ErrorTexts() const {
    QStringList Texts;
    for (const auto& Error : Prompts.Errors) {
      EXPECT_EQ(Error.Owner, &Form);
      EXPECT_EQ(Error.Title, "Wiremap");
      Texts.append(Error.Text);
    }
    return Texts;
  }

  TTestPrompts Prompts;
  TSimHostFactory Factory{WireList(5, true)};
  TForm4 Form;
  QString Status;
  int Progress = -1;
  bool ComboEnabled = true;
};

TEST_F(ReadPCS, LooksAsDesigned) {
  EXPECT_EQ(Form.windowTitle(), "OLE Interface to PC|SCHEMATIC");
  EXPECT_EQ(Form.size(), QSize(320, 129));
  EXPECT_FALSE(Form.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(ReadPCS, KeepsTheConnectionUntilAHostErrorThenConnectsAnew) {
  EXPECT_EQ(Run(), QDialog::Accepted);
  EXPECT_FALSE(Form.Timer1->isActive());
  const auto First = Factory.LastHost();
  Form.Label1->setText("before");
  Form.SetProgress(7, 10);  // where an earlier run may leave the bar
  EXPECT_EQ(Run(), QDialog::Accepted);
  EXPECT_EQ(Status, kRetrieving);
  EXPECT_EQ(Progress, 0);
  EXPECT_FALSE(ComboEnabled);
  EXPECT_EQ(Form.HostApplication(), First);
  EXPECT_EQ(First->ReleaseCount(), 2);
  EXPECT_TRUE(Prompts.Errors.empty());

  First->Faults().GoneAfterEntries = 0;  // the CAD application was closed meanwhile
  EXPECT_EQ(Run(), TForm4::mrAbort);
  EXPECT_EQ(ErrorTexts(),
            QStringList{"Exception EOleException\r\nThe CAD application is no longer running"});
  EXPECT_EQ(First->ReleaseCount(), 3);
  EXPECT_FALSE(Form.HostApplication());
  EXPECT_EQ(Run(), QDialog::Accepted);
  EXPECT_EQ(Factory.Attempts(), 2);
  EXPECT_EQ(Form.Connections.size(), 5u);
}

TEST_F(ReadPCS, AFailedConnectionIsShownAndTriedAgainNextTime) {
  Factory.RefuseCreation = true;
  EXPECT_EQ(Run(), TForm4::mrAbort);
  EXPECT_EQ(ErrorTexts(),
            QStringList{"Exception EOleSysError\r\nThe CAD application is not running"});
  EXPECT_EQ(Form.Label1->text(), "Trying to connect to PC|Schematic Automation...");
  EXPECT_FALSE(Form.HostApplication());
  EXPECT_FALSE(Form.Timer1->isActive());

  Factory.RefuseCreation = false;
  EXPECT_EQ(Run(), QDialog::Accepted);
  EXPECT_EQ(Factory.Attempts(), 2);
  EXPECT_EQ(Prompts.Errors.size(), 1u);
}

TEST_F(ReadPCS, AbortAtRecordKOfNStopsAfterThatRecordWithoutAMessage) {
  int32_t Runs = 0;
  for (const int32_t K : {1, 3, 5}) {
    int32_t Read = 0;
    AbortAt(K - 1, Read);
    EXPECT_EQ(Run(), TForm4::mrAbort) << K;
    EXPECT_EQ(Read, K);
    EXPECT_EQ(Factory.LastHost()->ReleaseCount(), ++Runs);
    EXPECT_TRUE(Prompts.Errors.empty());
    EXPECT_EQ(Factory.Attempts(), 1);  // a stop is no error: the connection stays
  }
}

TEST_F(ReadPCS, AbortBeforeTheFirstTickRetrievesNothing) {
  QTimer::singleShot(0, Form.BitBtn1, &QPushButton::click);
  EXPECT_EQ(Run(), TForm4::mrAbort);
  EXPECT_EQ(Factory.Attempts(), 0);
  EXPECT_TRUE(Form.Connections.empty());
  EXPECT_FALSE(Form.Timer1->isActive());
}

TEST_F(ReadPCS, ProgressStepMovesTheBarAndPositionsBeyondItStandAtTheEnd) {
  EXPECT_TRUE(Form.ProgressStep(3, 10));
  EXPECT_EQ(Form.ProgressBar1->value(), 3);
  Form.SetProgress(25, 20);
  EXPECT_EQ(Form.ProgressBar1->value(), 20);
}

// The main window's Ctrl+R with the real retrieval window.
class HostLoad : public ::testing::Test {
 protected:
  HostLoad() : Forms(CreateForms()), Form(*Forms->Form1), Retrieval(*Forms->Form4) {
    SetCollationLocale("C");
    Form.OpenSampleProject(1);
    SampleName = ProjectName;
  }

  QStringList Memo() const { return Form.Memo1->toPlainText().split('\n'); }

  TTestPrompts Prompts;
  std::unique_ptr<TForms> Forms;
  TForm1& Form;
  TForm4& Retrieval;
  std::string SampleName;
};

TEST_F(HostLoad, TheDemoDrawingLoadsIntoBothTreesAndTheStatistics) {
  Form.RetrieveCurrentProjectsNetlist1Click();
  EXPECT_EQ(
      Memo().value(1),
      QString("Retrieved connections: %1").arg(TSimulatedHost(DemoDrawing()).Connections().size()));
  EXPECT_EQ(Child(Form.TreeView1, {}).data().toString(), "Netlist of project []");
  EXPECT_EQ(Child(Form.TreeView2, {}).data().toString(), "List of pins in project []");
  EXPECT_TRUE(Retrieval.Connections.empty());
  EXPECT_TRUE(Form.StatusText().startsWith("Ready."));
}

TEST_F(HostLoad, AFailedOrAbortedRetrievalLeavesTheProjectAsItWas) {
  const QStringList MemoBefore = Memo();
  const QStringList NetlistBefore = Dump(Form.TreeView1);
  const QStringList PinsBefore = Dump(Form.TreeView2);
  TSimHostFactory Factory(WireList(4));

  for (const bool Abort : {false, true}) {
    Factory.RefuseCreation = !Abort;
    Factory.Faults.OnGetConnection = [this, Abort](int32_t AIndex) {
      if (Abort && AIndex == 2) PressLater(Retrieval.BitBtn1);
    };
    Form.RetrieveCurrentProjectsNetlist1Click();
    EXPECT_EQ(Memo(), MemoBefore);
    EXPECT_EQ(Dump(Form.TreeView1), NetlistBefore);
    EXPECT_TRUE(Form.StatusText().startsWith("Ready. "));
    EXPECT_EQ(Form.Project()->Name(), SampleName);
    EXPECT_TRUE(Retrieval.Connections.empty());
    Form.BuildPinListTree(0);
    Form.ShowReady();
    EXPECT_EQ(Dump(Form.TreeView2), PinsBefore);
  }
  EXPECT_EQ(Prompts.Errors.size(), 1u);
}

// Ctrl+R against hosts far larger or stranger than any real project.
using ReadPCSRobustness = HostLoad;

TEST_F(ReadPCSRobustness, AListOf100000EntriesAbortedAtTheLastRecordKeepsTheProject) {
  constexpr int32_t Entries = 100000;
  const QStringList Netlist = Dump(Form.TreeView1);
  TSimHostFactory Factory(WireList(Entries, true));
  int32_t Read = 0;
  Factory.Faults.OnGetConnection = [&](int32_t AIndex) {
    ++Read;
    if (AIndex == Entries - 1) PressLater(Retrieval.BitBtn1);
  };
  Form.RetrieveCurrentProjectsNetlist1Click();
  EXPECT_EQ(Read, Entries);
  EXPECT_EQ(Factory.LastHost()->ReleaseCount(), 1);
  EXPECT_TRUE(Prompts.Errors.empty());
  EXPECT_TRUE(Retrieval.Connections.empty());
  EXPECT_EQ(Form.Project()->Name(), SampleName);
  EXPECT_EQ(Dump(Form.TreeView1), Netlist);
  EXPECT_TRUE(Form.StatusText().startsWith("Ready."));
}

// A symbol name of 64 KB and names that are no UTF-8 at all, as a host may send them.
TEST_F(ReadPCSRobustness, HostileNamesFromTheHostAreShownAndFound) {
  const std::string Long = "=" + std::string(65536, 'F') + "+L-K1";
  const std::vector<std::string> Names{Long, "-K\x80", "-L\xC3", "=\xFF+\xFE-M\xED\xA0\x80",
                                       "<b>x</b>  &amp;"};
  // Each wire from a hostile name to a plain one, under a wire number that is no UTF-8.
  TSimDrawing Drawing = WireList(static_cast<int32_t>(Names.size()), true);
  std::vector<TSimSymbol>& Symbols = Drawing.Pages[0].Symbols;  // -A, -B, W of each wire
  for (size_t I = 0; I < Names.size(); ++I) {
    Symbols[3 * I].Name = Names[I];
    Symbols[3 * I].Pins[0].Name = "\xC0\xAF";
    Symbols[3 * I + 2].Name = "W\xE2\x82";
  }
  TSimHostFactory Factory(Drawing);
  Form.RetrieveCurrentProjectsNetlist1Click();
  EXPECT_TRUE(Prompts.Errors.empty());
  ASSERT_EQ(Form.Graph().GetPinCount(), 2 * static_cast<int32_t>(Names.size()));
  const QModelIndex Nets = Child(Form.TreeView1, {});
  EXPECT_EQ(ChildCount(Nets), static_cast<int>(Names.size()));
  EXPECT_TRUE(FindNode(Form.TreeView1, QString::fromStdString(Long + ":\xC0\xAF")).isValid());
  EXPECT_TRUE(FindNode(Form.TreeView1, "<b>x</b>  &amp;:", Qt::MatchStartsWith).isValid());
  // Choosing a pin in the netlist tree finds that very pin in the pin list.
  for (int I = 0; I < ChildCount(Nets); ++I)
    for (int J = 0; J < ChildCount(Nets.model()->index(I, 0, Nets)); ++J) {
      const QModelIndex Pin = Child(Form.TreeView1, {I, J});
      Form.TreeView1->setCurrentIndex(Pin);
      EXPECT_EQ(NodePin(Form.TreeView2->currentIndex()), NodePin(Pin)) << NodePin(Pin)->Name;
    }
}

}  // namespace
}  // namespace wiremap
