#include "rawdata/ViewRawD.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include "SmallDrawing.h"
#include "TestPrompts.h"
#include "host/SimHostFactory.h"
#include "ui/Forms.h"
#include "ui/NetForm.h"

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

class ViewRawDTest : public ::testing::Test {
 protected:
  QStringList Texts() const {
    return {Form.Memo1->toPlainText(), Form.Memo2->toPlainText(), Form.Memo3->toPlainText()};
  }

  TTestPrompts Prompts;
  TSimHostFactory Hosts{SmallDrawing()};
  TForm5 Form;
};

TEST_F(ViewRawDTest, DesignedLayout) {
  EXPECT_EQ(Form.windowTitle(), "Raw Data");
  EXPECT_EQ(Form.size(), QSize(892, 532));  // 900 x 563 with the window frame
  Form.show();
  Form.resize(1200, 532);  // the nets memo takes what the window gains
  EXPECT_EQ(Form.Memo1->width(), 300);
  EXPECT_EQ(Form.Memo2->width(), 250);
  EXPECT_EQ(Form.Memo3->width(), 1200 - 300 - 250 - 2 * 7);
  Form.hide();
}

TEST_F(ViewRawDTest, EveryShowingRunsAnewOrLeavesTheTextsOnError) {
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

TEST_F(ViewRawDTest, DoubleClickSavesTheMemoUnderItsOwnName) {
  Form.FormShow();
  QTemporaryDir Dir;
  Prompts.AnswerSave(std::nullopt);
  Click(Form.Memo1->viewport(), QEvent::MouseButtonDblClick);
  Prompts.AnswerSave(Dir.filePath("nets.txt"));
  Click(Form.Memo3->viewport(), QEvent::MouseButtonDblClick);
  Form.Memo2DblClick();
  EXPECT_EQ(Prompts.SaveProposals, (QStringList{"Symbols.txt", "Netlist.txt", "Polylines.txt"}));
  QFile Saved(Dir.filePath("nets.txt"));
  ASSERT_TRUE(Saved.open(QIODevice::ReadOnly));
  QString Expected = Form.Memo3->toPlainText() + "\n";
  EXPECT_EQ(Saved.readAll(), Expected.replace("\n", "\r\n").toUtf8());
}

// "Get Raw Data" shows the window modally after the run; an error of the run reaches the
// standard error box instead, and no window is left open.
TEST(ViewRawDMainWindowTest, GetRawDataRunsThenShowsOrReportsTheError) {
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

}  // namespace
}  // namespace wiremap
