// Any bytes as an editor project: the reader returns records or raises its own error, and
// what it returns must agree with a plain count of the document's conductors, name every
// end, stay on the project's folios and survive the connection list round trip.

#include <pugixml.hpp>

#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "files/ProjectFile.h"
#include "files/TextEncoding.h"

namespace wiremap {
namespace {

struct TCounts {
  bool Project = false;
  size_t Folios = 0, Conductors = 0, Elements = 0;
};

// The document walked apart from the reader: folios, conductors, placed elements.
TCounts CountOf(const std::string& AText) {
  TCounts Counts;
  pugi::xml_document Document;
  if (!Document.load_buffer(AText.data(), AText.size())) return Counts;
  const pugi::xml_node Project = Document.document_element();
  Counts.Project = std::string(Project.name()) == "project";
  for (pugi::xml_node Folio : Project.children("diagram")) {
    ++Counts.Folios;
    for (pugi::xml_node List : Folio.children("conductors"))
      for ([[maybe_unused]] pugi::xml_node Conductor : List.children("conductor"))
        ++Counts.Conductors;
    for (pugi::xml_node List : Folio.children("elements"))
      for ([[maybe_unused]] pugi::xml_node Element : List.children("element")) ++Counts.Elements;
  }
  return Counts;
}

bool AllUtf8(const TConnectionRecs& ARecords) {
  for (const TConnectionRec& Rec : ARecords)
    for (const std::string* Text :
         {&Rec.DesignationA, &Rec.PinA, &Rec.DesignationB, &Rec.PinB, &Rec.WireName})
      if (!IsValidUtf8(*Text)) return false;
  return true;
}

}  // namespace
}  // namespace wiremap

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
  using namespace wiremap;
  UseRootCollation();
  const std::string Text(reinterpret_cast<const char*>(AData), ASize);
  TProjectFile File;
  try {
    File = ReadQetProject(Text);
  } catch (const EProjectFileError& Error) {
    FUZZ_CHECK(Error.Message().rfind("Not a QElectroTech project: ", 0) == 0);
    FUZZ_CHECK(!CountOf(Text).Project);
    return 0;
  }
  const TCounts Counts = CountOf(Text);
  FUZZ_CHECK(Counts.Project);
  // Every conductor gives a record or a warning; report pairs add at most one record per
  // two placed elements.
  size_t ConductorWarnings = 0;
  for (const std::string& Warning : File.Warnings) {
    FUZZ_CHECK(Warning.rfind("folio ", 0) == 0);
    // "folio <page>: conductor …"; the rest of a warning may quote the file's texts.
    const size_t Subject = Warning.find_first_not_of("0123456789", 6);
    FUZZ_CHECK(Subject != std::string::npos && Subject > 6);
    if (Warning.compare(Subject, 12, ": conductor ") == 0) ++ConductorWarnings;
  }
  FUZZ_CHECK(File.Records.size() + ConductorWarnings >= Counts.Conductors);
  FUZZ_CHECK(File.Records.size() + ConductorWarnings <= Counts.Conductors + Counts.Elements / 2);
  for (const TConnectionRec& Rec : File.Records) {
    FUZZ_CHECK(!Rec.DesignationA.empty() && !Rec.DesignationB.empty());
    FUZZ_CHECK(Rec.PageA >= 1 && static_cast<size_t>(Rec.PageA) <= Counts.Folios);
    FUZZ_CHECK(Rec.PageB >= 1 && static_cast<size_t>(Rec.PageB) <= Counts.Folios);
  }
  FUZZ_CHECK(ReadQetProject(Text).Records == File.Records);
  if (AllUtf8(File.Records)) {
    const TProjectFile Back = ReadConnectionList(WriteConnectionList(File.Records));
    FUZZ_CHECK(Back.Records == File.Records);
    FUZZ_CHECK(Back.Warnings.empty());
  }
  return 0;
}
