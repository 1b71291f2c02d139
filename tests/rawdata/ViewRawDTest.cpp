#include "rawdata/ViewRawD.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <stdexcept>
#include <string>

#include "NetFormTestSupport.h"
#include "SmallDrawing.h"
#include "host/SimHostFactory.h"
#include "rawdata/PointTable.h"

namespace wiremap {
namespace {

const QRegularExpression RunCaption(
    "^Raw Data \\(Retrieval Time = \\d+\\.\\d{3} s, Computation = \\d+\\.\\d{3} s\\)$");

void Click(QWidget* AWidget, QEvent::Type AType) {
  const QPointF At(5, 5);
  QMouseEvent Event(AType, At, AWidget->mapToGlobal(At), Qt::LeftButton,
                    AType == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(AWidget, &Event);
}

class ViewRawD : public ::testing::Test {
 protected:
  QStringList Texts() const {
    return {Form.Memo1->toPlainText(), Form.Memo2->toPlainText(), Form.Memo3->toPlainText()};
  }

  TTestPrompts Prompts;
  TSimHostFactory Hosts{SmallDrawing()};
  TForm5 Form;
};

TEST_F(ViewRawD, DesignedLayout) {
  EXPECT_EQ(Form.windowTitle(), "Raw Data");
  EXPECT_EQ(Form.size(), QSize(892, 532));  // 900 x 563 with the window frame
  Form.show();
  Form.resize(1200, 532);  // the nets memo takes what the window gains
  EXPECT_EQ(Form.Memo1->width(), 300);
  EXPECT_EQ(Form.Memo2->width(), 250);
  EXPECT_EQ(Form.Memo3->width(), 1200 - 300 - 250 - 2 * 7);
  Form.hide();
}

TEST_F(ViewRawD, EveryShowingRunsAnewOrLeavesTheTextsOnError) {
  Form.FormShow();
  EXPECT_TRUE(Prompts.Errors.empty());
  EXPECT_TRUE(RunCaption.match(Form.windowTitle()).hasMatch());
  EXPECT_EQ(Form.Memo1->toPlainText().count('\n'), 13);
  EXPECT_TRUE(Form.Memo3->toPlainText().endsWith("-K1:A2   st_Relay handle=1 pin_index=1"));
  const QStringList Before = Texts();

  Hosts.Faults.FailOperation = "IPCsPage.PageKind";
  Hosts.Faults.FailCall = 1;
  EXPECT_THROW(Form.FormShow(), EOleException);  // a host error in the middle of the walk
  Hosts.Faults.FailCall = 0;
  Form.setWindowTitle("Raw Data");
  Hosts.RefuseCreation = true;  // retrieval and names: two boxes, the old texts
  Form.FormShow();
  EXPECT_EQ(Texts(), Before);
  ASSERT_EQ(Prompts.Errors.size(), 2u);
  EXPECT_EQ(Prompts.Errors[1].Owner, &Form);
  EXPECT_EQ(Prompts.Errors[1].Title, "Wiremap");
  EXPECT_TRUE(Prompts.Errors[1].Text.startsWith("Exception EOleSysError\r\n"));
  EXPECT_TRUE(RunCaption.match(Form.windowTitle()).hasMatch());

  Hosts.RefuseCreation = false;
  TSimHostFactory Empty(TSimDrawing{.Pages = {TSimPage{}}});
  Form.FormShow();
  EXPECT_EQ(Form.Memo1->toPlainText(), "total (electric) symbols = 0");
  EXPECT_EQ(Form.Memo3->toPlainText().count('\n'), 4);  // counts and times, no net
}

TEST_F(ViewRawD, DoubleClickSavesTheMemoUnderItsOwnName) {
  Form.FormShow();
  QTemporaryDir Dir;
  Prompts.AnswerSave(std::nullopt);
  Click(Form.Memo1->viewport(), QEvent::MouseButtonDblClick);
  Prompts.AnswerSave(Dir.filePath("nets.txt"));
  Click(Form.Memo3->viewport(), QEvent::MouseButtonDblClick);
  Form.Memo2DblClick();
  EXPECT_EQ(Prompts.SaveProposals, (QStringList{"Symbols.txt", "Netlist.txt", "Polylines.txt"}));
  QString Expected = Form.Memo3->toPlainText() + "\n";
  EXPECT_EQ(FileBytes(Dir.filePath("nets.txt")), Expected.replace("\n", "\r\n").toUtf8());
}

// A host that fails while the nets are being named: the memos already filled show the new
// drawing, the nets memo nothing of the previous one.
TEST_F(ViewRawD, AHostErrorWhileNamingNetsLeavesNoOldNets) {
  Form.FormShow();
  ASSERT_TRUE(Form.Memo3->toPlainText().contains("handle="));
  // The names connection looks up each of the 5 symbols once, then every net member.
  Hosts.Faults.FailOperation = "IHostDocument.SymbolByHandle";
  Hosts.Faults.FailCall = 6;
  EXPECT_THROW(Form.FormShow(), EOleException);
  EXPECT_TRUE(Form.Memo1->toPlainText().startsWith("total (electric) symbols = 5\n"));
  EXPECT_FALSE(Form.Memo3->toPlainText().contains("handle="));
}

// A host adapter that fails with an exception of its own still gets the host error box, for
// the retrieval and the names alike.
TEST_F(ViewRawD, AnyExceptionOfAHostConnectionIsShownInTheHostErrorBox) {
  SetHostFactory(
      []() -> std::shared_ptr<IPCsApplication> { throw std::runtime_error("adapter failed"); });
  EXPECT_NO_THROW(Form.FormShow());
  SetHostFactory({});
  ASSERT_EQ(Prompts.Errors.size(), 2u);
  for (const auto& Error : Prompts.Errors)
    EXPECT_EQ(Error.Text, "Exception std::runtime_error\r\nadapter failed");
  EXPECT_EQ(Form.Memo1->toPlainText(), "Memo1");
}

// Sets the default locale while it lives.
class TDefaultLocale {
 public:
  explicit TDefaultLocale(const QLocale& ALocale) { QLocale::setDefault(ALocale); }
  ~TDefaultLocale() { QLocale::setDefault(FOld); }

 private:
  QLocale FOld;
};

TEST_F(ViewRawD, NumbersUseTheLocalesDecimalSeparator) {
  const TDefaultLocale German(QLocale(QLocale::German, QLocale::Germany));
  Form.FormShow();
  EXPECT_TRUE(QRegularExpression("^Raw Data \\(Retrieval Time = \\d+,\\d{3} s, "
                                 "Computation = \\d+,\\d{3} s\\)$")
                  .match(Form.windowTitle())
                  .hasMatch())
      << Form.windowTitle().toStdString();
  EXPECT_TRUE(Form.Memo1->toPlainText().contains("x=0,0 y=12,5 z=0,0 A2"));
  EXPECT_TRUE(Form.Memo3->toPlainText().contains(QRegularExpression("time = \\d+,\\d{3} s")));
}

// A save writes the lines as they were made: a no-break space stays one, a line or
// paragraph separator inside a name does not break its line.
TEST_F(ViewRawD, ASaveWritesTheLinesAsTheyWereMade) {
  TSimDrawing Drawing;
  Drawing.Pages.emplace_back().Symbols.push_back({.SymbolType = TSimType::Relay,
                                                  .Name = "-K\u00A01\u2028x\u2029y",
                                                  .Pins = {{"A1", {0, 0, 0}}}});
  TSimHostFactory Named(Drawing);
  Form.FormShow();
  QTemporaryDir Dir;
  Prompts.AnswerSave(Dir.filePath("symbols.txt"));
  Form.Memo1DblClick();
  const QByteArray Bytes = FileBytes(Dir.filePath("symbols.txt"));
  EXPECT_EQ(Bytes.count("\r\n"), 3);
  EXPECT_EQ(Bytes.count('\n'), 3);
  EXPECT_TRUE(
      Bytes.contains("st_Relay   -K\xC2\xA0"
                     "1\xE2\x80\xA8x\xE2\x80\xA9y\r\n"));
}

// "Get Raw Data" shows the window modally after the run; an error of the run reaches the
// standard error box instead, and no window is left open.
TEST(ViewRawDMainWindow, GetRawDataRunsThenShowsOrReportsTheError) {
  TTestPrompts Prompts;
  const std::unique_ptr<TForms> Forms = CreateForms();
  QString Shown;
  QTimer::singleShot(0, [&] {
    if (QApplication::activeModalWidget() == Forms->Form5)
      Shown = Forms->Form5->Memo1->toPlainText();
    Forms->Form5->close();
  });
  Forms->Form1->Button1->click();
  EXPECT_TRUE(Shown.startsWith("total (electric) symbols = ")) << Shown.left(40).toStdString();
  EXPECT_GT(Shown.count('\n'), 500);

  TSimDrawing Broken;
  Broken.Pages.emplace_back().Symbols.push_back(
      {.Handle = 77, .SymbolType = TSimType::Signal, .Pins = {{"1", {}}, {"2", {}}}});
  TSimHostFactory Hosts(Broken);
  QTimer Closer;  // should the window open after all
  Closer.setSingleShot(true);
  QObject::connect(&Closer, &QTimer::timeout, Forms->Form5, &QWidget::close);
  Closer.start(3000);
  Click(Forms->Form1->Button1, QEvent::MouseButtonPress);
  Click(Forms->Form1->Button1, QEvent::MouseButtonRelease);
  ASSERT_EQ(Prompts.Errors.size(), 1u);
  EXPECT_TRUE(Prompts.Errors[0].Text.startsWith(
      "Unexpected number of pins, symbol handle = 77 (ViewRawD, line "));
  EXPECT_FALSE(Forms->Form5->isVisible());
}

// Terminals of two pins each, every pin on a point of its own: APoints points in all
// (rounded up to even).
TSimDrawing Terminals(int32_t APoints) {
  TSimDrawing Drawing;
  TSimPage& Page = Drawing.Pages.emplace_back();
  for (int32_t I = 0; 2 * I < APoints; ++I) {
    const int32_t X = (I % 200) * 5000, Y = (I / 200) * 5000;
    Page.Symbols.push_back({.SymbolType = TSimType::Terminal,
                            .Name = "-X" + std::to_string(I),
                            .Pins = {{"1", {X, Y, 0}}, {"2", {X + 2500, Y, 0}}}});
  }
  return Drawing;
}

QString FirstLine(const QPlainTextEdit* AMemo) {
  const QString Text = AMemo->toPlainText();
  return Text.left(Text.indexOf('\n'));
}

// The raw data window's limits and hostile names, with drawings of their own.
using ViewRawDRobustness = ViewRawD;

TEST_F(ViewRawDRobustness, ADrawingAtThePointTablesLimit) {
  constexpr int32_t Limit = TPointTable::FillLimit - 1;  // 38462 points fit
  ASSERT_EQ(Limit % 2, 0);
  {
    TSimHostFactory AtLimit(Terminals(Limit));
    Form.FormShow();
  }
  EXPECT_TRUE(Prompts.Errors.empty());
  EXPECT_EQ(FirstLine(Form.Memo1), QString("total (electric) symbols = %1").arg(Limit / 2));
  EXPECT_TRUE(FirstLine(Form.Memo3).startsWith(QString("point table entries = %1, ").arg(Limit)));
  EXPECT_TRUE(Form.Memo3->toPlainText().contains(QString("nets found = %1\n").arg(Limit)));
  // The last net is that of the first point: the first terminal's first pin.
  EXPECT_TRUE(Form.Memo3->toPlainText().endsWith("-X0:1   st_Terminal handle=1 pin_index=0"));

  const QString Nets = Form.Memo3->toPlainText();
  TSimDrawing Beyond = Terminals(Limit);
  Beyond.Pages[0].Symbols.push_back(
      {.SymbolType = TSimType::Terminal, .Name = "-Y", .Pins = {{"1", {-5000, -5000, 0}}}});
  TSimHostFactory BeyondLimit(Beyond);
  EXPECT_THAT([&] { Form.FormShow(); },
              testing::ThrowsMessage<EAssertionFailed>(
                  testing::StartsWith("Hash table full (ViewRawD, line ")));
  EXPECT_EQ(Form.Memo3->toPlainText(), Nets);
}

// A 64 KB name and names that are no UTF-8, for symbols, pins and signals.
TEST_F(ViewRawDRobustness, HostileNamesAreShown) {
  const std::string Long(65536, 'K');
  TSimDrawing Drawing;
  TSimPage& Page = Drawing.Pages.emplace_back();
  Page.Symbols = {
      {.SymbolType = TSimType::Relay, .Name = "-" + Long, .Pins = {{"\xFF", {0, 0, 0}}}},
      {.SymbolType = TSimType::Terminal, .Name = "-X\xC3", .Pins = {{"\xED\xA0\x80", {0, 0, 0}}}},
      {.SymbolType = TSimType::Signal, .Name = "\x80", .SignalName = "L\xE2\x82", .Pins = {{}}},
      {.SymbolType = TSimType::Signal, .Name = "<b>S</b>", .Pins = {{"", {0, 5000, 0}}}}};
  TSimHostFactory Named(Drawing);
  Form.FormShow();
  EXPECT_TRUE(Prompts.Errors.empty());
  const QString Symbols = Form.Memo1->toPlainText();
  EXPECT_TRUE(Symbols.contains(QString::fromStdString("st_Relay   -" + Long + "\n")));
  EXPECT_TRUE(Symbols.contains("<b>S</b>:unknown_variant"));
  EXPECT_TRUE(Symbols.contains(QString::fromStdString("L\xE2\x82")));
  EXPECT_TRUE(Form.Memo3->toPlainText().contains(
      QString::fromStdString("-" + Long + ":\xFF   st_Relay handle=")));
}

}  // namespace
}  // namespace wiremap
