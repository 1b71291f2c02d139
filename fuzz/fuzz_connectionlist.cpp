// Connection lists both ways. Input starting with "R" decodes records of awkward texts
// (delimiters, quotes, line ends, blanks, a byte-order mark, non-ASCII): written and read
// back they must be identical, or, lacking a designation, skipped with a warning. Any
// other input is read as a list: the reader returns records or raises its own error, and
// what it returns is valid UTF-8 that survives writing and reading again byte for byte.

#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "files/ProjectFile.h"
#include "files/TextEncoding.h"

namespace wiremap {
namespace {

std::string Text(TFuzzInput& AInput) {
  static const char* const Pieces[] = {",", "\"", "\r", "\n", " ",    "\t",           ";",
                                       "a", "K1", "é",  "€",  "\"\"", "\xEF\xBB\xBF", "x y"};
  std::string Result;
  for (int Count = AInput.Below(6); Count > 0; --Count)
    Result += Pieces[AInput.Below(static_cast<int>(std::size(Pieces)))];
  return Result;
}

int32_t Page(TFuzzInput& AInput) {
  uint32_t Value = 0;
  for (int I = 0; I < 4; ++I) Value = (Value << 8) | AInput.Byte();
  return static_cast<int32_t>(Value);
}

void CheckRecords(TFuzzInput& AInput) {
  TConnectionRecs Records, Kept;
  while (!AInput.Empty() && Records.size() < 16) {
    TConnectionRec Rec;
    Rec.DesignationA = Text(AInput);
    Rec.PinA = Text(AInput);
    Rec.PageA = Page(AInput);
    Rec.DesignationB = Text(AInput);
    Rec.PinB = Text(AInput);
    Rec.PageB = Page(AInput);
    Rec.WireName = Text(AInput);
    Records.push_back(Rec);
    if (!Rec.DesignationA.empty() && !Rec.DesignationB.empty()) Kept.push_back(Rec);
  }
  const TProjectFile Back = ReadConnectionList(WriteConnectionList(Records));
  FUZZ_CHECK(Back.Records == Kept);
  FUZZ_CHECK(Back.Warnings.size() == Records.size() - Kept.size());
}

void CheckList(const std::string& AText) {
  TProjectFile File;
  try {
    File = ReadConnectionList(AText);
  } catch (const EProjectFileError& Error) {
    FUZZ_CHECK(Error.Message().rfind("Not a connection list: ", 0) == 0);
    return;
  }
  for (const TConnectionRec& Rec : File.Records) {
    FUZZ_CHECK(!Rec.DesignationA.empty() && !Rec.DesignationB.empty());
    for (const std::string* Field :
         {&Rec.DesignationA, &Rec.PinA, &Rec.DesignationB, &Rec.PinB, &Rec.WireName})
      FUZZ_CHECK(IsValidUtf8(*Field));
  }
  for (const std::string& Warning : File.Warnings) FUZZ_CHECK(Warning.rfind("line ", 0) == 0);
  const std::string Written = WriteConnectionList(File.Records);
  const TProjectFile Back = ReadConnectionList(Written);
  FUZZ_CHECK(Back.Records == File.Records);
  FUZZ_CHECK(Back.Warnings.empty());
  FUZZ_CHECK(WriteConnectionList(Back.Records) == Written);
}

}  // namespace
}  // namespace wiremap

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
  using namespace wiremap;
  if (ASize > 0 && AData[0] == 'R') {
    TFuzzInput Input(AData + 1, ASize - 1);
    CheckRecords(Input);
  } else {
    CheckList(std::string(reinterpret_cast<const char*>(AData), ASize));
  }
  return 0;
}
