#include "ui/LoadWarningsForm.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace wiremap {

TLoadWarningsForm::TLoadWarningsForm(QWidget* AParent) : QDialog(AParent) {
  setWindowTitle("Last Load Warnings");
  Memo1 = new QPlainTextEdit(this);
  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* Buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
  auto* Layout = new QVBoxLayout(this);
  Layout->addWidget(Memo1);
  Layout->addWidget(Buttons);
  resize(640, 360);
}

// Names from a file are shown as written, never as markup.
void TLoadWarningsForm::ShowWarnings(const QString& AFileName, const QStringList& AWarnings) {
  setWindowTitle("Last Load Warnings - " + AFileName);
  Memo1->setPlainText(AWarnings.isEmpty() ? QStringList{"No warnings."}.join('\n')
                                          : AWarnings.join('\n'));
  show();
  raise();
}

}  // namespace wiremap
