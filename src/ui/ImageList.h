#pragma once

#include <QHash>
#include <QIcon>
#include <QPixmap>

namespace wiremap {

// The 32 tree images of 16 x 16 pixels shared by both trees of the main window.
// An unselected node's image has its highlighted counterpart eight places later.
class TImageList {
 public:
  // The pictures by role; each selected counterpart sits iiSelected places later.
  enum TImageIndex : int {
    iiPageSheet = 0,
    iiFunctionSheet = 1,
    iiLocationSheet = 2,
    iiNet = 3,
    iiPin = 5,
    iiLink = 6,
    iiSelected = 8,
    iiProject = 31,
  };

  static constexpr int Count = 32;
  static constexpr int Size = 16;

  TImageList();

  // Image AIndex at a device pixel ratio (drawn, not scaled, so it stays crisp).
  QPixmap Image(int AIndex, qreal ADevicePixelRatio = 1.0) const;

  // The image a node shows while selected: AImage + iiSelected; the project image
  // stays the same.
  static int SelectedImage(int AImage) {
    return AImage == iiProject ? iiProject : AImage + iiSelected;
  }

  // An icon showing AImage normally and ASelectedImage while the node is selected.
  // Icons are drawn once per pair and then shared, so filling a large tree stays cheap.
  QIcon NodeIcon(int AImage, int ASelectedImage) const;

  // The icon of a tree node with image AImage and its selected counterpart.
  QIcon NodeIcon(int AImage) const { return NodeIcon(AImage, SelectedImage(AImage)); }

 private:
  mutable QHash<int, QIcon> FIcons;
};

}  // namespace wiremap
