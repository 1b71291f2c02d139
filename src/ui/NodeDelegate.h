#pragma once

#include <QSize>
#include <QStyledItemDelegate>

namespace wiremap {

// Sizes the rows of the main window's trees without laying out every node's text each
// time the view sizes its column: a node measures its text once and keeps the width
// (see TTreeNode); the room for icon and margins and the row height are the same for
// every node and are taken once from the standard layout.
class TNodeDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QSize sizeHint(const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const override;

 private:
  mutable QSize FFrame;
};

}  // namespace wiremap
