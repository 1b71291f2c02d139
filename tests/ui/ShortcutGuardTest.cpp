#include "ui/ShortcutGuard.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace wiremap {
namespace {

// A window with a Ctrl+C command, a text view holding selected text and a tree view. The
// text view is editable: that kind claims Ctrl+C in every Qt version (a read-only one
// does where it is selectable by keyboard).
class ShortcutGuardTest : public testing::Test {
 protected:
  ShortcutGuardTest() {
    auto* Client = new QWidget(&Window);
    auto* Layout = new QVBoxLayout(Client);
    Memo = new QPlainTextEdit("memo text", Client);
    Memo->selectAll();
    Tree = new QTreeWidget(Client);
    auto* Item = new QTreeWidgetItem(QStringList{"tree text"});
    Tree->addTopLevelItem(Item);
    Tree->setCurrentItem(Item);
    Layout->addWidget(Memo);
    Layout->addWidget(Tree);
    Window.setCentralWidget(Client);
    Copy = Window.menuBar()->addMenu("&Edit")->addAction("&Copy");
    Copy->setShortcut(QKeySequence("Ctrl+C"));
    QObject::connect(Copy, &QAction::triggered, [this] { ++Triggered; });
    Window.show();
    Window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&Window));
    QGuiApplication::clipboard()->setText("before");
  }

  // Ctrl+C pressed as the user would, with AWidget focused.
  void PressCtrlC(QWidget* AWidget) {
    AWidget->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(AWidget->hasFocus());
    QTest::keyClick(AWidget, Qt::Key_C, Qt::ControlModifier);
  }

  QMainWindow Window;
  QPlainTextEdit* Memo;
  QTreeWidget* Tree;
  QAction* Copy;
  int Triggered = 0;
};

TEST_F(ShortcutGuardTest, UnguardedTextViewKeepsCtrlCForItself) {
  // Why the guard exists: the text view copies its own selection instead.
  PressCtrlC(Memo);
  EXPECT_EQ(Triggered, 0);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "memo text");
}

TEST_F(ShortcutGuardTest, GuardedViewsLeaveCtrlCToTheCommand) {
  auto* Guard = new TShortcutGuard(Copy);
  Guard->Guard(Memo);
  Guard->Guard(Tree);
  PressCtrlC(Memo);
  PressCtrlC(Tree);
  EXPECT_EQ(Triggered, 2);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
}

TEST_F(ShortcutGuardTest, ADisabledCommandGivesTheKeyBack) {
  (new TShortcutGuard(Copy))->Guard(Memo);
  Copy->setEnabled(false);
  PressCtrlC(Memo);
  EXPECT_EQ(Triggered, 0);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "memo text");
}

}  // namespace
}  // namespace wiremap
