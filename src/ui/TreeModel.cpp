#include "ui/TreeModel.h"

#include "ui/ImageList.h"

namespace wiremap {

TTreeModel::TTreeModel(const TImageList& AImages, QObject* AParent)
    : QAbstractItemModel(AParent), FImages(AImages) {}

int TTreeModel::columnCount(const QModelIndex&) const {
  return 1;
}

Qt::ItemFlags TTreeModel::flags(const QModelIndex& AIndex) const {
  return AIndex.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool TTreeModel::hasChildren(const QModelIndex& AParent) const {
  return rowCount(AParent) > 0;
}

QVariant TTreeModel::data(const QModelIndex& AIndex, int ARole) const {
  if (!AIndex.isValid() || AIndex.column() != 0) return {};
  switch (ARole) {
    case Qt::DisplayRole:
      return Text(AIndex);
    case Qt::DecorationRole:
      return FImages.NodeIcon(Image(AIndex));
    case NodePinRole:
      return QVariant::fromValue(static_cast<void*>(Pin(AIndex)));
    case NodeImageRole:
      return Image(AIndex);
    case NodeSelectedImageRole:
      return TImageList::SelectedImage(Image(AIndex));
    default:
      return {};
  }
}

}  // namespace wiremap
