#include "ui/ShortcutGuard.h"

#include <QAction>
#include <QKeyEvent>
#include <QWidget>

namespace wiremap {

TShortcutGuard::TShortcutGuard(QAction* AAction) : QObject(AAction), FAction(AAction) {}

void TShortcutGuard::Guard(QWidget* AWidget) {
  AWidget->installEventFilter(this);
}

// Before a key becomes a shortcut, the focused widget is asked whether it wants the key
// itself (ShortcutOverride). Swallowing that question unanswered lets the shortcut fire.
bool TShortcutGuard::eventFilter(QObject* AWatched, QEvent* AEvent) {
  if (AEvent->type() != QEvent::ShortcutOverride || !FAction->isEnabled())
    return QObject::eventFilter(AWatched, AEvent);
  auto* KeyEvent = static_cast<QKeyEvent*>(AEvent);
  const QKeySequence Pressed(KeyEvent->keyCombination());
  for (const QKeySequence& Shortcut : FAction->shortcuts()) {
    if (Shortcut == Pressed) {
      KeyEvent->ignore();
      return true;
    }
  }
  return QObject::eventFilter(AWatched, AEvent);
}

}  // namespace wiremap
