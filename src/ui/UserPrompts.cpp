#include "ui/UserPrompts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QUrl>

namespace wiremap {

namespace {

TUserPrompts* GInstalled = nullptr;

}  // namespace

void TUserPrompts::Beep() {
  QApplication::beep();
}

void TUserPrompts::ShowError(QWidget* AOwner, const QString& ATitle, const QString& AText) {
  QMessageBox::critical(AOwner, ATitle, AText, QMessageBox::Ok);
}

std::optional<QString> TUserPrompts::AskSaveFileName(QWidget* AOwner, const QString& AProposed) {
  const QString FileName = QFileDialog::getSaveFileName(AOwner, QString(), AProposed);
  if (FileName.isEmpty()) return std::nullopt;
  return FileName;
}

std::optional<QString> TUserPrompts::AskText(QWidget* AOwner, const QString& ATitle,
                                             const QString& APrompt, const QString& AValue,
                                             int AMaxLength) {
  // QInputDialog::getText offers no length limit, so the dialog is built here.
  QInputDialog Dialog(AOwner);
  Dialog.setInputMode(QInputDialog::TextInput);
  Dialog.setWindowTitle(ATitle);
  Dialog.setLabelText(APrompt);
  Dialog.setTextValue(AValue);
  if (AMaxLength > 0) {
    if (QLineEdit* Edit = Dialog.findChild<QLineEdit*>()) Edit->setMaxLength(AMaxLength);
  }
  if (Dialog.exec() != QDialog::Accepted) return std::nullopt;
  return Dialog.textValue();
}

void TUserPrompts::OpenInShell(QWidget*, const QString& ATarget) {
  // A missing mail program or browser is not reported.
  QDesktopServices::openUrl(QUrl(ATarget, QUrl::TolerantMode));
}

TUserPrompts& UserPrompts() {
  static TUserPrompts QtPrompts;
  return GInstalled ? *GInstalled : QtPrompts;
}

void SetUserPrompts(TUserPrompts* APrompts) {
  GInstalled = APrompts;
}

}  // namespace wiremap
