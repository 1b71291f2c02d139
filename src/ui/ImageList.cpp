#include "ui/ImageList.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>

namespace wiremap {

namespace {

const QColor kOutline(70, 70, 78);
const QColor kSheet(255, 255, 255);
const QColor kSheetSelected(255, 222, 64);
const QColor kLetter(24, 48, 128);
const QColor kBlue(38, 92, 206);
const QColor kRed(214, 40, 40);
const QColor kLightGreen(120, 204, 96);
const QColor kDarkGreen(34, 128, 52);

// Filled rectangle with a darker rim and a lighter top-left edge, on whole pixels.
void DrawBlock(QPainter& APainter, const QRectF& ARect, const QColor& AColor) {
  APainter.fillRect(ARect, AColor.darker(160));
  const QRectF Inner = ARect.adjusted(1, 1, -1, -1);
  APainter.fillRect(Inner, AColor);
  APainter.fillRect(QRectF(Inner.left(), Inner.top(), Inner.width(), 1), AColor.lighter(150));
  APainter.fillRect(QRectF(Inner.left(), Inner.top(), 1, Inner.height()), AColor.lighter(150));
}

// The strokes of the sheet letters, two pixels wide, inside x 5..10, y 5..12.
void DrawLetter(QPainter& APainter, QChar ALetter) {
  const auto Bar = [&](qreal AX, qreal AY, qreal AW, qreal AH) {
    APainter.fillRect(QRectF(AX, AY, AW, AH), kLetter);
  };
  Bar(5, 5, 2, 8);
  if (ALetter == u'P') {
    Bar(5, 5, 5, 2);
    Bar(9, 6, 2, 4);
    Bar(5, 9, 5, 2);
  } else if (ALetter == u'F') {
    Bar(5, 5, 6, 2);
    Bar(5, 8, 5, 2);
  } else if (ALetter == u'L') {
    Bar(5, 11, 6, 2);
  }
}

// A sheet of paper with a folded top-right corner and a letter on it.
void DrawSheet(QPainter& APainter, QChar ALetter, const QColor& APaper) {
  const QPolygonF Outline({{2.5, 0.5}, {10.5, 0.5}, {13.5, 3.5}, {13.5, 15.5}, {2.5, 15.5}});
  APainter.setRenderHint(QPainter::Antialiasing, false);
  APainter.setPen(QPen(kOutline, 1.0));
  APainter.setBrush(APaper);
  APainter.drawPolygon(Outline);
  APainter.setBrush(APaper.darker(115));
  APainter.drawPolygon(QPolygonF({{10.5, 0.5}, {10.5, 3.5}, {13.5, 3.5}}));
  DrawLetter(APainter, ALetter);
}

// Two blocks joined by a wire.
void DrawNet(QPainter& APainter, const QColor& AColor) {
  APainter.fillRect(QRectF(5, 7, 6, 2), kOutline);
  DrawBlock(APainter, QRectF(0, 3, 7, 7), AColor);
  DrawBlock(APainter, QRectF(9, 6, 7, 7), AColor);
}

// One block with a short lead to the left.
void DrawPin(QPainter& APainter, const QColor& AColor) {
  APainter.fillRect(QRectF(1, 7, 4, 2), kOutline);
  DrawBlock(APainter, QRectF(4, 3, 10, 10), AColor);
}

// A white arrow pointing right on a coloured tile.
void DrawLink(QPainter& APainter, const QColor& AColor) {
  DrawBlock(APainter, QRectF(1, 1, 14, 14), AColor);
  APainter.fillRect(QRectF(3, 7, 6, 2), Qt::white);
  APainter.setRenderHint(QPainter::Antialiasing, true);
  APainter.setPen(Qt::NoPen);
  APainter.setBrush(Qt::white);
  APainter.drawPolygon(QPolygonF({{8, 3.5}, {12.5, 8}, {8, 12.5}}));
}

// A tile split along its diagonal into a light and a dark green half.
void DrawProject(QPainter& APainter) {
  const QRectF Tile(1, 1, 14, 14);
  APainter.fillRect(Tile, kDarkGreen.darker(140));
  const QRectF Inner = Tile.adjusted(1, 1, -1, -1);
  APainter.fillRect(Inner, kDarkGreen);
  APainter.setRenderHint(QPainter::Antialiasing, true);
  APainter.setPen(Qt::NoPen);
  APainter.setBrush(kLightGreen);
  APainter.drawPolygon(QPolygonF({Inner.topLeft(), Inner.topRight(), Inner.bottomLeft()}));
}

void DrawImage(QPainter& APainter, int AIndex) {
  const bool Selected = AIndex >= TImageList::iiSelected && AIndex < 2 * TImageList::iiSelected;
  const int Role = Selected ? AIndex - TImageList::iiSelected : AIndex;
  const QColor Paper = Selected ? kSheetSelected : kSheet;
  const QColor Block = Selected ? kRed : kBlue;
  if (AIndex == TImageList::iiProject) {
    DrawProject(APainter);
    return;
  }
  if (AIndex >= 2 * TImageList::iiSelected) return;
  switch (Role) {
    case TImageList::iiPageSheet:
      DrawSheet(APainter, u'P', Paper);
      break;
    case TImageList::iiFunctionSheet:
      DrawSheet(APainter, u'F', Paper);
      break;
    case TImageList::iiLocationSheet:
      DrawSheet(APainter, u'L', Paper);
      break;
    case TImageList::iiNet:
      DrawNet(APainter, Block);
      break;
    case TImageList::iiPin:
      DrawPin(APainter, Block);
      break;
    case TImageList::iiLink:
      DrawLink(APainter, Block);
      break;
    default:
      break;
  }
}

}  // namespace

TImageList::TImageList() = default;

QPixmap TImageList::Image(int AIndex, qreal ADevicePixelRatio) const {
  const int Pixels = qRound(Size * ADevicePixelRatio);
  QPixmap Pixmap(Pixels, Pixels);
  Pixmap.setDevicePixelRatio(ADevicePixelRatio);
  Pixmap.fill(Qt::transparent);
  QPainter Painter(&Pixmap);
  DrawImage(Painter, AIndex);
  return Pixmap;
}

QIcon TImageList::NodeIcon(int AImage, int ASelectedImage) const {
  const int Key = AImage * Count + ASelectedImage;
  const auto Cached = FIcons.constFind(Key);
  if (Cached != FIcons.cend()) return *Cached;
  QIcon Icon;
  for (const qreal Ratio : {1.0, 1.25, 1.5, 2.0, 3.0}) {
    Icon.addPixmap(Image(AImage, Ratio), QIcon::Normal);
    Icon.addPixmap(Image(ASelectedImage, Ratio), QIcon::Selected);
  }
  FIcons.insert(Key, Icon);
  return Icon;
}

}  // namespace wiremap
