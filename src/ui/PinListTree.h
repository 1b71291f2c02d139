#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include <QString>

#include "model/PinDescr.h"
#include "model/TreeText.h"

class QTreeWidgetItem;

namespace wiremap {

class TImageList;
class TKeyValues;
class TWiremaps;

// Builds the nodes of the pin list tree, detached from any view: every pin with its
// links, either flat in name order or grouped by page, function or location.
class TPinListTree {
 public:
  TPinListTree(const TWiremaps& AGraph, const TImageList& AImages);

  std::unique_ptr<QTreeWidgetItem> MakeRoot(const QString& AProjectName) const;

  // Adds the pins below ARoot in order AOrder; false for an order that has no tree.
  bool Fill(QTreeWidgetItem* ARoot, TSortOrder AOrder, const TKeyValues& AKeyValues);

  // Adds the pin at name position APosition with its links as the last child of AParent.
  QTreeWidgetItem* AddPinNode(QTreeWidgetItem* AParent, bool AWithPage, int32_t APosition);

 private:
  const TWiremaps& FGraph;
  const TImageList& FImages;
};

}  // namespace wiremap
