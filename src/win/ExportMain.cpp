// wiremap-export.exe: the console entry of RunExport. Arguments come as the system's
// UTF-16 command line and become UTF-8; standard output is binary, so the CSV's CR LF
// line ends arrive unchanged.

#include <fcntl.h>
#include <io.h>
#include <windows.h>
// after windows.h, which it relies on
#include <shellapi.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "win/Exporter.h"

namespace {

std::string ToUtf8(const wchar_t* AText) {
  const int Size = WideCharToMultiByte(CP_UTF8, 0, AText, -1, nullptr, 0, nullptr, nullptr);
  std::string Result(static_cast<size_t>(Size > 0 ? Size : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, AText, -1, Result.data(), Size, nullptr, nullptr);
  Result.pop_back();  // the terminating zero
  return Result;
}

std::vector<std::string> Arguments() {
  int Count = 0;
  wchar_t** Wide = CommandLineToArgvW(GetCommandLineW(), &Count);
  std::vector<std::string> Result;
  for (int I = 1; I < Count; ++I) Result.push_back(ToUtf8(Wide[I]));
  LocalFree(Wide);
  return Result;
}

}  // namespace

int main() {
  _setmode(_fileno(stdout), _O_BINARY);
  return wiremap::RunExport(Arguments(), std::cout, std::cerr);
}
