#include "files/QetProjectReader.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/TextCompare.h"

namespace wiremap {

namespace {

// A terminal of an element definition, at the point where conductors dock.
struct TDefTerminal {
  double X = 0, Y = 0;
  int Orientation = 0;  // 0 to 3: north, east, south, west
  std::string Uuid;
  std::string Name;
};

// A docking point and orientation on a millionth-unit grid: placed terminals are matched
// to their definition's by it, through a hash, so that elements of thousands of terminals
// cost no more than a look-up each.
struct TDockKey {
  int64_t X = 0, Y = 0;
  int Orientation = 0;
  bool operator==(const TDockKey&) const = default;
};

struct TDockKeyHash {
  size_t operator()(const TDockKey& AKey) const {
    // Unsigned, so that far-out coordinates wrap instead of overflowing.
    const uint64_t Mixed = static_cast<uint64_t>(AKey.X) * 1000003u +
                           static_cast<uint64_t>(AKey.Y) * 31u +
                           static_cast<uint64_t>(AKey.Orientation);
    return std::hash<uint64_t>()(Mixed);
  }
};

struct TDefinition {
  std::string LinkType;
  std::vector<TDefTerminal> Terminals;
  // Definition terminals by uuid (the first of a repeated one).
  std::unordered_map<std::string, size_t> ByUuid;
  // Definition terminals by docking point, in definition order.
  std::unordered_map<TDockKey, std::vector<size_t>, TDockKeyHash> ByDock;
};

// One placed element that survived loading.
struct TElement {
  int Page = 0;
  int Position = 0;  // on its folio, from 1, skipped elements counted
  std::string Uuid;
  const TDefinition* Definition = nullptr;
  std::string Label;
  bool PotentialIsolating = false;
  std::vector<std::string> Links;
  std::vector<std::string> InstanceNames;  // by definition terminal; empty: none
  // What the records say: designation and pin per definition terminal.
  std::string Designation;
  std::vector<std::string> Pins;
  bool Wired = false;
};

// An element's terminal: element index, definition terminal index.
using TTerminalRef = std::pair<size_t, size_t>;

struct TFolio {
  int Page = 0;
  pugi::xml_node Node;
  std::unordered_map<int, TTerminalRef> TerminalsById;
  std::unordered_map<std::string, size_t> ElementsByUuid;
};

std::string_view Trimmed(std::string_view AText) {
  const char* Blanks = " \t\r\n";
  const size_t Begin = AText.find_first_not_of(Blanks);
  if (Begin == std::string_view::npos) return {};
  return AText.substr(Begin, AText.find_last_not_of(Blanks) - Begin + 1);
}

// Uuids are written with and without braces, in either case.
std::string NormalUuid(std::string_view AText) {
  std::string_view Text = Trimmed(AText);
  if (!Text.empty() && Text.front() == '{') Text.remove_prefix(1);
  if (!Text.empty() && Text.back() == '}') Text.remove_suffix(1);
  std::string Result(Text);
  for (char& C : Result)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  return Result;
}

bool ParseDouble(const char* AText, double& AValue) {
  const std::string_view Text = Trimmed(AText);
  if (Text.empty()) return false;
  const char* Begin = Text.data() + (Text.front() == '+' ? 1 : 0);
  const auto Result = std::from_chars(Begin, Text.data() + Text.size(), AValue);
  return Result.ec == std::errc() && Result.ptr == Text.data() + Text.size();
}

bool ParseInt(const char* AText, int& AValue) {
  const std::string_view Text = Trimmed(AText);
  if (Text.empty()) return false;
  const char* Begin = Text.data() + (Text.front() == '+' ? 1 : 0);
  const auto Result = std::from_chars(Begin, Text.data() + Text.size(), AValue);
  return Result.ec == std::errc() && Result.ptr == Text.data() + Text.size();
}

// False for coordinates no drawing has (beyond a billion units, or not numbers).
bool DockKeyOf(double AX, double AY, int AOrientation, TDockKey& AKey) {
  constexpr double Limit = 1e9;
  if (!(std::fabs(AX) < Limit && std::fabs(AY) < Limit)) return false;
  AKey = {std::llround(AX * 1e6), std::llround(AY * 1e6), AOrientation};
  return true;
}

int OrientationOf(std::string_view ALetter) {
  if (ALetter == "n") return 0;
  if (ALetter == "e") return 1;
  if (ALetter == "s") return 2;
  if (ALetter == "w") return 3;
  return -1;
}

TDefinition ReadDefinition(pugi::xml_node ADefinition) {
  TDefinition Result;
  Result.LinkType = ADefinition.attribute("link_type").value();
  for (pugi::xml_node Node : ADefinition.child("description").children("terminal")) {
    TDefTerminal Terminal;
    Terminal.Orientation = OrientationOf(Node.attribute("orientation").value());
    if (Terminal.Orientation < 0 || !ParseDouble(Node.attribute("x").value(), Terminal.X) ||
        !ParseDouble(Node.attribute("y").value(), Terminal.Y))
      continue;
    // The docking point lies four units inward from the drawn terminal end.
    static constexpr double Inward[4][2] = {{0, 4}, {-4, 0}, {0, -4}, {4, 0}};
    Terminal.X += Inward[Terminal.Orientation][0];
    Terminal.Y += Inward[Terminal.Orientation][1];
    Terminal.Uuid = NormalUuid(Node.attribute("uuid").value());
    Terminal.Name = Node.attribute("name").value();
    if (!Terminal.Uuid.empty()) Result.ByUuid.emplace(Terminal.Uuid, Result.Terminals.size());
    TDockKey Key;
    if (DockKeyOf(Terminal.X, Terminal.Y, Terminal.Orientation, Key))
      Result.ByDock[Key].push_back(Result.Terminals.size());
    Result.Terminals.push_back(std::move(Terminal));
  }
  return Result;
}

// Element definitions by the path an element's type names ("import/…/x.elmt").
std::unordered_map<std::string, TDefinition> ReadCollection(pugi::xml_node ACollection) {
  std::unordered_map<std::string, TDefinition> Definitions;
  std::vector<std::pair<pugi::xml_node, std::string>> Pending{{ACollection, ""}};
  while (!Pending.empty()) {
    auto [Node, Prefix] = std::move(Pending.back());
    Pending.pop_back();
    for (pugi::xml_node Child : Node.children()) {
      const std::string Name = Child.attribute("name").value();
      if (std::strcmp(Child.name(), "category") == 0)
        Pending.emplace_back(Child, Prefix + Name + "/");
      else if (std::strcmp(Child.name(), "element") == 0)
        Definitions.emplace(Prefix + Name, ReadDefinition(Child.child("definition")));
    }
  }
  return Definitions;
}

std::string Information(pugi::xml_node AElement, const char* AName) {
  for (pugi::xml_node Info : AElement.child("elementInformations").children("elementInformation"))
    if (std::strcmp(Info.attribute("name").value(), AName) == 0)
      return std::string(Trimmed(Info.child_value()));
  return {};
}

bool IsReport(const TElement& AElement) {
  const std::string& Type = AElement.Definition->LinkType;
  return Type == "next_report" || Type == "previous_report";
}

struct TInstanceTerminal {
  double X = 0, Y = 0;
  int Orientation = 0, Id = 0;
  const char* Name = "";
};

}  // namespace

struct TQetProjectReader::TState {
  TProjectFile Result;
  std::unordered_map<std::string, TDefinition> Definitions;
  std::vector<TFolio> Folios;
  std::vector<TElement> Elements;
  std::unordered_map<std::string, size_t> ElementsByUuid;

