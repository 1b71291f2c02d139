#include "ui/Application.h"

#include <exception>

#include <QFileInfo>
#include <QFontDatabase>

#include "model/Exception.h"
#include "ui/UserPrompts.h"
#include "ui/VersionInfo.h"

namespace wiremap {

namespace {

QString CurrentExceptionMessage() {
  try {
    throw;
  } catch (const Exception& E) {
    return QString::fromStdString(E.Message());
  } catch (const std::exception& E) {
    return QString::fromUtf8(E.what());
  } catch (...) {
    return QStringLiteral("Unknown error");
  }
}

// The windows are designed for Tahoma. Where the system lacks it, a metric-compatible
// copy shipped with Debian's font packages keeps the captions from being clipped.
void RegisterTahoma() {
  if (QFontDatabase::families().contains(QStringLiteral("Tahoma"))) return;
  for (const char* Path :
       {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
    if (QFileInfo::exists(QString::fromLatin1(Path)))
      QFontDatabase::addApplicationFont(QString::fromLatin1(Path));
}

}  // namespace

QString ErrorBoxText(const QString& AMessage) {
  if (!AMessage.isEmpty() && AMessage.back() > QLatin1Char('.')) return AMessage + u'.';
  return AMessage;
}

TApplication::TApplication(int& AArgc, char** AArgv) : QApplication(AArgc, AArgv) {
  setApplicationName(Title);
  setApplicationVersion(VersionText());
  RegisterTahoma();
}

bool TApplication::notify(QObject* AReceiver, QEvent* AEvent) {
  try {
    return QApplication::notify(AReceiver, AEvent);
  } catch (...) {
    ShowCurrentException();
    return false;
  }
}

void TApplication::ShowCurrentException() {
  const QString Text = ErrorBoxText(CurrentExceptionMessage());
  // An error raised again and again while its box is open (a failing paint, say) would
  // otherwise stack boxes without end; the later ones only go to the log.
  if (FShowingError) {
    qWarning("%s: %s", Title, qUtf8Printable(Text));
    return;
  }
  FShowingError = true;
  try {
    UserPrompts().ShowError(activeWindow(), Title, Text);
  } catch (...) {
    qWarning("%s: %s", Title, qUtf8Printable(Text));
  }
  FShowingError = false;
}

}  // namespace wiremap
