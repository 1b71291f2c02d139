#include "files/CsvScanner.h"

#include <algorithm>
#include <cstring>

#include "files/ProjectFile.h"

namespace wiremap {

TCsvScanner::TCsvScanner(std::string_view AText, char ADelimiter, int AFirstLine)
    : FText(AText), FDelimiter(ADelimiter), FLine(AFirstLine) {
  for (const char C : {ADelimiter, '\r', '\n'}) FStops[static_cast<unsigned char>(C)] = true;
}

char TCsvScanner::DetectDelimiter(std::string_view AText) {
  const char Candidates[] = {',', ';', '\t'};
  int Counts[3] = {0, 0, 0};
  bool Quoted = false;
  for (const char C : AText) {
    if (C == '"') Quoted = !Quoted;
    if (Quoted) continue;
    if (C == '\n' || C == '\r') break;
    for (int I = 0; I < 3; ++I)
      if (C == Candidates[I]) ++Counts[I];
  }
  int Best = 0;
  for (int I = 1; I < 3; ++I)
    if (Counts[I] > Counts[Best]) Best = I;
  return Candidates[Best];
}

bool TCsvScanner::SkipLineEnd() {
  if (FPosition >= FText.size()) return false;
  if (FText[FPosition] == '\n') {
    ++FPosition;
  } else if (FText[FPosition] == '\r') {
    ++FPosition;
    if (FPosition < FText.size() && FText[FPosition] == '\n') ++FPosition;
  } else {
    return false;
  }
  ++FLine;
  return true;
}

bool TCsvScanner::Next(std::vector<std::string_view>& AFields) {
  if (FPosition >= FText.size()) return false;
  FRowLine = FLine;
  FUnquotedUsed = 0;
  AFields.clear();
  while (true) {
    size_t Start = FPosition;
    while (Start < FText.size() && IsBlank(FText[Start])) ++Start;
    if (Start < FText.size() && FText[Start] == '"') {
      FPosition = Start;
      AFields.push_back(ReadQuoted());
    } else {
      AFields.push_back(ReadPlain());
    }
    if (FPosition < FText.size() && FText[FPosition] == FDelimiter) {
      ++FPosition;
      continue;
    }
    SkipLineEnd();
    return true;
  }
}

std::string_view TCsvScanner::ReadPlain() {
  const size_t Start = FPosition;
  while (FPosition < FText.size() && !FStops[static_cast<unsigned char>(FText[FPosition])])
    ++FPosition;
  size_t Begin = Start, End = FPosition;
  while (Begin < End && IsBlank(FText[Begin])) ++Begin;
  while (End > Begin && IsBlank(FText[End - 1])) --End;
  return FText.substr(Begin, End - Begin);
}

std::string_view TCsvScanner::ReadQuoted() {
  const int OpenLine = FLine;
  ++FPosition;  // the opening quote
  std::string* Unquoted = nullptr;
  std::string_view Field;
  while (true) {
    // Find the closing quote before copying anything: an unclosed quote in a huge file
    // costs one scan and no memory.
    const void* Found = std::memchr(FText.data() + FPosition, '"', FText.size() - FPosition);
    if (Found == nullptr)
      throw EProjectFileError("Not a connection list: line " + std::to_string(OpenLine) +
                              ": a quote is never closed");
    const size_t Quote = static_cast<size_t>(static_cast<const char*>(Found) - FText.data());
    const std::string_view Part = FText.substr(FPosition, Quote - FPosition);
    for (size_t I = 0; I < Part.size(); ++I)
      if (Part[I] == '\n' || (Part[I] == '\r' && (I + 1 == Part.size() || Part[I + 1] != '\n')))
        ++FLine;
    FPosition = Quote + 1;
    const bool Doubled = FPosition < FText.size() && FText[FPosition] == '"';
    if (!Doubled && Unquoted == nullptr) {
      Field = Part;
      break;
    }
    if (Unquoted == nullptr) Unquoted = &NextUnquoted();
    Unquoted->append(Part);
    if (!Doubled) break;
    Unquoted->append(1, '"');
    ++FPosition;
  }
  // Text after the closing quote (not RFC 4180, but spreadsheets write it) is kept; blanks
  // are not.
  const std::string_view Tail = ReadPlain();
  if (Tail.empty()) return Unquoted != nullptr ? std::string_view(*Unquoted) : Field;
  if (Unquoted == nullptr) {
    Unquoted = &NextUnquoted();
    Unquoted->assign(Field);
  }
  Unquoted->append(Tail);
  return *Unquoted;
}

std::string& TCsvScanner::NextUnquoted() {
  if (FUnquotedUsed == FUnquoted.size()) FUnquoted.emplace_back();
  std::string& Slot = FUnquoted[FUnquotedUsed++];
  Slot.clear();
  return Slot;
}

}  // namespace wiremap
