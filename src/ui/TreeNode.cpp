#include "ui/TreeNode.h"

#include <QTreeWidget>

#include "ui/ImageList.h"

namespace wiremap {

TTreeNode::TTreeNode(const QString& AText, int AImage, const TImageList& AImages,
                     const TPinDescr* APin)
    : QTreeWidgetItem(QStringList{AText}, NodeType),
      FIcon(AImages.NodeIcon(AImage)),
      FPin(APin),
      FImage(AImage),
      FSelectedImage(TImageList::SelectedImage(AImage)) {}

QVariant TTreeNode::data(int AColumn, int ARole) const {
  if (AColumn == 0) {
    switch (ARole) {
      case Qt::DecorationRole:
        return FIcon;
      case NodePinRole:
        return QVariant::fromValue(static_cast<void*>(const_cast<TPinDescr*>(FPin)));
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

// Nodes only point at pins; whoever owns the graph may change them through the node.
TPinDescr* NodePin(const QTreeWidgetItem* ANode) {
  if (!ANode) return nullptr;
  // Pin searches ask every node of a large tree; a tree node answers without a QVariant.
  if (ANode->type() == TTreeNode::NodeType)
    return const_cast<TPinDescr*>(static_cast<const TTreeNode*>(ANode)->Pin());
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
