// Connection lists: one wire per row, the columns named by a header row. The reader
// knows the column names of the common CAD exports; the writer writes the names it
// reads first.

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <string_view>

#include "files/CsvScanner.h"
#include "files/ProjectFile.h"
#include "files/TextEncoding.h"

namespace wiremap {

namespace {

enum TColumn { DesignationA, PinA, PageA, DesignationB, PinB, PageB, WireName, ColumnCount };

constexpr std::array<const char*, ColumnCount> ColumnNames = {
    "DesignationA", "PinA", "PageA", "DesignationB", "PinB", "PageB", "WireName"};

// The names each column goes by, lower case. "Page" names both pages.
struct TAlias {
  const char* Name;
  TColumn Column;
  TColumn Second;
};
constexpr TAlias Aliases[] = {{"designationa", DesignationA, DesignationA},
                              {"from", DesignationA, DesignationA},
                              {"source", DesignationA, DesignationA},
                              {"von", DesignationA, DesignationA},
                              {"composant 1", DesignationA, DesignationA},
                              {"pina", PinA, PinA},
                              {"from pin", PinA, PinA},
                              {"source pin", PinA, PinA},
                              {"von anschluss", PinA, PinA},
                              {"borne 1", PinA, PinA},
                              {"pagea", PageA, PageA},
                              {"from page", PageA, PageA},
                              {"designationb", DesignationB, DesignationB},
                              {"to", DesignationB, DesignationB},
                              {"target", DesignationB, DesignationB},
                              {"nach", DesignationB, DesignationB},
                              {"composant 2", DesignationB, DesignationB},
                              {"pinb", PinB, PinB},
                              {"to pin", PinB, PinB},
                              {"target pin", PinB, PinB},
                              {"nach anschluss", PinB, PinB},
                              {"borne 2", PinB, PinB},
                              {"pageb", PageB, PageB},
                              {"to page", PageB, PageB},
                              {"page", PageA, PageB},
                              {"seite", PageA, PageB},
                              {"wirename", WireName, WireName},
                              {"wire", WireName, WireName},
                              {"wire number", WireName, WireName},
                              {"draht", WireName, WireName}};

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

std::string Lower(std::string_view AText) {
  std::string Result(AText);
  for (char& C : Result)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  return Result;
}

// Field index of every column, -1 where the header names none; the first of two
// headings that name one column wins.
std::array<int, ColumnCount> MapColumns(const std::vector<std::string_view>& AHeader, int ALine) {
  std::array<int, ColumnCount> Index;
  Index.fill(-1);
  for (size_t I = 0; I < AHeader.size(); ++I) {
    const std::string Name = Lower(AHeader[I]);
    for (const TAlias& Alias : Aliases) {
      if (Name != Alias.Name) continue;
      for (const TColumn Column : {Alias.Column, Alias.Second})
        if (Index[Column] < 0) Index[Column] = static_cast<int>(I);
    }
  }
  const TColumn Required[] = {DesignationA, PinA, DesignationB, PinB};
  std::string Missing;
  int MissingCount = 0;
  for (const TColumn Column : Required) {
    if (Index[Column] >= 0) continue;
    Missing += (MissingCount++ == 0 ? "" : ", ");
    Missing += ColumnNames[Column];
  }
  if (MissingCount > 0)
    throw EProjectFileError("Not a connection list: line " + std::to_string(ALine) + " names no " +
                            Missing + (MissingCount == 1 ? " column" : " columns"));
  return Index;
}

bool IsBlankText(std::string_view AText) {
  return std::all_of(AText.begin(), AText.end(),
                     [](char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; });
}

class TListReader {
 public:
  TListReader(std::string_view AText, char ADelimiter, int AFirstLine)
      : FScanner(AText, ADelimiter, AFirstLine) {}

  TProjectFile Read(std::string_view AText) {
    // A row per line is the common case: one count saves the regrowth of the records. Only
    // up to a million, so that a file of blank lines cannot claim memory it will not use.
    const auto Lines = static_cast<size_t>(std::count(AText.begin(), AText.end(), '\n'));
    FResult.Records.reserve(std::min<size_t>(Lines, 1'000'001));
    FScanner.Next(FFields);
    FIndex = MapColumns(FFields, FScanner.Line());
    while (FScanner.Next(FFields)) ReadRow();
    return std::move(FResult);
  }

 private:
  std::string_view Field(TColumn AColumn) const {
    const int Index = FIndex[AColumn];
    if (Index < 0 || static_cast<size_t>(Index) >= FFields.size()) return {};
    return FFields[static_cast<size_t>(Index)];
  }

  void Warn(const std::string& AText) {
    FResult.Warnings.push_back("line " + std::to_string(FScanner.Line()) + ": " + AText);
  }

