#include "ui/NodeDelegate.h"

#include "ui/TreeNode.h"

namespace wiremap {

QSize TNodeDelegate::sizeHint(const QStyleOptionViewItem& AOption,
                              const QModelIndex& AIndex) const {
  const QVariant TextWidth = AIndex.data(NodeTextWidthRole);
  if (!TextWidth.isValid()) return QStyledItemDelegate::sizeHint(AOption, AIndex);
  if (!FFrame.isValid()) {
    const QSize Full = QStyledItemDelegate::sizeHint(AOption, AIndex);
    FFrame = QSize(Full.width() - TextWidth.toInt(), Full.height());
  }
  return {FFrame.width() + TextWidth.toInt(), FFrame.height()};
}

}  // namespace wiremap
