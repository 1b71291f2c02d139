#pragma once

#include <string>

#include "model/TreeText.h"
#include "ui/TreeModel.h"

namespace wiremap {

class TProject;

// The netlist tree as a lazy model: the project root, one row per net in the name order
// of the nets' first pins, and below each net its pins in ring order. Rows come from the
// net graph when the view asks; only the net table (a few integers per pin) is kept.
class TNetlistModel : public TTreeModel {
  Q_OBJECT
 public:
  using TTreeModel::TTreeModel;

  // Shows AProject (nullptr: no tree at all); a reset for the views.
  void SetProject(TProject* AProject);

  QModelIndex index(int ARow, int AColumn,
                    const QModelIndex& AParent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& AIndex) const override;
  int rowCount(const QModelIndex& AParent = QModelIndex()) const override;
  TPinDescr* Pin(const QModelIndex& AIndex) const override;

  const TNetlistRows& Rows() const { return FRows; }
  QModelIndex Root() const;
  QModelIndex NetIndex(int32_t ANet) const;
  // The node of pin ANumber, or an invalid index for a pin in no net.
  QModelIndex PinIndex(int32_t ANumber) const;
  // Whether AIndex is a net node.
  bool IsNet(const QModelIndex& AIndex) const;

 protected:
  QString Text(const QModelIndex& AIndex) const override;
  int Image(const QModelIndex& AIndex) const override;

 private:
  enum TKind { kRoot, kNet, kPin };

  TProject* FProject = nullptr;
  TNetlistRows FRows;
};

}  // namespace wiremap
