#pragma once

#include <vector>

#include <QDialog>
#include <QString>

#include "rawdata/DrawingCheck.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace wiremap {

// The drawing check window: reads the drawing and its connection list from the host,
// checks the drawing's geometry and holds the list against it, and shows the findings
// grouped by kind. Not modal; OK or closing hides it. A double-click on a finding asks
// for its first pin to be selected in the main window.
class TDrawingCheckForm : public QDialog {
  Q_OBJECT
 public:
  explicit TDrawingCheckForm(QWidget* AParent = nullptr);

  // Reads from the host, checks and brings the window to the front with the findings.
  // A host error is shown in the host error box and leaves the window closed: false.
  bool RunCheck();

  // Shows AFindings in the tree; ASummary goes above it.
  void ShowFindings(std::vector<TFinding> AFindings, const QString& ASummary = QString());
  const std::vector<TFinding>& Findings() const { return FFindings; }

  void TreeView1DblClick(QTreeWidgetItem* ANode);
  void Button1Click();
  void BitBtn1Click();

  QLabel* Label1 = nullptr;
  QTreeWidget* TreeView1 = nullptr;
  QPushButton* Button1 = nullptr;  // Save...
  QPushButton* BitBtn1 = nullptr;  // OK

 signals:
  // A finding was double-clicked: the name of its first pin.
  void pinRequested(const QString& APin);

 private:
  void CreateControls();
  void BuildTree();

  std::vector<TFinding> FFindings;
  QString FFileName;  // proposed by the next save
};

}  // namespace wiremap
