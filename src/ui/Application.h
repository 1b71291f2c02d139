#pragma once

#include <QApplication>
#include <QString>

namespace wiremap {

// The text of the standard error box for an error message: a full stop is appended when
// the last character sorts after "." (so "... line 12)" stays as it is).
QString ErrorBoxText(const QString& AMessage);

// The application object. Any exception that leaves an event handler ends up here and is
// shown in the standard error box; the program then goes on.
class TApplication : public QApplication {
  Q_OBJECT
 public:
  static constexpr const char* Title = "Wiremap";

  TApplication(int& AArgc, char** AArgv);

  bool notify(QObject* AReceiver, QEvent* AEvent) override;

  // Shows the exception now being handled (call from inside a catch block).
  void ShowCurrentException();

 private:
  bool FShowingError = false;
};

}  // namespace wiremap
