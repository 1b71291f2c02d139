#pragma once

#include <memory>
#include <string>

#include "files/ProjectFile.h"

namespace wiremap {

// Reads the wires of an electrical-diagram editor's XML project: every folio's elements
// with their definitions from the project's own collection, the conductors between their
// terminals, and the folio-report arrows that carry nets from one folio to another. Pin
// names follow the editor's labels and terminal names; what has none gets a made-up name
// that is stable for the file.
class TQetProjectReader {
 public:
  TQetProjectReader();
  ~TQetProjectReader();
  TQetProjectReader(const TQetProjectReader&) = delete;
  TQetProjectReader& operator=(const TQetProjectReader&) = delete;

  // Raises EProjectFileError for text that is not such a project.
  TProjectFile Read(const std::string& AText);

 private:
  struct TState;
  std::unique_ptr<TState> FState;
};

}  // namespace wiremap
