#pragma once

#include <exception>

#include <QFont>
#include <QString>

class QWidget;

namespace wiremap {

// The windows are designed in outer sizes at 96 dots per inch, frame included. The frame
// is taken as 4 pixels on each side and a 23-pixel caption; Qt sizes the inside.
constexpr int FrameWidth = 8;
constexpr int FrameHeight = 31;
constexpr int InsideWidth(int AOuterWidth) {
  return AOuterWidth - FrameWidth;
}
constexpr int InsideHeight(int AOuterHeight) {
  return AOuterHeight - FrameHeight;
}

// AFont in the face the windows are designed for, Tahoma, APixelSize pixels high; where
// the system has no Tahoma, a face of about its width.
QFont DesignFont(QFont AFont, int APixelSize = 13);

// The name of an error's kind: our own errors name themselves, others (out of memory,
// say) by their type.
QString ErrorClassName(const std::exception& AError);

// Shows a failing host call as the host error box: "Exception " + the error's class,
// CR LF, its message; one OK button, owned by AOwner.
void ShowHostError(QWidget* AOwner, const std::exception& AError);

}  // namespace wiremap
