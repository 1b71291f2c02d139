#pragma once

#include <cstdint>

#include <QAbstractItemModel>
#include <QIcon>

namespace wiremap {

class TImageList;
class TPinDescr;

// Item data roles under which a tree node reports what it carries and its images.
enum TNodeRole : int {
  NodePinRole = Qt::UserRole,               // TPinDescr* as void*, null for nodes without a pin
  NodeImageRole = Qt::UserRole + 1,         // image index in the tree image list
  NodeSelectedImageRole = Qt::UserRole + 2  // image index while the node is selected
};

// The inverse of the odd number AFactor modulo the word size (Newton's iteration).
constexpr quintptr OddInverse(quintptr AFactor) {
  quintptr Result = AFactor;
  for (int I = 0; I < 6; ++I) Result *= 2 - AFactor * Result;
  return Result;
}

constexpr quintptr NodeIdSpread = 0x9E3779B97F4A7C15u;

// What the main window's two lazy trees share: one column, read-only rows, images with
// their selected counterparts, and nodes that are made when the view asks for them. A
// node's internal id holds its kind (two top bits) and where it sits, so that no object
// stands behind a row.
class TTreeModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  explicit TTreeModel(const TImageList& AImages, QObject* AParent = nullptr);

  int columnCount(const QModelIndex& AParent = QModelIndex()) const override;
  Qt::ItemFlags flags(const QModelIndex& AIndex) const override;
  QVariant data(const QModelIndex& AIndex, int ARole = Qt::DisplayRole) const override;
  bool hasChildren(const QModelIndex& AParent = QModelIndex()) const override;

  // The pin the node carries (owned by the net graph), or nullptr.
  virtual TPinDescr* Pin(const QModelIndex& AIndex) const = 0;

 protected:
  static constexpr int KindShift = 62;
  static constexpr quintptr PlaceMask = (quintptr(1) << KindShift) - 1;

  // Views keep expanded nodes in hashes of their indexes, whose hash adds the id to the row:
  // ids that follow the rows would put the nodes of a large tree into a few long runs of
  // buckets. The place is therefore spread by an odd factor (undone by its inverse).
  static constexpr quintptr Spread = NodeIdSpread;
  static constexpr quintptr Unspread = OddInverse(NodeIdSpread);
  static_assert(Spread * Unspread == 1);

  static quintptr Id(int AKind, quintptr APlace) {
    return (static_cast<quintptr>(AKind) << KindShift) | ((APlace * Spread) & PlaceMask);
  }
  static int KindOf(const QModelIndex& AIndex) {
    return static_cast<int>(AIndex.internalId() >> KindShift);
  }
  static quintptr PlaceOf(const QModelIndex& AIndex) {
    return (AIndex.internalId() * Unspread) & PlaceMask;
  }
  static int32_t Low(quintptr APlace) { return static_cast<int32_t>(APlace & 0xFFFFFFFFu); }
  static int32_t High(quintptr APlace) { return static_cast<int32_t>(APlace >> 32); }

  QModelIndex Node(int ARow, int AKind, quintptr APlace) const {
    return createIndex(ARow, 0, Id(AKind, APlace));
  }

  virtual QString Text(const QModelIndex& AIndex) const = 0;
  virtual int Image(const QModelIndex& AIndex) const = 0;

 private:
  const TImageList& FImages;
};

}  // namespace wiremap
