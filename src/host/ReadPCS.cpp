#include "host/ReadPCS.h"

#include <algorithm>
#include <cstdlib>
#include <typeinfo>

#include <QApplication>
#include <QComboBox>
#include <QHideEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>

#if __has_include(<cxxabi.h>)
#include <cxxabi.h>
#endif

#include "host/NetRead.h"
#include "model/Exception.h"
#include "ui/Application.h"
#include "ui/UserPrompts.h"

namespace wiremap {
namespace {

// The designed window is 328 x 160 pixels with its frame (4 pixels each side, a
// 23-pixel caption); Qt sizes the inside.
constexpr int kClientWidth = 328 - 8;
constexpr int kClientHeight = 160 - 31;
constexpr int kTimerInterval = 50;
constexpr int kTicksPerAttempt = 20;

const char* const kConnecting = "Trying to connect to PC|Schematic Automation...";
const char* const kRetrieving = "Retrieving data from PC|Schematic Automation...";

QFont WindowFont(QFont AFont) {
  AFont.setFamilies(
      {"Tahoma", "Liberation Sans", "Arial", "DejaVu Sans Condensed", AFont.family()});
  AFont.setPixelSize(13);
  return AFont;
}

// The name of an error's kind: our own errors name themselves, others (out of memory,
// say) by their type.
QString ClassNameOf(const std::exception& AError) {
  if (const auto* Own = dynamic_cast<const Exception*>(&AError))
    return QString::fromStdString(Own->ClassName());
  const char* Name = typeid(AError).name();
#if __has_include(<cxxabi.h>)
  int Status = 0;
  char* Readable = abi::__cxa_demangle(Name, nullptr, nullptr, &Status);
  const QString Result = QString::fromUtf8(Status == 0 && Readable ? Readable : Name);
  std::free(Readable);
  return Result;
#else
  return QString::fromUtf8(Name);
#endif
}

// Keeps the window open while a handler runs, however it is left.
class TBusyScope {
 public:
  explicit TBusyScope(int& ABusy) : FBusy(ABusy) { ++FBusy; }
  ~TBusyScope() { --FBusy; }
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;

 private:
  int& FBusy;
};

}  // namespace

TForm4::TForm4(QWidget* AParent) : QDialog(AParent) {
  setWindowTitle(QStringLiteral("OLE Interface to PC|SCHEMATIC"));
  // A title bar without a close button.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFont(WindowFont(font()));
  setFixedSize(kClientWidth, kClientHeight);
  CreateControls();
}

TForm4::~TForm4() = default;

void TForm4::CreateControls() {
  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setTextFormat(Qt::PlainText);
  Label1->setForegroundRole(QPalette::WindowText);
  Label1->move(8, 16);

  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setGeometry(8, 40, 306, ComboBox1->sizeHint().height());

  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setGeometry(8, 80, 306, 11);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);

  BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                            QStringLiteral("Abort"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setAutoDefault(false);
  BitBtn1->setGeometry(232, 104, 75, 25);
  connect(BitBtn1, &QPushButton::clicked, this, &TForm4::BitBtn1Click);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(kTimerInterval);
  connect(Timer1, &QTimer::timeout, this, &TForm4::Timer1Timer);
}

int TForm4::ShowModal() {
  FModalResult = 0;
  return exec();
}

void TForm4::showEvent(QShowEvent* AEvent) {
  QDialog::showEvent(AEvent);
  if (!AEvent->spontaneous()) FormShow();
}

// A closed window must not go on ticking: a tick would connect behind the user's back.
void TForm4::hideEvent(QHideEvent* AEvent) {
  QDialog::hideEvent(AEvent);
  if (!AEvent->spontaneous()) Timer1->stop();
}

void TForm4::FormShow() {
  SetProgress(0, 1);
  FTickCount = 0;
  Timer1->start();
  ComboBox1->setEnabled(false);
}

void TForm4::Timer1Timer() {
  {
    const TBusyScope Busy(FBusy);
    if (FTickCount % kTicksPerAttempt == 0) {
      if (!FApplication && FModalResult != mrAbort) Connect();
      if (FApplication && FModalResult != mrAbort) {
        Timer1->stop();
        SetStatus(kRetrieving);
        Retrieve();
      }
    }
    ++FTickCount;
    SetProgress(FTickCount, kTicksPerAttempt);
  }
  CloseIfDone();
}

void TForm4::Retrieve() {
  try {
    RetrieveConnections(FApplication, Connections, [this](int32_t APosition, int32_t ATotal) {
      return ProgressStep(APosition, ATotal);
    });
    SetModalResult(mrOk);
  } catch (const EUserAborted&) {
    SetModalResult(mrAbort);
  } catch (const std::exception& E) {
    // The host may have gone away: the next retrieval connects anew.
    FApplication.reset();
    SetModalResult(mrAbort);
    ShowHostError(E);
  }
}

void TForm4::Connect() {
  if (FApplication) return;
  SetStatus(kConnecting);
  try {
    FApplication = CoApplication::Create();
  } catch (const std::exception& E) {
    Timer1->stop();
    FModalResult = mrAbort;
    ShowHostError(E);
    SetModalResult(mrAbort);
  }
}

void TForm4::BitBtn1Click() {
  SetModalResult(mrAbort);
}

void TForm4::reject() {
  SetModalResult(mrAbort);
}

bool TForm4::ProgressStep(int32_t APosition, int32_t ATotal) {
  SetProgress(APosition, ATotal);
  QCoreApplication::processEvents();
  return FModalResult != mrAbort;
}

void TForm4::SetStatus(const QString& AText) {
  Label1->setText(AText);
  Label1->adjustSize();
  if (Label1->isVisible()) Label1->repaint();
}

// A position outside the range would be ignored by the bar; it stands at the nearest end.
void TForm4::SetProgress(int32_t APosition, int32_t AMaximum) {
  ProgressBar1->setMinimum(0);
  ProgressBar1->setMaximum(std::max(AMaximum, 0));
  ProgressBar1->setValue(std::clamp(APosition, 0, ProgressBar1->maximum()));
}

void TForm4::SetModalResult(int AResult) {
  FModalResult = AResult;
  CloseIfDone();
}

void TForm4::CloseIfDone() {
  if (FModalResult != 0 && FBusy == 0) done(FModalResult);
}

void TForm4::ShowHostError(const std::exception& AError) {
  UserPrompts().ShowError(
      this, QString::fromUtf8(TApplication::Title),
      "Exception " + ClassNameOf(AError) + "\r\n" + QString::fromUtf8(AError.what()));
}

}  // namespace wiremap
