#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include <QString>

#include "model/PinDescr.h"

class QTreeWidgetItem;

namespace wiremap {

class TImageList;
class TKeyValues;
class TWiremaps;

// The sort orders of the pin list, as the items of the main window's "Sort by:" group.
enum TSortOrder : int {
  soPinName,
  soPage,
  soFunction,
  soFunctionLocation,
  soLocation,
  soLocationPage,
  soCustom,
  SortOrderCount
};

// What a sort order builds: a flat list, groups of one aspect, or no tree at all.
struct TSortOrderInfo {
  enum TShape { Flat, Grouped, NoTree };
  const char* Caption;
  TShape Shape;
  TAspectKind Aspect;       // grouped orders: the aspect of the groups
  const char* GroupPrefix;  // grouped orders: the group caption before the value
  int GroupImage;           // grouped orders: the group node's image
  bool PinShowsPage;        // whether pin lines name their page
};

extern const std::array<TSortOrderInfo, SortOrderCount> SortOrders;

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
  void FillGrouped(QTreeWidgetItem* ARoot, const TSortOrderInfo& AOrder,
                   const TKeyValues& AKeyValues);

  const TWiremaps& FGraph;
  const TImageList& FImages;
};

}  // namespace wiremap
