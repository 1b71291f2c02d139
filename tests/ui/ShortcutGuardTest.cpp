#include "ui/ShortcutGuard.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

namespace wiremap {
namespace {

// A window with a Ctrl+C command and an editable text view holding selected text: that
// kind of view claims Ctrl+C for itself in every Qt version.
TEST(ShortcutGuard, LeavesTheKeyToAnEnabledCommand) {
  QMainWindow Window;
  auto* Memo = new QPlainTextEdit("memo text", &Window);
  Memo->selectAll();
  Window.setCentralWidget(Memo);
  QAction* Copy = Window.menuBar()->addMenu("&Edit")->addAction("&Copy");
  Copy->setShortcut(QKeySequence("Ctrl+C"));
  int Triggered = 0;
  QObject::connect(Copy, &QAction::triggered, [&] { ++Triggered; });
  Window.show();
  Window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
  Memo->setFocus();
  QClipboard* Clipboard = QGuiApplication::clipboard();
  const auto Press = [&] {
    Clipboard->setText("before");
    QTest::keyClick(Memo, Qt::Key_C, Qt::ControlModifier);
  };

  Press();  // unguarded: the view copies its own text
  EXPECT_EQ(Triggered, 0);
  EXPECT_EQ(Clipboard->text(), "memo text");
  (new TShortcutGuard(Copy))->Guard(Memo);
  Press();
  EXPECT_EQ(Triggered, 1);
  EXPECT_EQ(Clipboard->text(), "before");
  Copy->setEnabled(false);  // a disabled command gives the key back
  Press();
  EXPECT_EQ(Triggered, 1);
  EXPECT_EQ(Clipboard->text(), "memo text");
}

}  // namespace
}  // namespace wiremap
