#pragma once

#include <QDialog>

class QPushButton;
class QResizeEvent;
class QTextEdit;

namespace wiremap {

// Help window: a fixed note about the program with a mail and a web button.
class TForm3 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm3(QWidget* AParent = nullptr);

  // Shows the window without being modal and brings it to the front.
  void ShowHelp();

  void BitBtn1Click();
  void MailButtonClick();
  void WWWButtonClick();

  QTextEdit* RichEdit1 = nullptr;
  QPushButton* MailButton = nullptr;
  QPushButton* WWWButton = nullptr;
  QPushButton* BitBtn1 = nullptr;

 protected:
  // Keeps the note filling the top and the buttons at their distances to the bottom
  // (OK also to the right).
  void resizeEvent(QResizeEvent* AEvent) override;

 private:
  void CreateControls();
};

// Asks the desktop shell to open ATarget (through the user-prompt seam).
void OpenInShell(QWidget* AWindow, const QString& ATarget);

}  // namespace wiremap
