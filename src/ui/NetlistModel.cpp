#include "ui/NetlistModel.h"

#include "model/Project.h"
#include "ui/ImageList.h"

namespace wiremap {

void TNetlistModel::SetProject(TProject* AProject) {
  beginResetModel();
  FProject = AProject;
  FRows = AProject ? NetlistRows(AProject->Graph()) : TNetlistRows();
  endResetModel();
}

QModelIndex TNetlistModel::Root() const {
  return FProject ? Node(0, kRoot, 0) : QModelIndex();
}

QModelIndex TNetlistModel::NetIndex(int32_t ANet) const {
  return Node(ANet, kNet, static_cast<quintptr>(ANet));
}

QModelIndex TNetlistModel::PinIndex(int32_t ANumber) const {
  if (!FProject || ANumber < 0 || static_cast<size_t>(ANumber) >= FRows.RowOf.size()) return {};
  const int32_t Row = FRows.RowOf[static_cast<size_t>(ANumber)];
  if (Row < 0) return {};
  const int32_t Net = FRows.NetOfRow(Row);
  return Node(Row - FRows.Starts[static_cast<size_t>(Net)], kPin, static_cast<quintptr>(Row));
}

bool TNetlistModel::IsNet(const QModelIndex& AIndex) const {
  return AIndex.isValid() && AIndex.model() == this && KindOf(AIndex) == kNet;
}

QModelIndex TNetlistModel::index(int ARow, int AColumn, const QModelIndex& AParent) const {
  if (ARow < 0 || AColumn != 0 || ARow >= rowCount(AParent)) return {};
  if (!AParent.isValid()) return Root();
  if (KindOf(AParent) == kRoot) return NetIndex(ARow);
  const int32_t Net = static_cast<int32_t>(PlaceOf(AParent));
  return Node(ARow, kPin, static_cast<quintptr>(FRows.Starts[static_cast<size_t>(Net)] + ARow));
}

QModelIndex TNetlistModel::parent(const QModelIndex& AIndex) const {
  if (!AIndex.isValid()) return {};
  switch (KindOf(AIndex)) {
    case kNet:
      return Root();
    case kPin:
      return NetIndex(FRows.NetOfRow(static_cast<int32_t>(PlaceOf(AIndex))));
    default:
      return {};
  }
}

int TNetlistModel::rowCount(const QModelIndex& AParent) const {
  if (!FProject || AParent.column() > 0) return 0;
  if (!AParent.isValid()) return 1;
  switch (KindOf(AParent)) {
    case kRoot:
      return FRows.NetCount();
    case kNet:
      return FRows.PinCount(static_cast<int32_t>(PlaceOf(AParent)));
    default:
      return 0;
  }
}

TPinDescr* TNetlistModel::Pin(const QModelIndex& AIndex) const {
  if (!AIndex.isValid() || KindOf(AIndex) != kPin) return nullptr;
  return FProject->Graph().GetPin(FRows.Pins[PlaceOf(AIndex)]);
}

QString TNetlistModel::Text(const QModelIndex& AIndex) const {
  const TWiremaps& Graph = FProject->Graph();
  switch (KindOf(AIndex)) {
    case kRoot:
      return QString::fromStdString(NetlistRootText(FProject->Name()));
    case kNet:
      return QString::fromStdString(NetText(Graph, FRows, static_cast<int32_t>(PlaceOf(AIndex))));
    default:
      return QString::fromStdString(NetPinText(Graph, FRows.Pins[PlaceOf(AIndex)]));
  }
}

int TNetlistModel::Image(const QModelIndex& AIndex) const {
  switch (KindOf(AIndex)) {
    case kRoot:
      return TImageList::iiProject;
    case kNet:
      return TImageList::iiNet;
    default:
      return TImageList::iiPin;
  }
}

}  // namespace wiremap
