#pragma once

#include <string>
#include <string_view>

namespace wiremap {

// Whether AText is well-formed UTF-8 (no overlong forms, surrogates or code points past
// U+10FFFF).
bool IsValidUtf8(std::string_view AText);

// AText read as Windows-1252, the code page spreadsheets on Western Windows machines
// save in, converted to UTF-8. The five bytes the code page leaves undefined become the
// control characters of the same number, as Windows converts them.
std::string Windows1252ToUtf8(std::string_view AText);

}  // namespace wiremap
