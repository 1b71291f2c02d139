#include "rawdata/ViewRawD.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSplitter>
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

QByteArray Contents(const QString& AFileName) {
  QFile File(AFileName);
  return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray("<missing>");
}

void DoubleClick(QPlainTextEdit* AMemo) {
  const QPointF At(10, 10);
  QMouseEvent Event(QEvent::MouseButtonDblClick, At, AMemo->viewport()->mapToGlobal(At),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(AMemo->viewport(), &Event);
}

class ViewRawDTest : public ::testing::Test {
 protected:
  ViewRawDTest() : Hosts(SmallDrawing()) {}

  QStringList Texts() const {
    return {Form.Memo1->toPlainText(), Form.Memo2->toPlainText(), Form.Memo3->toPlainText()};
  }

  TTestPrompts Prompts;
  TSimHostFactory Hosts;
  TForm5 Form;
};

TEST_F(ViewRawDTest, DesignedLayout) {
  EXPECT_EQ(Form.windowTitle(), "Raw Data");
  EXPECT_EQ(Form.size(), QSize(892, 532));  // 900 x 563 with the window frame
  EXPECT_EQ(Texts(), (QStringList{"Memo1", "Memo2", "Memo3"}));
  for (QPlainTextEdit* Memo : {Form.Memo1, Form.Memo2, Form.Memo3}) {
    EXPECT_TRUE(Memo->isReadOnly());
    EXPECT_EQ(Memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(Memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(Memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  }
  Form.show();
  EXPECT_EQ(Form.Memo1->width(), 300);
  EXPECT_EQ(Form.Memo2->width(), 250);
  EXPECT_EQ(Form.Memo3->width(), 892 - 300 - 250 - 2 * 7);
  Form.resize(1200, 532);
  EXPECT_EQ(Form.Memo1->width(), 300);
  EXPECT_EQ(Form.Memo2->width(), 250);
  Form.hide();
}

TEST_F(ViewRawDTest, EveryShowingRunsAnewAndFillsTheMemos) {
  Form.FormShow();
  EXPECT_TRUE(Prompts.Errors.empty());
  EXPECT_TRUE(RunCaption.match(Form.windowTitle()).hasMatch()) << Form.windowTitle().toStdString();
  const QStringList Symbols = Form.Memo1->toPlainText().split('\n');
  EXPECT_EQ(Symbols.size(), 14);
  EXPECT_EQ(Symbols.front(), "total (electric) symbols = 5");
  EXPECT_EQ(Symbols.back(), "        x=0.0 y=5.0 z=0.0 1");
  EXPECT_TRUE(Form.Memo2->toPlainText().startsWith("total (electric) polylines = 3\n"));
  EXPECT_TRUE(
      Form.Memo3->toPlainText().endsWith("net #2\n        -K1:A2   st_Relay handle=1 pin_index=1"));

  Hosts.Faults.FailOperation = "IPCsPage.PageKind";  // the next run ends in a host error
  Hosts.Faults.FailCall = 1;
  const QStringList Before = Texts();
  EXPECT_THROW(Form.FormShow(), EOleException);
  EXPECT_EQ(Texts(), Before);

  Hosts.Faults = TSimFaults();
  TSimDrawing Empty;
  Empty.Pages.emplace_back();
  TSimHostFactory EmptyHosts(Empty);
  ShowRawData(&Form);
  EXPECT_EQ(Form.Memo1->toPlainText(), "total (electric) symbols = 0");
  EXPECT_EQ(Form.Memo2->toPlainText(), "total (electric) polylines = 0");
  EXPECT_EQ(Form.Memo3->toPlainText().split('\n').size(), 5);
}

TEST_F(ViewRawDTest, WithoutAHostTwoErrorBoxesAndTheOldTexts) {
  Form.FormShow();
  const QStringList Before = Texts();
  Form.setWindowTitle("Raw Data");
  Hosts.RefuseCreation = true;
  Form.FormShow();
  ASSERT_EQ(Prompts.Errors.size(), 2u);
  for (const auto& Error : Prompts.Errors) {
    EXPECT_EQ(Error.Owner, &Form);
    EXPECT_EQ(Error.Title, "Wiremap");
    EXPECT_TRUE(Error.Text.startsWith("Exception EOleSysError\r\n")) << Error.Text.toStdString();
  }
  EXPECT_EQ(Texts(), Before);
  EXPECT_TRUE(RunCaption.match(Form.windowTitle()).hasMatch());
}

TEST_F(ViewRawDTest, ANameConnectionThatFailsLeavesTheMemos) {
  int Connections = 0;
  SetHostFactory([&]() -> std::shared_ptr<IPCsApplication> {
    if (++Connections == 2) throw EOleSysError("gone");
    return std::make_shared<TSimulatedHost>(SmallDrawing());
  });
  Form.FormShow();
  ASSERT_EQ(Prompts.Errors.size(), 1u);
  EXPECT_EQ(Prompts.Errors[0].Text, "Exception EOleSysError\r\ngone");
  EXPECT_EQ(Texts(), (QStringList{"Memo1", "Memo2", "Memo3"}));
  SetHostFactory(nullptr);
}

TEST_F(ViewRawDTest, DoubleClickSavesTheMemoUnderItsOwnName) {
  Form.FormShow();
  QTemporaryDir Dir;
  const QString Saved = Dir.filePath("nets.txt");
  Prompts.AnswerSave(std::nullopt);
  DoubleClick(Form.Memo1);
  Prompts.AnswerSave(Saved);
  DoubleClick(Form.Memo3);
  Prompts.AnswerSave(std::nullopt);
  DoubleClick(Form.Memo2);
  EXPECT_EQ(Prompts.SaveProposals, (QStringList{"Symbols.txt", "Netlist.txt", "Polylines.txt"}));
  QString Text = Form.Memo3->toPlainText() + "\n";
  const QByteArray Expected = Text.replace("\n", "\r\n").toUtf8();
  EXPECT_EQ(Contents(Saved), Expected);
  EXPECT_TRUE(Contents(Saved).startsWith("point table entries = 9, collisions = "));

  Prompts.AnswerSave(Dir.filePath("no/such/dir/x.txt"));
  EXPECT_THROW(Form.Memo1DblClick(), Exception);
}

// "Get Raw Data" shows the window modally, the run done before it appears.
TEST(ViewRawDMainWindowTest, GetRawDataShowsTheDemoDrawingModally) {
  TTestPrompts Prompts;
  const std::unique_ptr<TForms> Forms = CreateForms();
  QString Symbols;
  bool Modal = false;
  QTimer::singleShot(0, [&] {
    Modal = QApplication::activeModalWidget() == Forms->Form5;
    Symbols = Forms->Form5->Memo1->toPlainText();
    Forms->Form5->close();
  });
  Forms->Form1->Button1->click();
  EXPECT_TRUE(Modal);
  EXPECT_TRUE(Symbols.startsWith("total (electric) symbols = ")) << Symbols.left(80).toStdString();
  EXPECT_GT(Symbols.count('\n'), 500);
  EXPECT_TRUE(Prompts.Errors.empty());
}

// "Get Raw Data" in the main window: an error of the run reaches the standard error box,
// and the raw data window is not left open.
TEST(ViewRawDMainWindowTest, AnErrorOfTheRunGoesToTheErrorBox) {
  TTestPrompts Prompts;
  TSimDrawing Drawing;
  Drawing.Pages.emplace_back().Symbols.push_back(
      {.Handle = 77, .SymbolType = TSimType::Signal, .Name = "=S", .Pins = {{"1", {}}, {"2", {}}}});
  TSimHostFactory Hosts(Drawing);
  const std::unique_ptr<TForms> Forms = CreateForms();
  // Should the window open after all, it is closed again instead of waiting for a user.
  QTimer::singleShot(3000, [] {
    if (QWidget* Modal = QApplication::activeModalWidget()) Modal->close();
  });
  QPushButton* Button = Forms->Form1->Button1;
  const QPointF At(5, 5);
  QMouseEvent Press(QEvent::MouseButtonPress, At, Button->mapToGlobal(At), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QMouseEvent Release(QEvent::MouseButtonRelease, At, Button->mapToGlobal(At), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(Button, &Press);
  QCoreApplication::sendEvent(Button, &Release);
  ASSERT_EQ(Prompts.Errors.size(), 1u);
  EXPECT_EQ(Prompts.Errors[0].Title, "Wiremap");
  EXPECT_TRUE(Prompts.Errors[0].Text.startsWith(
      "Unexpected number of pins, symbol handle = 77 (ViewRawD, line "))
      << Prompts.Errors[0].Text.toStdString();
  EXPECT_FALSE(Forms->Form5->isVisible());
  EXPECT_EQ(Forms->Form5->Memo1->toPlainText(), "Memo1");
}

}  // namespace
}  // namespace wiremap
