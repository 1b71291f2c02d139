#pragma once

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;

namespace wiremap {

// Lists what the file reader said about the project file of the last load (conductors it
// skipped, rows it could not use), one line each, beside the main window.
class TLoadWarningsForm : public QDialog {
  Q_OBJECT
 public:
  explicit TLoadWarningsForm(QWidget* AParent = nullptr);

  void ShowWarnings(const QString& AFileName, const QStringList& AWarnings);

  QPlainTextEdit* Memo1 = nullptr;
};

}  // namespace wiremap