  // The page's leading decimal digits (an optional minus sign kept, so that every page
  // the writer writes reads back).
  int32_t Page(TColumn AColumn) {
    if (FIndex[AColumn] < 0) return 0;
    const std::string_view Text = Field(AColumn);
    int32_t Value = 0;
    const auto Error = std::from_chars(Text.data(), Text.data() + Text.size(), Value).ec;
    if (Error == std::errc()) return Value;
    Warn(std::string(ColumnNames[AColumn]) + " \"" + std::string(Text) +
         "\" is not a page number; 0 used");
    return 0;
  }

  void ReadRow() {
    if (std::all_of(FFields.begin(), FFields.end(), [](std::string_view F) { return F.empty(); }))
      return;
    if (Field(DesignationA).empty() || Field(DesignationB).empty()) {
      Warn("row skipped: no designation");
      return;
    }
    TConnectionRec& Rec = FResult.Records.emplace_back();
    Rec.DesignationA = Field(DesignationA);
    Rec.PinA = Field(PinA);
    Rec.PageA = Page(PageA);
    Rec.DesignationB = Field(DesignationB);
    Rec.PinB = Field(PinB);
    Rec.PageB = Page(PageB);
    Rec.WireName = Field(WireName);
  }

  TCsvScanner FScanner;
  std::vector<std::string_view> FFields;
  std::array<int, ColumnCount> FIndex{};
  TProjectFile FResult;
};

// The characters that force quotes anywhere in a field.
constexpr std::array<bool, 256> QuoteTriggers = [] {
  std::array<bool, 256> Table{};
  for (const unsigned char C : {',', '"', '\r', '\n'}) Table[C] = true;
  return Table;
}();

bool NeedsQuotes(std::string_view AField) {
  if (AField.empty()) return false;
  // Blanks at either end would be trimmed by the reader.
  if (AField.front() == ' ' || AField.front() == '\t' || AField.back() == ' ' ||
      AField.back() == '\t')
    return true;
  for (const char C : AField)
    if (QuoteTriggers[static_cast<unsigned char>(C)]) return true;
  return false;
}

void AppendField(std::string_view AField, std::string& AOut) {
  if (!NeedsQuotes(AField)) {
    AOut.append(AField);
    return;
  }
  AOut += '"';
  for (const char C : AField) {
    if (C == '"') AOut += '"';
    AOut += C;
  }
  AOut += '"';
}

void AppendNumber(int32_t AValue, std::string& AOut) {
  char Buffer[16];
  const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, AValue);
  AOut.append(Buffer, Result.ptr);
}

// Spreadsheets put "sep=;" above the header to name the delimiter; otherwise the header's
// own delimiters tell.
TProjectFile ReadList(std::string_view AText) {
  const std::string_view Hint = "sep=";
  if (AText.size() > Hint.size() && Lower(AText.substr(0, Hint.size())) == Hint) {
    const size_t LineEnd = AText.find_first_of("\r\n");
    if (LineEnd == Hint.size() + 1) {
      const char Delimiter = AText[Hint.size()];
      AText.remove_prefix(LineEnd + (AText.compare(LineEnd, 2, "\r\n") == 0 ? 2 : 1));
      return TListReader(AText, Delimiter, 2).Read(AText);
    }
  }
  return TListReader(AText, TCsvScanner::DetectDelimiter(AText), 1).Read(AText);
}

}  // namespace

TProjectFile ReadConnectionList(const std::string& AText) {
  if (static_cast<long long>(AText.size()) > MaxProjectFileSize)
    throw EProjectFileError("Not a connection list: the text is larger than 1 GiB");
  std::string_view Text = AText;
  if (Text.substr(0, Utf8Bom.size()) == Utf8Bom) Text.remove_prefix(Utf8Bom.size());
  if (IsBlankText(Text)) throw EProjectFileError("Not a connection list: the file is empty");
  if (IsValidUtf8(Text)) return ReadList(Text);
  return ReadList(Windows1252ToUtf8(Text));
}

std::string WriteConnectionList(const TConnectionRecs& AConnections) {
  std::string Out;
  Out.reserve(64 + AConnections.size() * 48);
  for (size_t I = 0; I < ColumnNames.size(); ++I) {
    if (I > 0) Out += ',';
    Out += ColumnNames[I];
  }
  Out += "\r\n";
  for (const TConnectionRec& Rec : AConnections) {
    AppendField(Rec.DesignationA, Out);
    Out += ',';
    AppendField(Rec.PinA, Out);
    Out += ',';
    AppendNumber(Rec.PageA, Out);
    Out += ',';
    AppendField(Rec.DesignationB, Out);
    Out += ',';
    AppendField(Rec.PinB, Out);
    Out += ',';
    AppendNumber(Rec.PageB, Out);
    Out += ',';
    AppendField(Rec.WireName, Out);
    Out += "\r\n";
  }
  return Out;
}

}  // namespace wiremap
