#pragma once

#include <memory>

#include <QDialog>
#include <QPointer>
#include <QString>

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
// hides it. A double-click on a net or a pin selects it in the main window's netlist
// tree when it is there.
class TForm6 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm6(QWidget* AParent = nullptr);
  ~TForm6() override;

  // The netlist tree in which double-clicked nets and pins are selected (not owned).
  void SetNetlistTree(QTreeWidget* ATree);

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

 private:
  void CreateControls();
  void BuildTree();
  QTreeWidgetItem* NetNode(const QString& AText, int ANet, bool AOldSide);
  QTreeWidgetItem* GroupNode(const QString& AText, int ACount);
  const std::vector<std::string>* NetOf(const QTreeWidgetItem* ANode) const;

  std::unique_ptr<TImageList> FImages;
  TNetlist FOld, FNew;
  TNetlistDiff FDiff;
  QPointer<QTreeWidget> FNetlistTree;
  QString FFileName;  // proposed by the next save
};

// The net node of ATree (a netlist tree: root, nets, pins) whose pins are exactly APins
// (compared as CompareText does, in any order), or nullptr.
QTreeWidgetItem* FindNetInTree(const QTreeWidget& ATree, const std::vector<std::string>& APins);

// The pin node of ATree named AName (compared as CompareText does), or nullptr.
QTreeWidgetItem* FindPinInTree(const QTreeWidget& ATree, const std::string& AName);

}  // namespace wiremap
