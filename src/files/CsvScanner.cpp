#include "files/CsvScanner.h"

#include <algorithm>
#include <cstring>

#include "files/ProjectFile.h"

namespace wiremap {

TCsvScanner::TCsvScanner(std::string_view AText, char ADelimiter)
    : FText(AText), FDelimiter(ADelimiter) {}

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

bool TCsvScanner::Next(std::vector<std::string>& AFields) {
  if (FPosition >= FText.size()) return false;
  FRowLine = FLine;
  size_t Count = 0;
  while (true) {
    if (Count == AFields.size()) AFields.emplace_back();
    std::string& Field = AFields[Count++];
    Field.clear();
    size_t Start = FPosition;
    while (Start < FText.size() && IsBlank(FText[Start])) ++Start;
    if (Start < FText.size() && FText[Start] == '"') {
      FPosition = Start;
      ReadQuoted(Field);
    } else {
      ReadPlain(Field);
    }
    if (FPosition < FText.size() && FText[FPosition] == FDelimiter) {
      ++FPosition;
      continue;
    }
    SkipLineEnd();
    break;
  }
  AFields.resize(Count);
  return true;
}

void TCsvScanner::ReadPlain(std::string& AField) {
  const size_t Start = FPosition;
  while (FPosition < FText.size()) {
    const char C = FText[FPosition];
    if (C == FDelimiter || C == '\n' || C == '\r') break;
    ++FPosition;
  }
  size_t Begin = Start, End = FPosition;
  while (Begin < End && IsBlank(FText[Begin])) ++Begin;
  while (End > Begin && IsBlank(FText[End - 1])) --End;
  AField.assign(FText.substr(Begin, End - Begin));
}

void TCsvScanner::ReadQuoted(std::string& AField) {
  const int OpenLine = FLine;
  ++FPosition;  // the opening quote
  while (true) {
    // Find the closing quote before copying anything: an unclosed quote in a huge file
    // costs one scan and no memory.
    const void* Found = std::memchr(FText.data() + FPosition, '"', FText.size() - FPosition);
    if (Found == nullptr)
      throw EProjectFileError("Not a connection list: line " + std::to_string(OpenLine) +
                              ": a quote is never closed");
    const size_t Quote = static_cast<size_t>(static_cast<const char*>(Found) - FText.data());
    const std::string_view Part = FText.substr(FPosition, Quote - FPosition);
    AField.append(Part);
    for (size_t I = 0; I < Part.size(); ++I)
      if (Part[I] == '\n' || (Part[I] == '\r' && (I + 1 == Part.size() || Part[I + 1] != '\n')))
        ++FLine;
    FPosition = Quote + 1;
    if (FPosition < FText.size() && FText[FPosition] == '"') {
      AField += '"';
      ++FPosition;
      continue;
    }
    break;
  }
  // Text after the closing quote (not RFC 4180, but spreadsheets write it) is kept; blanks
  // are not.
  std::string Tail;
  ReadPlain(Tail);
  AField += Tail;
}

}  // namespace wiremap
