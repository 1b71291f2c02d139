#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QDialog>
#include <QString>
#include <QStringList>

#include "model/Comparison.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace wiremap {

class TImageList;
class TProject;

// The comparison window: what changed from one revision of a project to another, nets and
// wires, as a summary line and a tree. It follows the loads of the main window when one of
// its sides is the loaded project, and asks the main window (through its signals) to show
// the nets and pins double-clicked. Not modal; OK or closing hides it.
class TForm6 : public QDialog {
  Q_OBJECT
 public:
  // Which side of the comparison is the project loaded in the main window.
  enum class TLoaded { None, Old, New };

  explicit TForm6(QWidget* AParent = nullptr);
  ~TForm6() override;

  // Shows AComparison and brings the window to the front.
  void ShowComparison(TComparison AComparison, TLoaded ALoaded = TLoaded::None);
  // The comparison shown; nullptr when there is none.
  const TComparison* Comparison() const { return FComparison ? &*FComparison : nullptr; }
  TLoaded Loaded() const { return FLoaded; }

  void TreeView1DblClick(QTreeWidgetItem* ANode);
  void Button1Click();  // Save...
  void Button2Click();  // Save as CSV...
  void Button3Click();  // Swap Sides
  void BitBtn1Click();

  QLabel* Label1 = nullptr;
  QTreeWidget* TreeView1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* BitBtn1 = nullptr;

 public slots:
  // The main window loaded AProject. A comparison against the loaded project is made again
  // with the same old side; one whose old side was the loaded project is cleared. Hidden,
  // the window only lets go of a comparison against the loaded project.
  void FollowLoad(const wiremap::TProject& AProject);

 signals:
  // A double-click on a net: its pins; on a pin or a wire: the pin.
  void netRequested(const QStringList& APins);
  void pinRequested(const QString& APin);

 private:
  void CreateControls();
  void Show();
  void Clear(const QString& AReason);
  void BuildTree();
  void UpdateButtons();
  void Save(QString& AFileName, const QString& AFilter, const QString& ASuffix,
            const std::string& AText);

  std::unique_ptr<TImageList> FImages;
  std::optional<TComparison> FComparison;
  TLoaded FLoaded = TLoaded::None;
  std::vector<TComparisonLine> FLines;  // the rows of TreeView1
  int32_t FGeneration = 0;              // of the rows; a row of an earlier one is stale
  QString FFileName, FCsvFileName;      // proposed by the next saves
};

}  // namespace wiremap
