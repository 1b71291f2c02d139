#include <gtest/gtest.h>

#include <QImage>

#include "ui/ImageList.h"

namespace wiremap {
namespace {

QImage Picture(const TImageList& AImages, int AIndex, qreal ARatio = 1.0) {
  return AImages.Image(AIndex, ARatio).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool IsBlank(const QImage& AImage) {
  for (int Y = 0; Y < AImage.height(); ++Y)
    for (int X = 0; X < AImage.width(); ++X)
      if (qAlpha(AImage.pixel(X, Y)) != 0) return false;
  return true;
}

constexpr int kUsedRoles[] = {0, 1, 2, 3, 5, 6};

TEST(ImageList, EveryRoleHasItsOwnPictureAndADifferentSelectedOne) {
  TImageList Images;
  for (int Role : kUsedRoles) {
    SCOPED_TRACE(Role);
    EXPECT_FALSE(IsBlank(Picture(Images, Role)));
    EXPECT_FALSE(IsBlank(Picture(Images, Role + 8)));
    EXPECT_NE(Picture(Images, Role), Picture(Images, Role + 8));
    for (int Other : kUsedRoles) {
      if (Other != Role) {
        EXPECT_NE(Picture(Images, Role), Picture(Images, Other));
      }
    }
  }
  EXPECT_FALSE(IsBlank(Picture(Images, 31)));
}

TEST(ImageList, IsDrawnAtTheDevicePixelRatio) {
  TImageList Images;
  for (qreal Ratio : {1.0, 1.5, 2.0}) {
    const QPixmap Image = Images.Image(5, Ratio);
    EXPECT_EQ(Image.size(), QSize(16, 16) * Ratio);
    EXPECT_EQ(Image.devicePixelRatio(), Ratio);
  }
}

TEST(ImageList, NodeIconShowsTheSelectedImageWhileSelected) {
  TImageList Images;
  const QIcon Net = Images.NodeIcon(3, 11);
  const auto Shown = [](const QIcon& AIcon, QIcon::Mode AMode) {
    return AIcon.pixmap(QSize(16, 16), 1.0, AMode).toImage().convertToFormat(QImage::Format_ARGB32);
  };
  EXPECT_EQ(Shown(Net, QIcon::Normal), Picture(Images, 3));
  EXPECT_EQ(Shown(Net, QIcon::Selected), Picture(Images, 11));
  const QIcon Project = Images.NodeIcon(31, 31);
  EXPECT_EQ(Shown(Project, QIcon::Selected), Shown(Project, QIcon::Normal));
  EXPECT_EQ(Shown(Images.NodeIcon(3, 11), QIcon::Selected), Picture(Images, 11));
}

}  // namespace
}  // namespace wiremap
