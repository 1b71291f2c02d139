#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTextEdit>

#include "TestPrompts.h"
#include "ui/HelpForm.h"

namespace wiremap {
namespace {

int VisibleHelpWindows() {
  int Count = 0;
  for (QWidget* Window : QApplication::topLevelWidgets())
    if (qobject_cast<TForm3*>(Window) && Window->isVisible()) ++Count;
  return Count;
}

// Distance of a control's right and bottom edges to those of the window's client area.
QPoint GapToBottomRight(const QWidget* AControl) {
  const QSize Client = AControl->parentWidget()->size();
  const QRect Frame = AControl->geometry();
  return {Client.width() - Frame.x() - Frame.width(), Client.height() - Frame.y() - Frame.height()};
}

TEST(HelpForm, StartsHiddenWithItsCaptionAndDesignedSize) {
  TForm3 Form;
  EXPECT_FALSE(Form.isVisible());
  EXPECT_EQ(Form.windowTitle(), "Help: Wiremap for PC|SCHEMATIC AUTOMATION ");
  EXPECT_EQ(Form.size(), QSize(481, 302));
  EXPECT_TRUE(Form.RichEdit1->isReadOnly());
  EXPECT_TRUE(Form.RichEdit1->toPlainText().contains("COMPARISON OF NETLISTS"));
}

TEST(HelpForm, ButtonsHandTheirLinksToTheShell) {
  TTestPrompts Prompts;
  TForm3 Form;
  Form.MailButton->click();
  Form.WWWButton->click();
  ASSERT_EQ(Prompts.ShellTargets.size(), 2);
  EXPECT_EQ(Prompts.ShellTargets[0],
            "mailto:info@example.net?subject=Wiremap%20for%20PC|Schematic");
  EXPECT_EQ(Prompts.ShellTargets[1], "http://www.example.net");
  EXPECT_EQ(Prompts.ShellOwners, (std::vector<QWidget*>{&Form, &Form}));
  EXPECT_FALSE(Form.isVisible());
}

TEST(HelpForm, ShowsOnceHidesOnOkAndSurvivesClosing) {
  TForm3 Form;
  Form.ShowHelp();
  Form.ShowHelp();
  EXPECT_EQ(VisibleHelpWindows(), 1);
  Form.BitBtn1->click();
  EXPECT_FALSE(Form.isVisible());
  Form.ShowHelp();
  EXPECT_TRUE(Form.close());
  EXPECT_FALSE(Form.isVisible());
  Form.ShowHelp();
  EXPECT_TRUE(Form.isVisible());
  EXPECT_EQ(VisibleHelpWindows(), 1);
}

TEST(HelpForm, ResizingKeepsTheButtonsAtTheirDistances) {
  TForm3 Form;
  Form.ShowHelp();
  const QPoint OkGap = GapToBottomRight(Form.BitBtn1);
  const QPoint MailGap = GapToBottomRight(Form.MailButton);
  const QRect Www = Form.WWWButton->geometry();
  EXPECT_EQ(OkGap, QPoint(14, 5));

  for (const QSize& Size : {QSize(700, 500), QSize(490, 180)}) {
    Form.resize(Size);
    ASSERT_EQ(Form.size(), Size);
    EXPECT_EQ(GapToBottomRight(Form.BitBtn1), OkGap);
    EXPECT_EQ(GapToBottomRight(Form.MailButton).y(), MailGap.y());
    EXPECT_EQ(Form.MailButton->x(), 8);
    EXPECT_EQ(Form.WWWButton->geometry(), Www.translated(0, Size.height() - 302));
    EXPECT_EQ(Form.RichEdit1->geometry(), QRect(0, 0, Size.width(), Size.height() - 41));
  }

  Form.resize(100, 50);
  EXPECT_GE(Form.width(), 481);
  EXPECT_GE(Form.height(), 120);
}

}  // namespace
}  // namespace wiremap