  void Warn(int APage, const std::string& AText) {
    Result.Warnings.push_back("folio " + std::to_string(APage) + ": " + AText);
  }

  void ReadElement(TFolio& AFolio, pugi::xml_node ANode, int APosition);
  void ReadFolio(TFolio& AFolio);
  void NameElements();
  void NamePins(TElement& AElement, std::unordered_map<std::string, int>& AUnnamed);
  bool Resolve(const TFolio& AFolio, pugi::xml_node AConductor, int AEnd, TTerminalRef& ARef);
  void ReadConductors(const TFolio& AFolio);
  void AddRecord(const TTerminalRef& A, const TTerminalRef& B, std::string AWire);
  void JoinReports();
};

void TQetProjectReader::TState::ReadElement(TFolio& AFolio, pugi::xml_node ANode, int APosition) {
  const std::string Type = ANode.attribute("type").value();
  const std::string_view Embedded = "embed://";
  const auto Found = Type.compare(0, Embedded.size(), Embedded) == 0
                         ? Definitions.find(Type.substr(Embedded.size()))
                         : Definitions.end();
  const std::string What = "element " + std::to_string(APosition) + " skipped: ";
  if (Found == Definitions.end()) {
    Warn(AFolio.Page, What + "its definition \"" + Type + "\" is not in the project");
    return;
  }
  TElement Element;
  Element.Page = AFolio.Page;
  Element.Position = APosition;
  Element.Definition = &Found->second;
  const auto& DefTerminals = Element.Definition->Terminals;
  Element.InstanceNames.resize(DefTerminals.size());

  std::vector<TInstanceTerminal> Instances;
  for (pugi::xml_node Node : ANode.child("terminals").children("terminal")) {
    TInstanceTerminal T;
    if (!ParseDouble(Node.attribute("x").value(), T.X) ||
        !ParseDouble(Node.attribute("y").value(), T.Y) ||
        !ParseInt(Node.attribute("id").value(), T.Id) ||
        !ParseInt(Node.attribute("orientation").value(), T.Orientation) || T.Orientation < 0 ||
        T.Orientation > 3)
      continue;
    T.Name = Node.attribute("name").value();
    Instances.push_back(T);
  }
  // Every definition terminal takes the ids of the instance terminals at its point; where
  // points repeat, the last definition terminal keeps the id, as in the editor.
  std::unordered_map<int, size_t> Ids;
  for (const TInstanceTerminal& T : Instances) {
    TDockKey Key;
    if (!DockKeyOf(T.X, T.Y, T.Orientation, Key)) continue;
    const auto Dock = Element.Definition->ByDock.find(Key);
    if (Dock == Element.Definition->ByDock.end()) continue;
    for (const size_t J : Dock->second) {
      const auto [Slot, Added] = Ids.emplace(T.Id, J);
      if (!Added) Slot->second = std::max(Slot->second, J);
      if (*T.Name != '\0') Element.InstanceNames[J] = T.Name;
    }
  }
  for (const auto& [Id, Terminal] : Ids) {
    if (AFolio.TerminalsById.count(Id) != 0) {
      Warn(AFolio.Page,
           What + "its terminal id " + std::to_string(Id) + " is already used on the folio");
      return;
    }
  }
  const size_t Index = Elements.size();
  for (const auto& [Id, Terminal] : Ids)
    AFolio.TerminalsById.emplace(Id, TTerminalRef{Index, Terminal});

  Element.Uuid = NormalUuid(ANode.attribute("uuid").value());
  Element.Label = Information(ANode, "label");
  if (Element.Label == "_") Element.Label.clear();
  Element.PotentialIsolating = Information(ANode, "potential_isolating") == "true";
  for (pugi::xml_node Link : ANode.child("links_uuids").children("link_uuid"))
    Element.Links.push_back(NormalUuid(Link.attribute("uuid").value()));
  if (!Element.Uuid.empty()) {
    AFolio.ElementsByUuid.emplace(Element.Uuid, Index);
    ElementsByUuid.emplace(Element.Uuid, Index);
  }
  Elements.push_back(std::move(Element));
}

void TQetProjectReader::TState::ReadFolio(TFolio& AFolio) {
  int Position = 0;
  for (pugi::xml_node List : AFolio.Node.children("elements"))
    for (pugi::xml_node Node : List.children("element")) ReadElement(AFolio, Node, ++Position);
}

void TQetProjectReader::TState::NameElements() {
  for (TElement& Element : Elements) {
    Element.Designation = Element.Label;
    if (Element.Designation.empty() && Element.Definition->LinkType == "slave") {
      for (const std::string& Link : Element.Links) {
        const auto Master = ElementsByUuid.find(Link);
        if (Master == ElementsByUuid.end()) continue;
        Element.Designation = Elements[Master->second].Label;
        break;
      }
    }
    if (Element.Designation.empty())
      Element.Designation =
          "?" + std::to_string(Element.Page) + "." + std::to_string(Element.Position);
  }
  // Unnamed terminals are numbered per designation across the whole project.
  std::unordered_map<std::string, int> Unnamed;
  for (TElement& Element : Elements) NamePins(Element, Unnamed);
}

void TQetProjectReader::TState::NamePins(TElement& AElement,
                                         std::unordered_map<std::string, int>& AUnnamed) {
  const auto& DefTerminals = AElement.Definition->Terminals;
  const auto NextUnnamed = [&] {
    return "#" + std::to_string(++AUnnamed[CollationKey(AElement.Designation)]);
  };
  if (AElement.Definition->LinkType == "terminal" && !AElement.PotentialIsolating) {
    // A terminal block is one pin, whichever side a wire lands on.
    std::string Pin;
    const size_t Colon = AElement.Label.find(':');
    if (Colon != std::string::npos) {
      AElement.Designation = AElement.Label.substr(0, Colon);
      Pin = AElement.Label.substr(Colon + 1);
    } else {
      Pin = NextUnnamed();
    }
    AElement.Pins.assign(DefTerminals.size(), Pin);
    return;
  }
  AElement.Pins.reserve(DefTerminals.size());
  for (size_t J = 0; J < DefTerminals.size(); ++J) {
    std::string Name(Trimmed(AElement.InstanceNames[J]));
    if (Name.empty() || Name == "_") Name = Trimmed(DefTerminals[J].Name);
    if (Name.empty() || Name == "_") Name = NextUnnamed();
    AElement.Pins.push_back(std::move(Name));
  }
}

bool TQetProjectReader::TState::Resolve(const TFolio& AFolio, pugi::xml_node AConductor, int AEnd,
                                        TTerminalRef& ARef) {
  const std::string Suffix = std::to_string(AEnd);
  const pugi::xml_attribute ElementUuid = AConductor.attribute(("element" + Suffix).c_str());
  const char* TerminalText = AConductor.attribute(("terminal" + Suffix).c_str()).value();
  if (ElementUuid) {
    const auto Found = AFolio.ElementsByUuid.find(NormalUuid(ElementUuid.value()));
    if (Found == AFolio.ElementsByUuid.end()) return false;
    const auto& ByUuid = Elements[Found->second].Definition->ByUuid;
    const auto Terminal = ByUuid.find(NormalUuid(TerminalText));
    if (Terminal == ByUuid.end()) return false;
    ARef = {Found->second, Terminal->second};
    return true;
  }
  int Id = 0;
  if (!ParseInt(TerminalText, Id)) return false;
  const auto Found = AFolio.TerminalsById.find(Id);
  if (Found == AFolio.TerminalsById.end()) return false;
  ARef = Found->second;
  return true;
}

void TQetProjectReader::TState::AddRecord(const TTerminalRef& A, const TTerminalRef& B,
                                          std::string AWire) {
  const TElement& ElementA = Elements[A.first];
  const TElement& ElementB = Elements[B.first];
  Result.Records.push_back({ElementA.Designation, ElementA.Pins[A.second], ElementA.Page,
                            ElementB.Designation, ElementB.Pins[B.second], ElementB.Page,
                            std::move(AWire)});
}

void TQetProjectReader::TState::ReadConductors(const TFolio& AFolio) {
  std::set<std::pair<TTerminalRef, TTerminalRef>> Pairs;
  int Position = 0;
  for (pugi::xml_node List : AFolio.Node.children("conductors")) {
    for (pugi::xml_node Node : List.children("conductor")) {
      const std::string What = "conductor " + std::to_string(++Position) + " skipped: ";
      TTerminalRef Ends[2];
      bool Resolved = true;
      for (int End = 1; End <= 2 && Resolved; ++End) {
        Resolved = Resolve(AFolio, Node, End, Ends[End - 1]);
        if (!Resolved)
          Warn(AFolio.Page,
               What + "end " + std::to_string(End) + " names no terminal of the folio");
      }
      if (!Resolved) continue;
      if (Ends[0] == Ends[1]) {
        Warn(AFolio.Page, What + "both ends are one terminal");
        continue;
      }
      if (!Pairs.insert(std::minmax(Ends[0], Ends[1])).second) {
        Warn(AFolio.Page, What + "another conductor joins the same two terminals");
        continue;
      }
      Elements[Ends[0].first].Wired = true;
      Elements[Ends[1].first].Wired = true;
      AddRecord(Ends[0], Ends[1], std::string(Trimmed(Node.attribute("num").value())));
    }
  }
}

void TQetProjectReader::TState::JoinReports() {
  std::set<std::pair<size_t, size_t>> Joined;
  for (size_t I = 0; I < Elements.size(); ++I) {
    const TElement& Element = Elements[I];
    if (!IsReport(Element)) continue;
    for (const std::string& Link : Element.Links) {
      const auto Found = ElementsByUuid.find(Link);
      if (Found == ElementsByUuid.end() || Found->second == I) continue;
      const TElement& Other = Elements[Found->second];
      if (!IsReport(Other) || !Element.Wired || !Other.Wired) continue;
      if (Element.Pins.empty() || Other.Pins.empty()) continue;
      if (!Joined.insert(std::minmax(I, Found->second)).second) continue;
      AddRecord({I, 0}, {Found->second, 0}, "");
    }
  }
}

TQetProjectReader::TQetProjectReader() = default;
TQetProjectReader::~TQetProjectReader() = default;

TProjectFile TQetProjectReader::Read(const std::string& AText) {
  FState = std::make_unique<TState>();
  TState& S = *FState;
  pugi::xml_document Document;
  // The default options neither expand entities a document type declares nor load
  // external ones: only the five predefined entities and character references count.
  const pugi::xml_parse_result Parsed =
      Document.load_buffer(AText.data(), AText.size(), pugi::parse_default, pugi::encoding_auto);
  if (!Parsed) {
    std::string Description = Parsed.description();
    if (!Description.empty() && Description[0] >= 'A' && Description[0] <= 'Z')
      Description[0] = static_cast<char>(Description[0] - 'A' + 'a');
    throw EProjectFileError("Not a QElectroTech project: " + Description + " at byte " +
                            std::to_string(Parsed.offset));
  }
  const pugi::xml_node Project = Document.document_element();
  if (std::strcmp(Project.name(), "project") != 0)
    throw EProjectFileError("Not a QElectroTech project: the document element is <" +
                            std::string(Project.name()) + ">, not <project>");
  S.Result.Name = Trimmed(Project.attribute("title").value());
  S.Definitions = ReadCollection(Project.child("collection"));
  for (pugi::xml_node Node : Project.children("diagram")) {
    TFolio& Folio = S.Folios.emplace_back();
    Folio.Page = static_cast<int>(S.Folios.size());
    Folio.Node = Node;
  }
  for (TFolio& Folio : S.Folios) S.ReadFolio(Folio);
  S.NameElements();
  for (const TFolio& Folio : S.Folios) S.ReadConductors(Folio);
  S.JoinReports();
  TProjectFile Result = std::move(S.Result);
  FState.reset();
  return Result;
}

TProjectFile ReadQetProject(const std::string& AText) {
  return TQetProjectReader().Read(AText);
}

}  // namespace wiremap
