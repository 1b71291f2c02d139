#include <stdexcept>

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "TestPrompts.h"
#include "charts/ViewGrph.h"
#include "host/ReadPCS.h"
#include "model/Exception.h"
#include "rawdata/ViewRawD.h"
#include "ui/Application.h"
#include "ui/Forms.h"
#include "ui/HelpForm.h"
#include "ui/NetForm.h"
#include "ui/VersionInfo.h"

namespace wiremap {
namespace {

// Runs the event loop until AQuit fires or two seconds have passed.
void RunEventLoop(QEventLoop& ALoop) {
  QTimer::singleShot(2000, &ALoop, &QEventLoop::quit);
  ALoop.exec();
}

// Lets one queued handler throw AThrow, then runs a second handler that must still be
// reached: the application goes on after the error box.
template <typename TThrow>
bool ThrowFromQueuedHandler(TThrow AThrow) {
  QEventLoop Loop;
  bool Continued = false;
  QMetaObject::invokeMethod(&Loop, AThrow, Qt::QueuedConnection);
  QMetaObject::invokeMethod(
      &Loop,
      [&] {
        Continued = true;
        Loop.quit();
      },
      Qt::QueuedConnection);
  RunEventLoop(Loop);
  return Continued;
}

TEST(ErrorBoxText, AppendsAFullStopOnlyAfterCharactersSortingAfterIt) {
  EXPECT_EQ(ErrorBoxText("Cannot create file a.txt"), "Cannot create file a.txt.");
  EXPECT_EQ(ErrorBoxText("Assertion failure (Wiremap, line 12)"),
            "Assertion failure (Wiremap, line 12)");
  EXPECT_EQ(ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(ErrorBoxText(""), "");
  EXPECT_EQ(ErrorBoxText("Invalid mask [a-"), "Invalid mask [a-");  // '-' < '.'
  EXPECT_EQ(ErrorBoxText("Stop!"), "Stop!");
  EXPECT_EQ(ErrorBoxText("path a/"), "path a/.");  // '/' > '.'
  EXPECT_EQ(ErrorBoxText("line 7"), "line 7.");
  EXPECT_EQ(ErrorBoxText(QString::fromUtf8("Größe")), QString::fromUtf8("Größe."));
}

TEST(Application, HasTheTitleAndVersion) {
  EXPECT_EQ(QApplication::applicationName(), "Wiremap");
  EXPECT_EQ(QApplication::applicationDisplayName(), "Wiremap");
  EXPECT_EQ(VersionText(), WIREMAP_PROJECT_VERSION);
}

TEST(Application, ShowsEachKindOfExceptionOnceAndGoesOn) {
  TTestPrompts Prompts;
  EXPECT_TRUE(ThrowFromQueuedHandler([] { RaiseAssertion("Assertion failure", "Test", 3); }));
  EXPECT_TRUE(ThrowFromQueuedHandler([] { throw std::runtime_error("Disk full"); }));
  EXPECT_TRUE(ThrowFromQueuedHandler([] { throw 42; }));
  ASSERT_EQ(Prompts.Errors.size(), 3u);
  EXPECT_EQ(Prompts.Errors[0].Text, "Assertion failure (Test, line 3)");
  EXPECT_EQ(Prompts.Errors[1].Text, "Disk full.");
  EXPECT_EQ(Prompts.Errors[2].Text, "Unknown error.");
  for (const TTestPrompts::TError& Error : Prompts.Errors) EXPECT_EQ(Error.Title, "Wiremap");
}

TEST(Application, TimerKeepsRunningAfterItsHandlerThrew) {
  TTestPrompts Prompts;
  QEventLoop Loop;
  QTimer Timer;
  Timer.setInterval(1);
  int Ticks = 0;
  QObject::connect(&Timer, &QTimer::timeout, [&] {
    if (++Ticks == 3) Loop.quit();
    if (Ticks == 1) throw Exception("Cannot write file x");
  });
  Timer.start();
  RunEventLoop(Loop);
  EXPECT_EQ(Ticks, 3);
  ASSERT_EQ(Prompts.Errors.size(), 1u);
  EXPECT_EQ(Prompts.Errors[0].Text, "Cannot write file x.");
}

TEST(Application, ButtonWhoseHandlerThrewCanBeClickedAgain) {
  TTestPrompts Prompts;
  QPushButton Button("Go");
  Button.resize(80, 25);
  int Clicks = 0;
  QObject::connect(&Button, &QPushButton::clicked, [&] {
    ++Clicks;
    throw Exception("Pin not found");
  });
  const QPointF Centre(40, 12);
  for (int Round = 0; Round < 2; ++Round) {
    QMouseEvent Press(QEvent::MouseButtonPress, Centre, Centre, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent Release(QEvent::MouseButtonRelease, Centre, Centre, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&Button, &Press);
    QApplication::sendEvent(&Button, &Release);
  }
  EXPECT_EQ(Clicks, 2);
  EXPECT_EQ(Prompts.Errors.size(), 2u);
  EXPECT_FALSE(Button.isDown());
}

// An error box that lets the event loop run (as a real modal box does) meets a handler
// that fails again: the nested error is logged instead of stacking a second box, and
// once the box is closed errors are shown again.
class TNestingPrompts : public TTestPrompts {
 public:
  void ShowError(QWidget* AOwner, const QString& ATitle, const QString& AText) override {
    TTestPrompts::ShowError(AOwner, ATitle, AText);
    if (Errors.size() == 1) ThrowFromQueuedHandler([] { throw Exception("Again"); });
  }
};

TEST(Application, ErrorRaisedWhileItsBoxIsOpenDoesNotStackBoxes) {
  TNestingPrompts Prompts;
  ThrowFromQueuedHandler([] { throw Exception("First"); });
  ASSERT_EQ(Prompts.Errors.size(), 1u);
  ThrowFromQueuedHandler([] { throw Exception("Later"); });
  ASSERT_EQ(Prompts.Errors.size(), 2u);
  EXPECT_EQ(Prompts.Errors[1].Text, "Later.");
}

TEST(Startup, CreatesHiddenWindowsAndEndsWhenTheMainWindowCloses) {
  TTestPrompts Prompts;
  const std::unique_ptr<TForms> Forms = CreateForms();
  const std::vector<QWidget*> Windows{Forms->Form1, Forms->Form2, Forms->Form3, Forms->Form4,
                                      Forms->Form5};
  for (QWidget* Window : Windows) {
    ASSERT_NE(Window, nullptr);
    EXPECT_TRUE(Window->isWindow());
    EXPECT_FALSE(Window->isVisible());
  }

  // The help window stays open; closing the main window still ends the event loop.
  Forms->Form1->show();
  Forms->Form3->ShowHelp();
  QTimer::singleShot(0, Forms->Form1, &QWidget::close);
  QTimer Deadline;
  Deadline.setSingleShot(true);
  QObject::connect(&Deadline, &QTimer::timeout, [] { QApplication::exit(1); });
  Deadline.start(5000);
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_TRUE(Prompts.Errors.empty());
}

}  // namespace
}  // namespace wiremap
