#pragma once

#include <string>
#include <vector>

#include "model/ConnectionRec.h"
#include "model/Exception.h"

namespace wiremap {

// A project read from a file: its name, its wires and what the reader had to leave out.
struct TProjectFile {
  std::string Name;
  TConnectionRecs Records;
  std::vector<std::string> Warnings;
};

// A file that cannot be read as a project; the message names the file's fault.
class EProjectFileError : public Exception {
 public:
  using Exception::Exception;
  std::string ClassName() const override { return "EProjectFileError"; }
};

// Files larger than this are refused before they are read.
constexpr long long MaxProjectFileSize = 1LL << 30;

// The wires of an electrical-diagram editor's XML project (".qet"); Name is its title.
TProjectFile ReadQetProject(const std::string& AText);

// The wires of a connection list (CSV, one wire per row, columns named by the header).
TProjectFile ReadConnectionList(const std::string& AText);

// AConnections as a connection list that ReadConnectionList reads back identically:
// UTF-8, header row, CR LF line ends, fields quoted where needed.
std::string WriteConnectionList(const TConnectionRecs& AConnections);

// Reads the file at APath as either format, recognised by its content. Name is the file's
// stem when the file names no project.
TProjectFile ReadProjectFile(const std::string& APath);

// The two steps of ReadProjectFile, for a caller that reads the text another way too: the
// whole file (refused over MaxProjectFileSize), and the text of the file at APath read.
std::string ReadProjectFileText(const std::string& APath);
TProjectFile ReadProjectText(const std::string& AText, const std::string& APath);

}  // namespace wiremap
