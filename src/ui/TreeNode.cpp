#include "ui/TreeNode.h"

#include <QTreeWidget>

namespace wiremap {

TTreeNode::TTreeNode(const QString& AText, int AImage, int ASelectedImage, const QIcon& AIcon,
                     TPinDescr* APin)
    : QTreeWidgetItem(QStringList{AText}, UserType),
      FIcon(AIcon),
      FPin(APin),
      FImage(AImage),
      FSelectedImage(ASelectedImage) {}

QVariant TTreeNode::data(int AColumn, int ARole) const {
  if (AColumn == 0) {
    switch (ARole) {
      case Qt::DecorationRole:
        return FIcon;
      case NodePinRole:
        return QVariant::fromValue(static_cast<void*>(FPin));
      case NodeImageRole:
        return FImage;
      case NodeSelectedImageRole:
        return FSelectedImage;
      case NodeTextWidthRole:
        return TextWidth();
      default:
        break;
    }
  }
  return QTreeWidgetItem::data(AColumn, ARole);
}

TPinDescr* NodePin(const QTreeWidgetItem* ANode) {
  if (!ANode) return nullptr;
  return static_cast<TPinDescr*>(ANode->data(0, NodePinRole).value<void*>());
}

int TTreeNode::TextWidth() const {
  if (FTextWidth < 0) {
    const QTreeWidget* Tree = treeWidget();
    if (!Tree) return 0;
    FTextWidth = Tree->fontMetrics().horizontalAdvance(text(0));
  }
  return FTextWidth;
}

}  // namespace wiremap
