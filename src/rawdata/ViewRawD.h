#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QDialog>
#include <QHash>
#include <QStringList>

class QPlainTextEdit;
class QSplitter;

namespace wiremap {

// Raw data window: every time it is shown it reads the drawing from the host, computes
// the nets by geometry and lists symbols, lines and nets in three memos; a double click
// on a memo saves its lines exactly as they were made (the memo's own text would turn a
// no-break space into a blank and a line separator into a line break).
class TForm5 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm5(QWidget* AParent = nullptr);

  // Runs the show handler, then shows the window modally. An error of the run leaves
  // here before the window appears.
  virtual int ShowModal();

  void FormShow();
  void Memo1DblClick();
  void Memo2DblClick();
  void Memo3DblClick();

  QPlainTextEdit* Memo1 = nullptr;  // symbols
  QPlainTextEdit* Memo2 = nullptr;  // lines
  QPlainTextEdit* Memo3 = nullptr;  // nets
  QSplitter* Splitter1 = nullptr;   // between Memo1 and the other two
  QSplitter* Splitter2 = nullptr;   // between Memo2 and Memo3

  using TLines = std::vector<std::string>;
  // Clears AMemo, then shows the lines AMakeLines makes; they are what a save writes.
  void FillMemo(QPlainTextEdit* AMemo, const std::function<TLines()>& AMakeLines);

 protected:
  bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

 private:
  QPlainTextEdit* CreateMemo(const QString& AText);
  void SaveMemo(const QPlainTextEdit& AMemo, const QString& AProposedName);

  QHash<const QPlainTextEdit*, QStringList> FLines;
};

// The raw data run of AForm: retrieval, point table, nets, caption and memo texts.
void ShowRawData(TForm5* AForm);

}  // namespace wiremap
