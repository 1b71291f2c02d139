#pragma once

#include <functional>
#include <string>

#include "model/TreeText.h"
#include "ui/TreeModel.h"

namespace wiremap {

class TProject;

using TPinTest = std::function<bool(const TPinDescr& APin)>;

// The pin list tree as a lazy model in one sort order: the project root; below it every
// pin with its links, flat in name order or grouped by page, function or location; an
// order without a tree shows the root alone. Rows come from the net graph when the view
// asks; only the order's table of pin positions is kept.
class TPinListModel : public TTreeModel {
  Q_OBJECT
 public:
  using TTreeModel::TTreeModel;

  // Shows AProject in order AOrder under a root named after AName; without a project the
  // root alone. A reset for the views.
  void SetProject(TProject* AProject, int AOrder, const std::string& AName);
  // No tree at all.
  void Clear();

  QModelIndex index(int ARow, int AColumn,
                    const QModelIndex& AParent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& AIndex) const override;
  int rowCount(const QModelIndex& AParent = QModelIndex()) const override;
  TPinDescr* Pin(const QModelIndex& AIndex) const override;

  // The pin search: visits the pin nodes (never the links) in the order of the list and
  // gives the first one after AAfter (invalid: from the start) whose pin passes ATest, or
  // an invalid index.
  QModelIndex NextPinNode(const QModelIndex& AAfter, const TPinTest& ATest) const;

 protected:
  QString Text(const QModelIndex& AIndex) const override;
  int Image(const QModelIndex& AIndex) const override;

 private:
  enum TKind { kRoot, kGroup, kPin, kLink };

  bool Grouped() const;
  QModelIndex PinNode(int32_t ARow) const;
  QModelIndex GroupNode(int32_t AGroup) const;
  int32_t GroupOfRow(int32_t ARow) const;
  // The first pin row the search visits after AAfter.
  int32_t FirstRowAfter(const QModelIndex& AAfter) const;

  TProject* FProject = nullptr;
  const TSortOrderInfo* FOrder = nullptr;
  std::string FName;
  bool FShown = false;
  TPinListRows FRows;
};

}  // namespace wiremap
