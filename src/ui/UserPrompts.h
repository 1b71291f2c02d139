#pragma once

#include <optional>

#include <QString>

class QWidget;

namespace wiremap {

// Every modal question and signal to the user goes through here, so that tests can
// answer for the user and count beeps instead of blocking on a dialog.
class TUserPrompts {
 public:
  virtual ~TUserPrompts() = default;
  virtual void Beep();
  virtual void ShowError(QWidget* AOwner, const QString& ATitle, const QString& AText);
  virtual std::optional<QString> AskSaveFileName(QWidget* AOwner, const QString& AProposed);
  // A file to write of another kind than text: offered through AFilter ("Connection lists
  // (*.csv)"); a name typed without an extension gets ASuffix ("csv").
  virtual std::optional<QString> AskSaveFileNameFor(QWidget* AOwner, const QString& AProposed,
                                                    const QString& AFilter, const QString& ASuffix);
  // An existing file to read, offered through AFilter ("Text files (*.txt)").
  virtual std::optional<QString> AskOpenFileName(QWidget* AOwner, const QString& AFilter);
  virtual std::optional<QString> AskText(QWidget* AOwner, const QString& ATitle,
                                         const QString& APrompt, const QString& AValue,
                                         int AMaxLength);
  virtual void OpenInShell(QWidget* AOwner, const QString& ATarget);
  // Puts AText on the clipboard as plain text; false when the clipboard did not take it.
  virtual bool SetClipboardText(const QString& AText);
};

// The prompts in use: the Qt dialogs unless a test installed others.
TUserPrompts& UserPrompts();

// Installs APrompts (not owned); nullptr returns to the Qt dialogs.
void SetUserPrompts(TUserPrompts* APrompts);

}  // namespace wiremap
