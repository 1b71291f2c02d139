// Reading project files: an editor project shaped like a large real one (many folios,
// elements with their definitions in the project's collection, conductors with all their
// display attributes), and a connection list of a million wires read and written.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "files/ProjectFile.h"
#include "model/TextCompare.h"

namespace {

using namespace wiremap;

struct TKind {
  const char* Name;
  const char* LinkType;
  int Terminals;
};

constexpr TKind Kinds[] = {{"coil", "master", 2},       {"contact", "slave", 4},
                           {"lamp", "simple", 2},       {"breaker", "simple", 4},
                           {"terminal", "terminal", 2}, {"motor", "simple", 3}};
constexpr int KindCount = static_cast<int>(std::size(Kinds));

std::string Uuid(int AGroup, int ANumber) {
  char Text[48];
  std::snprintf(Text, sizeof Text, "{%08x-4b2e-4c1a-9d3f-%012x}", AGroup, ANumber);
  return Text;
}

// Terminal J of a kind: on top (n) for even J, at the bottom (s) for odd J.
int TerminalX(int AIndex) {
  return (AIndex / 2) * 20 - 10;
}
int TerminalY(int AIndex) {
  return AIndex % 2 == 0 ? -30 : 30;
}

void AppendDefinition(const TKind& AKind, int AIndex, std::string& AOut) {
  AOut += "<element name=\"" + std::string(AKind.Name) +
          ".elmt\"><definition width=\"40\" "
          "height=\"60\" hotspot_x=\"20\" hotspot_y=\"30\" type=\"element\" link_type=\"" +
          AKind.LinkType + "\" version=\"0.80\" orientation=\"dyyy\"><uuid uuid=\"" +
          Uuid(0xDEF, AIndex) + "\"/><names>";
  for (const char* Language : {"de", "en", "es", "fr", "it", "nl", "pl", "pt", "ru", "cs"})
    AOut +=
        std::string("<name lang=\"") + Language + "\">" + AKind.Name + " " + Language + "</name>";
  AOut +=
      "</names><informations>Author: bench\nLicense: see the project</informations>"
      "<description>";
  for (int Line = 0; Line < 24; ++Line)
    AOut += "<line x1=\"-10\" y1=\"" + std::to_string(Line) + "\" x2=\"10\" y2=\"" +
            std::to_string(Line + 1) +
            "\" length1=\"1.5\" length2=\"1.5\" end1=\"none\" end2=\"none\" "
            "style=\"line-style:normal;line-weight:normal;filling:none;color:black\" "
            "antialias=\"false\"/>";
  AOut +=
      "<rect x=\"-15\" y=\"-20\" width=\"30\" height=\"40\" style=\"line-style:normal\"/>"
      "<dynamic_text x=\"20\" y=\"-10\" z=\"1\" text_from=\"ElementInfo\" font_size=\"9\">"
      "<text></text><info_name>label</info_name></dynamic_text>";
  for (int J = 0; J < AKind.Terminals; ++J)
    AOut += "<terminal x=\"" + std::to_string(TerminalX(J)) + "\" y=\"" +
            std::to_string(TerminalY(J)) + "\" orientation=\"" + (J % 2 == 0 ? "n" : "s") +
            "\" uuid=\"" + Uuid(0x7E4 + AIndex, J) + "\" name=\"\" number=\"\" nameHidden=\"0\"/>";
  AOut += "</description></definition></element>";
}

void AppendElement(const TKind& AKind, int AKindIndex, int AFolio, int ANumber, int& AId,
                   std::string& AOut) {
  AOut += "<element type=\"embed://import/10_electric/" + std::string(AKind.Name) +
          ".elmt\" uuid=\"" + Uuid(AFolio, ANumber) + "\" x=\"" + std::to_string(ANumber * 40) +
          "\" y=\"200\" z=\"10\" orientation=\"0\" prefix=\"\" freezeLabel=\"false\"><terminals>";
  for (int J = 0; J < AKind.Terminals; ++J)
    AOut += "<terminal x=\"" + std::to_string(TerminalX(J)) + "\" y=\"" +
            std::to_string(TerminalY(J) + (J % 2 == 0 ? 4 : -4)) + "\" orientation=\"" +
            (J % 2 == 0 ? "0" : "2") + "\" id=\"" + std::to_string(AId++) + "\"/>";
  AOut += "</terminals><inputs/><elementInformations>";
  const std::string Label = ANumber % 7 == 6 ? ""
                                             : std::string(1, "KQHFXM"[AKindIndex]) +
                                                   std::to_string(AFolio * 100 + ANumber);
  for (const char* Info : {"comment", "description", "designation", "manufacturer",
                           "manufacturer_reference", "quantity", "supplier", "unity", "plant"})
    AOut += std::string("<elementInformation show=\"1\" name=\"") + Info + "\">" + Info +
            " text</elementInformation>";
  AOut += "<elementInformation show=\"1\" name=\"label\">" + Label +
          "</elementInformation></elementInformations><dynamic_texts><dynamic_elmt_text "
          "x=\"20\" y=\"-10\" rotation=\"0\" uuid=\"" +
          Uuid(AFolio + 0x100, ANumber) +
          "\" font=\"Sans Serif,9,-1,5,50,0,0,0,0,0\" text_from=\"ElementInfo\" frame=\"false\" "
          "Halignment=\"AlignLeft\" Valignment=\"AlignTop\"><text>" +
          Label +
          "</text><info_name>label</info_name></dynamic_elmt_text></dynamic_texts>"
          "<texts_groups/></element>";
}

// About 3.5 MB: the size of the editor's largest public example project.
std::string MakeProject() {
  std::mt19937 Random(7);
  std::string Out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<project title=\"Bench plant\" "
      "version=\"0.90\" folioSheetQuantity=\"0\">";
  constexpr int Folios = 58, ElementsPerFolio = 24;
  for (int Folio = 1; Folio <= Folios; ++Folio) {
    Out += "<diagram title=\"Folio " + std::to_string(Folio) +
           "\" author=\"bench\" cols=\"17\" rows=\"8\" colsize=\"60\" rowsize=\"80\" "
           "height=\"660\" order=\"" +
           std::to_string(Folio) +
           "\" version=\"0.90\"><defaultconductor type=\"multi\"/>"
           "<elements>";
    int Id = 0;
    std::vector<std::pair<int, int>> Terminals;  // element, terminal index
    for (int Number = 0; Number < ElementsPerFolio; ++Number) {
      const int KindIndex = static_cast<int>(Random() % KindCount);
      for (int J = 0; J < Kinds[KindIndex].Terminals; ++J) Terminals.emplace_back(Number, Id + J);
      AppendElement(Kinds[KindIndex], KindIndex, Folio, Number, Id, Out);
    }
    Out += "</elements><conductors>";
    for (size_t C = 0; C + 1 < Terminals.size(); C += 1 + Random() % 2) {
      const auto A = Terminals[C], B = Terminals[(C + 1 + Random() % 5) % Terminals.size()];
      Out += "<conductor x=\"0\" y=\"0\" terminal1=\"" + std::to_string(A.second) +
             "\" terminal2=\"" + std::to_string(B.second) + "\" num=\"" +
             std::to_string(Folio * 1000 + static_cast<int>(C)) +
             "\" type=\"multi\" displaytext=\"1\" onetextperfolio=\"0\" numsize=\"7\" "
             "condsize=\"1\" conductor_color=\"\" conductor_section=\"1.5mm2\" function=\"\" "
             "tension_protocol=\"\" formula=\"\" cable=\"\" bus=\"\" color2=\"#000000\" "
             "dash-size=\"2\" bicolor=\"false\" horizrotatetext=\"0\" vertirotatetext=\"270\" "
             "text_color=\"#000000\" freezeLabel=\"false\"><sequentialNumbers/>"
             "<segment orientation=\"horizontal\" length=\"40\"/>"
             "<segment orientation=\"vertical\" length=\"25\"/></conductor>";
    }
    Out += "</conductors><inputs/><shapes/></diagram>";
  }
  Out += "<collection><category name=\"import\"><category name=\"10_electric\">";
  for (int K = 0; K < KindCount; ++K) AppendDefinition(Kinds[K], K, Out);
  Out += "</category></category></collection></project>";
  return Out;
}

void BM_ReadQetProject(benchmark::State& AState) {
  SetCollationLocale("C");
  const std::string Text = MakeProject();
  size_t Records = 0;
  for (auto _ : AState) Records = ReadQetProject(Text).Records.size();
  AState.counters["bytes"] = static_cast<double>(Text.size());
  AState.counters["records"] = static_cast<double>(Records);
}
BENCHMARK(BM_ReadQetProject)->Unit(benchmark::kMillisecond);

// A text and a number, built by appending (GCC 12 warns falsely of "literal" + string).
std::string Numbered(const char* APrefix, std::mt19937::result_type ANumber) {
  return std::string(APrefix).append(std::to_string(ANumber));
}

TConnectionRecs MakeRecords(int ACount) {
  std::mt19937 Random(11);
  TConnectionRecs Records(static_cast<size_t>(ACount));
  auto Designation = [&] {
    return Numbered("=A", Random() % 20) + Numbered("+S", Random() % 50) +
           Numbered("-K", Random() % 400);
  };
  for (TConnectionRec& Rec : Records) {
    Rec = {Designation(),
           Numbered("", Random() % 24),
           static_cast<int32_t>(Random() % 300),
           Designation(),
           Numbered("", Random() % 24),
           static_cast<int32_t>(Random() % 300),
           Random() % 5 == 0 ? "" : Numbered("W", Random() % 100000)};
  }
  return Records;
}

void BM_WriteConnectionList(benchmark::State& AState) {
  const TConnectionRecs Records = MakeRecords(1'000'000);
  size_t Bytes = 0;
  for (auto _ : AState) Bytes = WriteConnectionList(Records).size();
  AState.counters["bytes"] = static_cast<double>(Bytes);
}
BENCHMARK(BM_WriteConnectionList)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadConnectionList(benchmark::State& AState) {
  const std::string Text = WriteConnectionList(MakeRecords(1'000'000));
  for (auto _ : AState) benchmark::DoNotOptimize(ReadConnectionList(Text));
  AState.counters["bytes"] = static_cast<double>(Text.size());
}
BENCHMARK(BM_ReadConnectionList)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
