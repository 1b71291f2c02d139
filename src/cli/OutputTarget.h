#pragma once

#include <string>
#include <string_view>

#include "model/TreeText.h"

namespace wiremap {

// Makes a text by handing its pieces, in order, to the sink it is given.
using TTextProducer = std::function<void(const TTextSink& AWrite)>;

// Where a command's text goes. Standard output gets the text in large pieces straight
// from the caller's string (no second copy of a large netlist). A file is written beside
// itself and renamed over the old one only once the whole text is on disk, so a failed
// run leaves the old file as it was; devices and other special files (/dev/null) are
// written in place.
class TOutputTarget {
 public:
  explicit TOutputTarget(std::string APath = "");
  // Raises ECliError "Cannot create file %s" / "Cannot write file %s" (or for standard
  // output "Cannot write to standard output").
  void Write(std::string_view AText) const;
  // The same for a text made piece by piece: no more of it is held than one piece.
  void Write(const TTextProducer& AProduce) const;
  bool IsStandardOutput() const;

 private:
  void WriteFile(const TTextProducer& AProduce) const;
  std::string FPath;
};

}  // namespace wiremap
