#include "host/ReadPCS.h"

#include <algorithm>

#include <QApplication>
#include <QComboBox>
#include <QHideEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>

#include "host/NetRead.h"
#include "model/Exception.h"
#include "ui/WindowStyle.h"

namespace wiremap {
namespace {

constexpr int kClientWidth = InsideWidth(328);
constexpr int kClientHeight = InsideHeight(160);
constexpr int kTimerInterval = 50;
constexpr int kTicksPerAttempt = 20;

const char* const kConnecting = "Trying to connect to PC|Schematic Automation...";
const char* const kRetrieving = "Retrieving data from PC|Schematic Automation...";

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
  setFont(DesignFont(font()));
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
  wiremap::ShowHostError(this, AError);
}

}  // namespace wiremap
