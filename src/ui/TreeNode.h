#pragma once

#include <QIcon>
#include <QTreeWidgetItem>

namespace wiremap {

class TImageList;
class TPinDescr;

// Item data roles under which a tree node reports what it carries and its images.
enum TNodeRole : int {
  NodePinRole = Qt::UserRole,                // TPinDescr* as void*, null for nodes without a pin
  NodeImageRole = Qt::UserRole + 1,          // image index in the tree image list
  NodeSelectedImageRole = Qt::UserRole + 2,  // image index while the node is selected
  NodeTextWidthRole = Qt::UserRole + 3       // width of the text in the tree's font
};

// One node of the main window's trees: a text, an image (shown with its selected
// counterpart while the node is selected) and the pin it carries (owned by the net
// graph). Kept lean because a large project makes tens of thousands.
class TTreeNode : public QTreeWidgetItem {
 public:
  TTreeNode(const QString& AText, int AImage, const TImageList& AImages,
            const TPinDescr* APin = nullptr);

  // The item type of every tree node, by which NodePin knows one.
  static constexpr int NodeType = UserType + 1;

  QVariant data(int AColumn, int ARole) const override;

  const TPinDescr* Pin() const { return FPin; }
  int Image() const { return FImage; }
  int SelectedImage() const { return FSelectedImage; }

 private:
  int TextWidth() const;

  QIcon FIcon;
  const TPinDescr* FPin;
  // Measured on first demand: laying out a text is the costly part of sizing a row.
  mutable int FTextWidth = -1;
  int FImage;
  int FSelectedImage;
};

// The pin a tree node carries, or nullptr (also for a null node).
TPinDescr* NodePin(const QTreeWidgetItem* ANode);

}  // namespace wiremap
