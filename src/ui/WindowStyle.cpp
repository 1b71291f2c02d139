#include "ui/WindowStyle.h"

#include <cstdlib>
#include <typeinfo>

#if __has_include(<cxxabi.h>)
#include <cxxabi.h>
#endif

#include "model/Exception.h"
#include "ui/Application.h"
#include "ui/UserPrompts.h"

namespace wiremap {

QFont DesignFont(QFont AFont, int APixelSize) {
  AFont.setFamilies(
      {"Tahoma", "Liberation Sans", "Arial", "DejaVu Sans Condensed", AFont.family()});
  AFont.setPixelSize(APixelSize);
  return AFont;
}

QString ErrorClassName(const std::exception& AError) {
  if (const auto* Own = dynamic_cast<const Exception*>(&AError))
    return QString::fromStdString(Own->ClassName());
  const char* Name = typeid(AError).name();
#if __has_include(<cxxabi.h>)
  int Status = 0;
  char* Readable = abi::__cxa_demangle(Name, nullptr, nullptr, &Status);
  const QString Result = QString::fromUtf8(Status == 0 && Readable ? Readable : Name);
  std::free(Readable);
  return Result;
#else
  return QString::fromUtf8(Name);
#endif
}

void ShowHostError(QWidget* AOwner, const std::exception& AError) {
  UserPrompts().ShowError(
      AOwner, QString::fromUtf8(TApplication::Title),
      "Exception " + ErrorClassName(AError) + "\r\n" + QString::fromUtf8(AError.what()));
}

}  // namespace wiremap
