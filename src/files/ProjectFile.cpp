#include "files/ProjectFile.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace wiremap {

namespace {

// The first character that is not a byte-order mark or a blank.
size_t ContentStart(const std::string& AText) {
  size_t Position = AText.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (Position < AText.size() && (AText[Position] == ' ' || AText[Position] == '\t' ||
                                     AText[Position] == '\r' || AText[Position] == '\n'))
    ++Position;
  return Position;
}

// A connection list's first line names its columns between delimiters, or names the
// delimiter ("sep=|"); other text has neither.
bool LooksDelimited(const std::string& AText, size_t AStart) {
  const size_t End = AText.find_first_of("\r\n", AStart);
  const std::string_view Line = std::string_view(AText).substr(AStart, End - AStart);
  if (Line.find('\0') != std::string_view::npos) return false;
  std::string Start(Line.substr(0, 4));
  for (char& C : Start) C = static_cast<char>(C | 0x20);
  const bool DelimiterNamed = Line.size() == 5 && Start == "sep=";
  return DelimiterNamed || Line.find_first_of(",;\t") != std::string_view::npos;
}

}  // namespace

std::string ReadProjectFileText(const std::string& APath) {
  std::error_code Error;
  const std::filesystem::path Path(APath);
  const auto Size = std::filesystem::file_size(Path, Error);
  if (Error) throw EProjectFileError("Cannot open file " + APath);
  if (Size > static_cast<std::uintmax_t>(MaxProjectFileSize))
    throw EProjectFileError("The file " + APath + " is larger than 1 GiB");
  std::ifstream Stream(Path, std::ios::binary);
  if (!Stream) throw EProjectFileError("Cannot open file " + APath);
  std::string Text(static_cast<size_t>(Size), '\0');
  Stream.read(Text.data(), static_cast<std::streamsize>(Size));
  if (Stream.gcount() != static_cast<std::streamsize>(Size))
    throw EProjectFileError("Cannot read file " + APath);
  return Text;
}

TProjectFile ReadProjectText(const std::string& AText, const std::string& APath) {
  const size_t Start = ContentStart(AText);
  if (Start == AText.size()) throw EProjectFileError("The file " + APath + " is empty");
  TProjectFile Result;
  if (AText[Start] == '<')
    Result = ReadQetProject(AText);
  else if (LooksDelimited(AText, Start))
    Result = ReadConnectionList(AText);
  else
    throw EProjectFileError("The file " + APath +
                            " is neither a QElectroTech project nor a connection list");
  if (Result.Name.empty()) Result.Name = std::filesystem::path(APath).stem().string();
  return Result;
}

TProjectFile ReadProjectFile(const std::string& APath) {
  return ReadProjectText(ReadProjectFileText(APath), APath);
}

}  // namespace wiremap
