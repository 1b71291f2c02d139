#pragma once

#include <cstdint>
#include <memory>

#include <QString>

class QTreeWidgetItem;

namespace wiremap {

class TKeyValues;
class TTreeIcons;
class TWiremaps;

// Builds the nodes of the pin list tree, detached from any view: every pin with its
// links, either flat in name order or grouped by page, function or location.
class TPinListTree {
 public:
  // The sort orders, as the items of the main window's "Sort by:" group.
  enum TOrder : int {
    soPinName = 0,
    soPage = 1,
    soFunction = 2,
    soFunctionLocation = 3,
    soLocation = 4,
    soLocationPage = 5,
    soCustom = 6
  };

  TPinListTree(TWiremaps& AGraph, const TTreeIcons& AIcons);

  std::unique_ptr<QTreeWidgetItem> MakeRoot(const QString& AProjectName) const;

  // Adds the pins below ARoot in order AOrder; false for an order that has no tree.
  bool Fill(QTreeWidgetItem* ARoot, int AOrder, const TKeyValues& AKeyValues);

  // Adds the pin at name position APosition with its links as the last child of AParent.
  QTreeWidgetItem* AddPinNode(QTreeWidgetItem* AParent, bool AWithPage, int32_t APosition);

 private:
  void FillGrouped(QTreeWidgetItem* ARoot, int AOrder, const TKeyValues& AKeyValues);

  TWiremaps& FGraph;
  const TTreeIcons& FIcons;
};

}  // namespace wiremap
