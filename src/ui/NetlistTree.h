#pragma once

#include <cstdint>
#include <memory>

#include <QString>

class QTreeWidgetItem;

namespace wiremap {

class TImageList;
class TTreeNode;
class TWiremaps;

// Builds the nodes of the netlist tree, detached from any view: the project root, one
// node per net in the name order of the nets' first pins, and below each net its pins
// in name order. A net is "linear" when none of its pins has more than two links.
class TNetlistTree {
 public:
  TNetlistTree(const TWiremaps& AGraph, const TImageList& AImages);

  std::unique_ptr<QTreeWidgetItem> Build(const QString& AProjectName);

 private:
  const TWiremaps& FGraph;
  const TImageList& FImages;
};

}  // namespace wiremap
