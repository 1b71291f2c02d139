#include "ui/PinListModel.h"

#include <algorithm>

#include "model/Project.h"
#include "ui/ImageList.h"

namespace wiremap {

namespace {

// The image of a group node of aspect AAspect.
int GroupImage(TAspectKind AAspect) {
  switch (AAspect) {
    case akPage:
      return TImageList::iiPageSheet;
    case akFunction:
      return TImageList::iiFunctionSheet;
    default:
      return TImageList::iiLocationSheet;
  }
}

constexpr quintptr LinkShift = 32;

}  // namespace

void TPinListModel::SetProject(TProject* AProject, int AOrder, const std::string& AName) {
  beginResetModel();
  FProject = AProject;
  FOrder = SortOrderInfo(AOrder);
  FName = AName;
  FShown = true;
  FRows = AProject ? PinListRows(AProject->Graph(), AProject->KeyValues(), AOrder)
                   : TPinListRows{{}, {0}};
  endResetModel();
}

void TPinListModel::Clear() {
  beginResetModel();
  FProject = nullptr;
  FShown = false;
  FRows = TPinListRows{{}, {0}};
  endResetModel();
}

bool TPinListModel::Grouped() const {
  return FProject && FOrder && FOrder->Shape == TSortOrderInfo::Grouped;
}

int32_t TPinListModel::GroupOfRow(int32_t ARow) const {
  return static_cast<int32_t>(std::upper_bound(FRows.Starts.begin(), FRows.Starts.end(), ARow) -
                              FRows.Starts.begin()) -
         1;
}

QModelIndex TPinListModel::GroupNode(int32_t AGroup) const {
  return Node(AGroup, kGroup, static_cast<quintptr>(AGroup));
}

QModelIndex TPinListModel::PinNode(int32_t ARow) const {
  const int32_t Group = Grouped() ? GroupOfRow(ARow) : 0;
  return Node(ARow - FRows.Starts[static_cast<size_t>(Group)], kPin, static_cast<quintptr>(ARow));
}

QModelIndex TPinListModel::index(int ARow, int AColumn, const QModelIndex& AParent) const {
  if (ARow < 0 || AColumn != 0 || ARow >= rowCount(AParent)) return {};
  if (!AParent.isValid()) return Node(0, kRoot, 0);
  switch (KindOf(AParent)) {
    case kRoot:
      return Grouped() ? GroupNode(ARow) : PinNode(ARow);
    case kGroup:
      return PinNode(FRows.Starts[PlaceOf(AParent)] + ARow);
    default:
      return Node(ARow, kLink, (static_cast<quintptr>(ARow) << LinkShift) | PlaceOf(AParent));
  }
}

QModelIndex TPinListModel::parent(const QModelIndex& AIndex) const {
  if (!AIndex.isValid()) return {};
  switch (KindOf(AIndex)) {
    case kGroup:
      return Node(0, kRoot, 0);
    case kPin: {
      const auto Row = static_cast<int32_t>(PlaceOf(AIndex));
      return Grouped() ? GroupNode(GroupOfRow(Row)) : Node(0, kRoot, 0);
    }
    case kLink:
      return PinNode(Low(PlaceOf(AIndex)));
    default:
      return {};
  }
}

int TPinListModel::rowCount(const QModelIndex& AParent) const {
  if (!FShown || AParent.column() > 0) return 0;
  if (!AParent.isValid()) return 1;
  switch (KindOf(AParent)) {
    case kRoot:
      return Grouped() ? FRows.GroupCount() : FRows.GroupCount() > 0 ? FRows.PinCount(0) : 0;
    case kGroup:
      return FRows.PinCount(static_cast<int32_t>(PlaceOf(AParent)));
    case kPin:
      return static_cast<int>(Pin(AParent)->Links.size());
    default:
      return 0;
  }
}

TPinDescr* TPinListModel::Pin(const QModelIndex& AIndex) const {
  if (!AIndex.isValid() || !FProject) return nullptr;
  TWiremaps& Graph = FProject->Graph();
  switch (KindOf(AIndex)) {
    case kPin:
      return Graph.GetSortedPin(FRows.Positions[PlaceOf(AIndex)]);
    case kLink: {
      const TPinDescr* Owner =
          Graph.GetSortedPin(FRows.Positions[static_cast<size_t>(Low(PlaceOf(AIndex)))]);
      return Graph.GetPin(Owner->Links[static_cast<size_t>(High(PlaceOf(AIndex)))]);
    }
    default:
      return nullptr;
  }
}

QString TPinListModel::Text(const QModelIndex& AIndex) const {
  if (KindOf(AIndex) == kRoot) return QString::fromStdString(PinListRootText(FName));
  const TWiremaps& Graph = FProject->Graph();
  switch (KindOf(AIndex)) {
    case kGroup:
      return QString::fromStdString(
          GroupText(*FOrder, FProject->KeyValues(), static_cast<int32_t>(PlaceOf(AIndex))));
    case kPin:
      return QString::fromStdString(
          PinText(Graph, FRows.Positions[PlaceOf(AIndex)], FOrder->PinShowsPage));
    default: {
      const TPinDescr* Owner =
          Graph.GetSortedPin(FRows.Positions[static_cast<size_t>(Low(PlaceOf(AIndex)))]);
      return QString::fromStdString(
          LinkText(Graph, *Owner, static_cast<size_t>(High(PlaceOf(AIndex)))));
    }
  }
}

int TPinListModel::Image(const QModelIndex& AIndex) const {
  switch (KindOf(AIndex)) {
    case kRoot:
      return TImageList::iiProject;
    case kGroup:
      return GroupImage(FOrder->Aspect);
    case kPin:
      return TImageList::iiPin;
    default:
      return TImageList::iiLink;
  }
}

// The pin nodes in list order are the rows of the order's table in turn, so the search
// runs over that table and makes a node only for the one it finds.
int32_t TPinListModel::FirstRowAfter(const QModelIndex& AAfter) const {
  if (!AAfter.isValid() || AAfter.model() != this) return 0;
  switch (KindOf(AAfter)) {
    case kGroup:
      return FRows.Starts[PlaceOf(AAfter)];
    case kPin:
      return static_cast<int32_t>(PlaceOf(AAfter)) + 1;
    case kLink:
      return Low(PlaceOf(AAfter)) + 1;
    default:
      return 0;
  }
}

QModelIndex TPinListModel::NextPinNode(const QModelIndex& AAfter, const TPinTest& ATest) const {
  if (!FProject) return {};
  const TWiremaps& Graph = FProject->Graph();
  const auto Count = static_cast<int32_t>(FRows.Positions.size());
  for (int32_t Row = FirstRowAfter(AAfter); Row < Count; ++Row)
    if (ATest(*Graph.GetSortedPin(FRows.Positions[static_cast<size_t>(Row)]))) return PinNode(Row);
  return {};
}

}  // namespace wiremap
