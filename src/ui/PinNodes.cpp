#include "ui/PinNodes.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <vector>

#include <QTreeWidget>

#include "model/PinDescr.h"
#include "ui/TreeNode.h"

namespace wiremap {
namespace {

// Child indexes from the root down to ANode; the root's own index comes first.
std::vector<int> PathOf(const QTreeWidgetItem* ANode) {
  std::vector<int> Path;
  for (; ANode; ANode = ANode->parent()) {
    const QTreeWidgetItem* Parent = ANode->parent();
    Path.push_back(
        Parent ? Parent->indexOfChild(const_cast<QTreeWidgetItem*>(ANode))
               : ANode->treeWidget()->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(ANode)));
  }
  std::reverse(Path.begin(), Path.end());
  return Path;
}

// The walk starts at AAfter's index on every level of AAfter's branch, so the only
// visited nodes that do not come after AAfter are AAfter and its ancestors: the nodes
// whose path is the beginning of AAfter's path.
bool IsOnPathTo(const std::vector<int>& AAfter, std::initializer_list<int> APath) {
  return APath.size() <= AAfter.size() && std::equal(APath.begin(), APath.end(), AAfter.begin());
}

// Where to start at one level: at AAfter's index while the walk is on AAfter's branch.
int StartIndex(const std::vector<int>& AAfter, std::initializer_list<int> APrefix) {
  if (AAfter.size() <= APrefix.size()) return 0;
  if (!std::equal(APrefix.begin(), APrefix.end(), AAfter.begin())) return 0;
  return AAfter[APrefix.size()];
}

// The children of AParent. Asking the item for each child on every step costs more than
// the step itself (the item has the model sort first), so a search takes them once.
std::vector<QTreeWidgetItem*> ChildrenOf(const QTreeWidgetItem& AParent) {
  std::vector<QTreeWidgetItem*> Children(static_cast<std::size_t>(AParent.childCount()));
  for (std::size_t I = 0; I < Children.size(); ++I)
    Children[I] = AParent.child(static_cast<int>(I));
  return Children;
}

// Asks the processor to bring the whole node into its cache: the item type and the pin
// pointer that NodePin reads lie on different cache lines. (A prefetch never faults, so a
// smaller node is harmless.)
void FetchNode(const QTreeWidgetItem* ANode) {
  const char* Bytes = reinterpret_cast<const char*>(ANode);
  for (std::size_t Offset = 0; Offset < sizeof(TTreeNode); Offset += 64)
    __builtin_prefetch(Bytes + Offset);
}

// The nodes, their pins and the pins' names lie scattered over the heap, so a search
// through a long list would wait on memory at every node. Asking for them some nodes
// ahead, each step for what the one before brought in, lets those waits overlap. (Every
// pin test reads the pin's name.)
void FetchAhead(const std::vector<QTreeWidgetItem*>& ANodes, std::size_t AIndex) {
  constexpr std::size_t Step = 4;
  if (AIndex + 3 * Step < ANodes.size()) FetchNode(ANodes[AIndex + 3 * Step]);
  if (AIndex + 2 * Step < ANodes.size()) __builtin_prefetch(NodePin(ANodes[AIndex + 2 * Step]));
  if (AIndex + Step < ANodes.size()) {
    if (const TPinDescr* Pin = NodePin(ANodes[AIndex + Step])) __builtin_prefetch(Pin->Name.data());
  }
}

}  // namespace

QTreeWidgetItem* NextPinNode(const QTreeWidget& ATree, const QTreeWidgetItem* AAfter,
                             const TPinTest& ATest) {
  const std::vector<int> After = AAfter ? PathOf(AAfter) : std::vector<int>();
  const auto Passes = [&](QTreeWidgetItem* ANode, std::initializer_list<int> APath) {
    const TPinDescr* Pin = NodePin(ANode);
    return Pin && !IsOnPathTo(After, APath) && ATest(*Pin);
  };
  for (int R = StartIndex(After, {}); R < ATree.topLevelItemCount(); ++R) {
    const std::vector<QTreeWidgetItem*> Children = ChildrenOf(*ATree.topLevelItem(R));
    for (int C = StartIndex(After, {R}); C < static_cast<int>(Children.size()); ++C) {
      FetchAhead(Children, static_cast<std::size_t>(C));
      QTreeWidgetItem* Child = Children[static_cast<std::size_t>(C)];
      if (NodePin(Child)) {
        if (Passes(Child, {R, C})) return Child;
        continue;
      }
      const std::vector<QTreeWidgetItem*> Members = ChildrenOf(*Child);
      for (int G = StartIndex(After, {R, C}); G < static_cast<int>(Members.size()); ++G) {
        FetchAhead(Members, static_cast<std::size_t>(G));
        if (Passes(Members[static_cast<std::size_t>(G)], {R, C, G}))
          return Members[static_cast<std::size_t>(G)];
      }
    }
  }
  return nullptr;
}

}  // namespace wiremap
