#pragma once

#include <cstdint>
#include <exception>
#include <memory>

#include <QDialog>

#include "host/Dpscad_TLB.h"
#include "model/ConnectionRec.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QShowEvent;
class QHideEvent;
class QTimer;

namespace wiremap {

// Retrieval progress window: shown modally, it connects to the CAD application on its
// first timer tick (once per run: the application object is kept and reused), reads
// the open project's connections into Connections while the progress bar moves, and
// lets the user stop with Abort. Host errors are shown in an error box.
class TForm4 : public QDialog {
  Q_OBJECT
 public:
  // The dialog results: Connections holds a complete retrieval (ok), or nothing usable.
  static constexpr int mrOk = QDialog::Accepted;
  static constexpr int mrAbort = 3;

  explicit TForm4(QWidget* AParent = nullptr);
  ~TForm4() override;

  // Shows the window modally until the retrieval ends; mrOk (QDialog::Accepted) when
  // Connections holds the project, mrAbort when the user stopped or an error was shown.
  virtual int ShowModal();

  void FormShow();
  void Timer1Timer();
  void BitBtn1Click();
  // The progress callback of the retrieval: moves the bar, lets the window handle the
  // user's input, and asks to go on unless Abort was pressed.
  bool ProgressStep(int32_t APosition, int32_t ATotal);
  void Connect();
  void SetStatus(const QString& AText);
  void SetProgress(int32_t APosition, int32_t AMaximum);

  // The dialog result so far (0 while none); setting one closes the window, once the
  // work in hand is finished.
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int AResult);

  // The kept host application object (null until connected).
  const std::shared_ptr<IPCsApplication>& HostApplication() const { return FApplication; }

  QLabel* Label1 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QTimer* Timer1 = nullptr;

  TConnectionRecs Connections;

 public slots:
  // Escape and the window manager's close stop the retrieval like Abort.
  void reject() override;

 protected:
  void showEvent(QShowEvent* AEvent) override;
  void hideEvent(QHideEvent* AEvent) override;

 private:
  void CreateControls();
  void Retrieve();
  void ShowHostError(const std::exception& AError);
  void CloseIfDone();

  std::shared_ptr<IPCsApplication> FApplication;
  int32_t FTickCount = 0;
  int FModalResult = 0;
  int FBusy = 0;  // handlers running that must finish before the window closes
};

}  // namespace wiremap
