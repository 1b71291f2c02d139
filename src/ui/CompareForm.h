#pragma once

#include <memory>

#include <QDialog>
#include <QString>
#include <QStringList>

#include "model/NetlistCompare.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace wiremap {

class TImageList;

// The comparison window: what changed from an older revision of a project (a saved
// netlist or a built-in sample) to the loaded one, as a summary line and a tree of the
// changed nets, the nets and the pins found on one side only. Not modal; OK or closing
// hides it. A double-click on a net or a pin asks the main window to select it in its
// netlist tree.
class TForm6 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm6(QWidget* AParent = nullptr);
  ~TForm6() override;

  // Compares AOld with ANew, shows the result and brings the window to the front.
  void ShowComparison(TNetlist AOld, TNetlist ANew);

  const TNetlistDiff& Diff() const { return FDiff; }

  void TreeView1DblClick(QTreeWidgetItem* ANode);
  void Button1Click();
  void BitBtn1Click();

  QLabel* Label1 = nullptr;
  QTreeWidget* TreeView1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* BitBtn1 = nullptr;

 signals:
  // A double-click on a net (its pins) or on a pin, for the main window to select.
  void netRequested(const QStringList& APins);
  void pinRequested(const QString& APin);

 private:
  void CreateControls();
  void BuildTree();
  QTreeWidgetItem* NetNode(const QString& AText, int ANet, bool AOldSide);
  QTreeWidgetItem* GroupNode(const QString& AText, int ACount);
  const std::vector<std::string>* NetOf(const QTreeWidgetItem* ANode) const;

  std::unique_ptr<TImageList> FImages;
  TNetlist FOld, FNew;
  TNetlistDiff FDiff;
  QString FFileName;  // proposed by the next save
};

}  // namespace wiremap
