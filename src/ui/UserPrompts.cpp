#include "ui/UserPrompts.h"

#include <QApplication>
#include <QClipboard>
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

// The message often quotes a name or a mask ("'<b>*' is an invalid mask at (4)"): shown as
// written, never as markup.
void TUserPrompts::ShowError(QWidget* AOwner, const QString& ATitle, const QString& AText) {
  QMessageBox Box(QMessageBox::Critical, ATitle, AText, QMessageBox::Ok, AOwner);
  Box.setTextFormat(Qt::PlainText);
  Box.exec();
}

// Text files only; a name typed without an extension gets ".txt"; replacing a file is
// confirmed first. The dialog keeps the platform's own title for saving.
std::optional<QString> TUserPrompts::AskSaveFileName(QWidget* AOwner, const QString& AProposed) {
  return AskSaveFileNameFor(AOwner, AProposed, "Text files (*.txt)", "txt");
}

std::optional<QString> TUserPrompts::AskSaveFileNameFor(QWidget* AOwner, const QString& AProposed,
                                                        const QString& AFilter,
                                                        const QString& ASuffix) {
  QFileDialog Dialog(AOwner);
  Dialog.setAcceptMode(QFileDialog::AcceptSave);
  Dialog.setFileMode(QFileDialog::AnyFile);
  Dialog.setNameFilter(AFilter);
  Dialog.setDefaultSuffix(ASuffix);
  Dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  Dialog.setSizeGripEnabled(true);
  if (!AProposed.isEmpty()) Dialog.selectFile(AProposed);
  if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) return std::nullopt;
  return Dialog.selectedFiles().constFirst();
}

std::optional<QString> TUserPrompts::AskOpenFileName(QWidget* AOwner, const QString& AFilter) {
  QFileDialog Dialog(AOwner);
  Dialog.setAcceptMode(QFileDialog::AcceptOpen);
  Dialog.setFileMode(QFileDialog::ExistingFile);
  Dialog.setNameFilter(AFilter);
  Dialog.setSizeGripEnabled(true);
  if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) return std::nullopt;
  return Dialog.selectedFiles().constFirst();
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

// Setting the clipboard reports no failure (another program may own it, or the session
// may refuse), so the text is read back to see whether it arrived.
bool TUserPrompts::SetClipboardText(const QString& AText) {
  QClipboard* Clipboard = QGuiApplication::clipboard();
  if (!Clipboard) return false;
  Clipboard->setText(AText, QClipboard::Clipboard);
  return Clipboard->text(QClipboard::Clipboard) == AText;
}

TUserPrompts& UserPrompts() {
  static TUserPrompts QtPrompts;
  return GInstalled ? *GInstalled : QtPrompts;
}

void SetUserPrompts(TUserPrompts* APrompts) {
  GInstalled = APrompts;
}

}  // namespace wiremap
