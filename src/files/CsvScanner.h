#pragma once

#include <array>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace wiremap {

// Splits delimited text into rows of fields (RFC 4180): fields in double quotes may hold
// the delimiter, line ends and doubled quotes. Fields without quotes lose the blanks
// around them, so hand-aligned exports read cleanly; quoted fields keep every byte. A line
// ends at LF, CR LF or a lone CR.
class TCsvScanner {
 public:
  // AFirstLine: the number of the text's first line in its file.
  TCsvScanner(std::string_view AText, char ADelimiter, int AFirstLine = 1);

  // The next row into AFields; false after the last row. The fields point into the text,
  // or, where quotes were undone, into the scanner; either stays valid until the next
  // call. A quote that is never closed raises EProjectFileError naming the line where it
  // opens.
  bool Next(std::vector<std::string_view>& AFields);

  // The line, counted from 1, on which the last row read starts.
  int Line() const { return FRowLine; }

  // Of ",", ";" and tab, the one the first line uses most (outside quotes); "," when it
  // uses none.
  static char DetectDelimiter(std::string_view AText);

 private:
  bool IsBlank(char AChar) const { return AChar == ' ' || (AChar == '\t' && FDelimiter != '\t'); }
  std::string_view ReadQuoted();
  std::string_view ReadPlain();
  std::string& NextUnquoted();
  // Consumes a line end at the current position, if there is one.
  bool SkipLineEnd();

  std::string_view FText;
  char FDelimiter;
  // The characters that end an unquoted field: the delimiter, CR and LF.
  std::array<bool, 256> FStops{};
  size_t FPosition = 0;
  int FLine = 1;
  int FRowLine = 0;
  // Fields whose quotes had to be undone; a deque never moves what it holds. Reused from
  // row to row.
  std::deque<std::string> FUnquoted;
  size_t FUnquotedUsed = 0;
};

}  // namespace wiremap
