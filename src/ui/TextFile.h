#pragma once

#include <string>

#include <QString>
#include <QStringList>

#include "model/Exception.h"

class QTreeWidget;

namespace wiremap {

// A text file that could not be created or written.
class EFileError : public Exception {
 public:
  using Exception::Exception;
  std::string ClassName() const override { return "EFileError"; }
};

// Writes ALines to AFileName as UTF-8, every line (the last one too) ended by CR LF. The
// file is replaced only once everything is written, so a failed save keeps the old file;
// only in a folder where no new file may be made is an existing file written in place.
// Raises EFileError "Cannot create file %s" when the file cannot be opened for writing
// and "Cannot write file %s" when writing or replacing it fails (a full disk, say).
void SaveTextFile(const QString& AFileName, const QStringList& ALines);
// The same for a text already made, written byte for byte.
void SaveTextBytes(const QString& AFileName, const std::string& AText);

// The whole content of AFileName, byte for byte. Raises EFileError "Cannot open file %s"
// when the file cannot be opened for reading (missing, a folder, no permission) and
// "Cannot read file %s" when reading it fails.
std::string ReadTextFile(const QString& AFileName);

// Every node of ATree in pre-order, expanded or not: as many tabs as the node's depth
// (a root has none), then its text.
QStringList TreeLines(const QTreeWidget& ATree);

}  // namespace wiremap
