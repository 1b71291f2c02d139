#include "ui/TreeIcons.h"

#include "ui/ImageList.h"

namespace wiremap {

TTreeIcons::TTreeIcons(const TImageList& AImages) {
  for (int Image = 0; Image < SelectedOffset; ++Image)
    FIcons[Image] = AImages.NodeIcon(Image, SelectedImage(Image));
  FIcons[ProjectImage] = AImages.NodeIcon(ProjectImage, ProjectImage);
}

}  // namespace wiremap
