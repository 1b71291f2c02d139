#pragma once

#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

namespace wiremap {

class TPinDescr;

using TPinTest = std::function<bool(const TPinDescr& APin)>;

// The pin search of the pin list tree. It visits, for every root in order, the root's
// children that carry a pin and, for a child that carries none (a group), that child's
// children that carry one; link nodes are never visited. Gives the first visited node
// whose pin passes ATest and that comes after AAfter in the tree's pre-order (nullptr:
// from the start), or nullptr.
QTreeWidgetItem* NextPinNode(const QTreeWidget& ATree, const QTreeWidgetItem* AAfter,
                             const TPinTest& ATest);

}  // namespace wiremap
