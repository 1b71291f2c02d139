#pragma once

#include <QObject>

class QAction;
class QWidget;

namespace wiremap {

// Keeps a window command's shortcut for the command while a text or item view has the
// focus. Such views claim some standard keys for themselves (a read-only text view copies
// its own selection on Ctrl+C); on a guarded view the key goes to the command instead.
class TShortcutGuard : public QObject {
  Q_OBJECT
 public:
  // AAction must outlive the guard; the guard belongs to AAction.
  explicit TShortcutGuard(QAction* AAction);

  // Guards AWidget from now on.
  void Guard(QWidget* AWidget);

 protected:
  bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

 private:
  QAction* FAction;
};

}  // namespace wiremap
