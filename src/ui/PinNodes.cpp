#include "ui/PinNodes.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include <QTreeWidget>

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

}  // namespace

QTreeWidgetItem* NextPinNode(const QTreeWidget& ATree, const QTreeWidgetItem* AAfter,
                             const TPinTest& ATest) {
  const std::vector<int> After = AAfter ? PathOf(AAfter) : std::vector<int>();
  const auto Passes = [&](QTreeWidgetItem* ANode, std::initializer_list<int> APath) {
    const TPinDescr* Pin = NodePin(ANode);
    return Pin && !IsOnPathTo(After, APath) && ATest(*Pin);
  };
  for (int R = StartIndex(After, {}); R < ATree.topLevelItemCount(); ++R) {
    const QTreeWidgetItem* Root = ATree.topLevelItem(R);
    for (int C = StartIndex(After, {R}); C < Root->childCount(); ++C) {
      QTreeWidgetItem* Child = Root->child(C);
      if (NodePin(Child)) {
        if (Passes(Child, {R, C})) return Child;
        continue;
      }
      for (int G = StartIndex(After, {R, C}); G < Child->childCount(); ++G)
        if (Passes(Child->child(G), {R, C, G})) return Child->child(G);
    }
  }
  return nullptr;
}

}  // namespace wiremap
