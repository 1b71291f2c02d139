#pragma once

#include <array>

#include <QIcon>

#include "ui/ImageList.h"

namespace wiremap {

// The node icons of the trees, made once: image I shown normally and image I + 8 while
// the node is selected; the project image (31) is the same in both states.
class TTreeIcons {
 public:
  static constexpr int ProjectImage = TImageList::iiProject;
  static constexpr int SelectedOffset = TImageList::iiSelected;

  explicit TTreeIcons(const TImageList& AImages);

  const QIcon& Icon(int AImage) const { return FIcons.at(AImage); }
  static int SelectedImage(int AImage) {
    return AImage == ProjectImage ? ProjectImage : AImage + SelectedOffset;
  }

 private:
  std::array<QIcon, 32> FIcons;
};

}  // namespace wiremap
