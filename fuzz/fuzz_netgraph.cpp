// Connection records decoded over a small alphabet that hits every separator rule,
// letter-case twins, accents (precomposed and combining) and invalid UTF-8. The net graph
// built from them (record by record and in bulk), its nets, key values and condensed
// graphs are checked against plain reference models: pins identified by the collator's
// own sort key, nets by union-find, aspects by a direct reading of the separator rules.

#include <unicode/ucol.h>
#include <unicode/uiter.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "ReferenceCollator.h"
#include "UnionFind.h"
#include "model/CondensedGraph.h"
#include "model/KeyValues.h"
#include "model/TextCompare.h"
#include "model/Wiremaps.h"

namespace wiremap {
namespace {

const std::array<std::string, 32> kTokens{"=",
                                          "+",
                                          "-",
                                          ":",
                                          "^",
                                          ".",
                                          "..",
                                          "A",
                                          "a",
                                          "K1",
                                          "k1",
                                          "x",
                                          "X",
                                          "1",
                                          "10",
                                          "2",
                                          "é",
                                          "É",
                                          "e\xCC\x81",
                                          "ß",
                                          "ss",
                                          "SS",
                                          "Č",
                                          "č",
                                          " ",
                                          "\xC3",
                                          "\xFF",
                                          "\x80",
                                          "\xED\xA0\x80",
                                          std::string(1, '\0'),
                                          "_",
                                          "Ａ"};

constexpr size_t kMaxRecords = 64;
constexpr int32_t kMaxPins = 2 * static_cast<int32_t>(kMaxRecords);

// Decodes records; names already used come back now and then, in another letter case, so
// that pins meet again and nets grow.
class TRecordDecoder {
 public:
  explicit TRecordDecoder(TFuzzInput& AInput) : FInput(AInput) {}

  TConnectionRecs Records() {
    TConnectionRecs Records;
    while (!FInput.Empty() && Records.size() < kMaxRecords) {
      TConnectionRec R;
      R.DesignationA = Text();
      R.PinA = Text();
      R.PageA = Page();
      R.DesignationB = Text();
      R.PinB = Text();
      R.PageB = Page();
      R.WireName = Text();
      Records.push_back(std::move(R));
    }
    return Records;
  }

 private:
  std::string Text() {
    const uint8_t Head = FInput.Byte();
    if ((Head & 0x80) != 0 && !FSeen.empty()) {
      std::string Text = FSeen[Head % FSeen.size()];
      if ((Head & 0x40) != 0)
        for (char& C : Text) C = AsciiUpper(C);
      return Text;
    }
    std::string Text;
    for (int N = Head % 6; N > 0; --N) Text += kTokens[FInput.Byte() % kTokens.size()];
    FSeen.push_back(Text);
    return Text;
  }

  int32_t Page() {
    const uint8_t Value = FInput.Byte();
    if (Value == 0xFF) return std::numeric_limits<int32_t>::min();
    if (Value == 0xFE) return std::numeric_limits<int32_t>::max();
    return static_cast<int8_t>(Value);
  }

  TFuzzInput& FInput;
  std::vector<std::string> FSeen;
};

// ICU's sort key of a UTF-8 text at the comparison's strength, from a collator of its
// own: equal keys are the reference for "the same pin".
std::string ReferenceKey(const std::string& AText) {
  static const TReferenceCollator Collator("");
  return Collator.Key(AText);
}

// The graph as the records describe it, built without the code under test.
struct TReferenceGraph {
  struct TPin {
    std::string Name;
    std::vector<int32_t> Links;
    std::vector<std::string> Wires;
    int32_t Page = 0;
  };

  explicit TReferenceGraph(const TConnectionRecs& ARecords) {
    for (const TConnectionRec& R : ARecords) {
      const std::string NameA = R.DesignationA + ":" + R.PinA;
      const std::string NameB = R.DesignationB + ":" + R.PinB;
      if (ReferenceKey(NameA) == ReferenceKey(NameB)) continue;
      const int32_t A = PinOf(NameA), B = PinOf(NameB);
      Link(A, B, R.PageA, R.WireName);
      Link(B, A, R.PageB, R.WireName);
    }
  }

  int32_t PinOf(const std::string& AName) {
    const auto [Entry, Added] = FByKey.emplace(ReferenceKey(AName), Pins.size());
    if (Added) Pins.push_back({AName, {}, {}, 0});
    return Entry->second;
  }

  void Link(int32_t AFrom, int32_t ATo, int32_t APage, const std::string& AWire) {
    Pins[AFrom].Links.push_back(ATo);
    Pins[AFrom].Wires.push_back(AWire);
    Pins[AFrom].Page = APage;
  }

  std::vector<TPin> Pins;

 private:
  std::map<std::string, int32_t> FByKey;
};

// An aspect read straight from the separator rules: the last occurrence of its separator
// up to the next separator of any kind.
std::string ReferenceAspect(const std::string& AName, int32_t APage, TAspectKind AAspect) {
  if (AAspect == akPage) return std::to_string(APage);
  const size_t Start = AName.rfind("=+-:"[AAspect]);
  if (Start == std::string::npos) return "";
  const size_t End = AName.find_first_of("=+-:", Start + 1);
  return AName.substr(Start, End == std::string::npos ? std::string::npos : End - Start);
}

void CheckPins(const TWiremaps& AGraph, const TReferenceGraph& AReference) {
  FUZZ_CHECK(AGraph.GetPinCount() == static_cast<int32_t>(AReference.Pins.size()));
  for (int32_t N = 0; N < AGraph.GetPinCount(); ++N) {
    const TPinDescr* Pin = AGraph.GetPin(N);
    const TReferenceGraph::TPin& Expected = AReference.Pins[N];
    FUZZ_CHECK(Pin->Number == N);
    FUZZ_CHECK(Pin->Name == Expected.Name && AGraph.GetPinName(N) == Expected.Name);
    FUZZ_CHECK(Pin->Links == Expected.Links);
    FUZZ_CHECK(Pin->LinkWires == Expected.Wires);
    FUZZ_CHECK(Pin->Page == Expected.Page);
    FUZZ_CHECK(std::find(Pin->Links.begin(), Pin->Links.end(), N) == Pin->Links.end());
    for (const int32_t Q : Pin->Links) {
      const auto& Back = AReference.Pins[Q].Links;
      FUZZ_CHECK(std::count(Back.begin(), Back.end(), N) ==
                 std::count(Pin->Links.begin(), Pin->Links.end(), Q));
    }
    for (int K = 0; K < AspectCount; ++K) {
      const auto Aspect = static_cast<TAspectKind>(K);
      FUZZ_CHECK(Pin->GetAspect(Aspect) == ReferenceAspect(Pin->Name, Pin->Page, Aspect));
    }
  }
}

// Name order: positions are a permutation, ascending by the comparison and by the
// collator; looking a name up in any letter case finds its pin.
void CheckOrder(TWiremaps& AGraph) {
  const int32_t Count = AGraph.GetPinCount();
  std::vector<bool> Seen(Count, false);
  for (int32_t Position = 0; Position < Count; ++Position) {
    const TPinDescr* Pin = AGraph.GetSortedPin(Position);
    FUZZ_CHECK(AGraph.GetSortedName(Position) == Pin->Name);
    FUZZ_CHECK(AGraph.GetPosition(Pin->Number) == Position);
    FUZZ_CHECK(!Seen[Pin->Number]);
    Seen[Pin->Number] = true;
    if (Position == 0) continue;
    const std::string& Previous = AGraph.GetSortedName(Position - 1);
    FUZZ_CHECK(CompareText(Previous, Pin->Name) < 0);
    FUZZ_CHECK(ReferenceKey(Previous) < ReferenceKey(Pin->Name));
  }
  for (int32_t N = 0; N < Count; ++N) {
    std::string Upper = AGraph.GetPinName(N);
    for (char& C : Upper) C = AsciiUpper(C);
    FUZZ_CHECK(AGraph.FindOrAddPin(Upper)->Number == N);
  }
  FUZZ_CHECK(AGraph.GetPinCount() == Count);
}

// Every pin in exactly one NextInNet cycle, ascending by position from its one head;
// the cycles are the union-find groups of the reference links.
void CheckNets(TWiremaps& AGraph, const TReferenceGraph& AReference) {
  const int32_t Count = AGraph.GetPinCount();
  TUnionFind Groups(static_cast<size_t>(Count));
  for (int32_t N = 0; N < Count; ++N)
    for (const int32_t Q : AReference.Pins[N].Links) Groups.Join(N, Q);
  std::vector<int32_t> HeadOf(Count, -1);
  std::map<size_t, int32_t> HeadOfGroup;
  int32_t Heads = 0;
  for (int32_t Position = 0; Position < Count; ++Position) {
    const TPinDescr* Head = AGraph.GetSortedPin(Position);
    FUZZ_CHECK((Head->Flags & pfVisited) != 0);
    if ((Head->Flags & pfNetHead) == 0) continue;
    ++Heads;
    FUZZ_CHECK(HeadOfGroup.emplace(Groups.Find(Head->Number), Head->Number).second);
    int32_t Number = Head->Number, Last = Position;
    do {
      FUZZ_CHECK(Number >= 0 && Number < Count && HeadOf[Number] == -1);
      HeadOf[Number] = Head->Number;
      FUZZ_CHECK(Groups.Same(Number, Head->Number));
      Number = AGraph.GetPin(Number)->NextInNet;
      FUZZ_CHECK(Number >= 0 && Number < Count);
      if (Number == Head->Number) break;
      FUZZ_CHECK(AGraph.GetPosition(Number) > Last);
      FUZZ_CHECK((AGraph.GetPin(Number)->Flags & pfNetHead) == 0);
      Last = AGraph.GetPosition(Number);
    } while (true);
  }
  FUZZ_CHECK(Heads == AGraph.NetCount);
  FUZZ_CHECK(static_cast<size_t>(Heads) == Groups.GroupCount());
  for (int32_t N = 0; N < Count; ++N) FUZZ_CHECK(HeadOf[N] == HeadOfGroup.at(Groups.Find(N)));
}

// Sorted, distinct, first spelling kept, and every pin's Keys pointing at its value.
void CheckKeyValues(TWiremaps& AGraph, const TKeyValues& AValues) {
  for (int K = 0; K < AspectCount; ++K) {
    const auto Aspect = static_cast<TAspectKind>(K);
    const TSortedTextList& List = AValues.Lists[K];
    for (int I = 1; I < List.Count(); ++I) FUZZ_CHECK(CompareText(List[I - 1], List[I]) < 0);
    std::vector<bool> Spelled(List.Count(), false);
    for (int32_t N = 0; N < AGraph.GetPinCount(); ++N) {
      const TPinDescr* Pin = AGraph.GetPin(N);
      const int32_t Key = Pin->Keys[K];
      FUZZ_CHECK(Key >= 0 && Key < List.Count());
      const std::string Value = Pin->GetAspect(Aspect);
      FUZZ_CHECK(SameText(List[Key], Value));
      if (!Spelled[Key]) FUZZ_CHECK(List[Key] == Value);
      Spelled[Key] = true;
    }
    FUZZ_CHECK(std::find(Spelled.begin(), Spelled.end(), false) == Spelled.end());
  }
}

void CheckCondensed(TWiremaps& AGraph, const TKeyValues& AValues, TAspectKind AAspect) {
  TCondensedGraph Condensed;
  Condensed.Build(AGraph, AValues, AAspect);
  const TSortedTextList& List = AValues.Lists[AAspect];
  FUZZ_CHECK(Condensed.NodeCount == List.Count());
  FUZZ_CHECK(static_cast<int32_t>(Condensed.Weights.size()) == Condensed.NodeCount);
  std::vector<std::vector<int32_t>> Expected(List.Count());
  for (int I = 0; I < List.Count(); ++I) {
    FUZZ_CHECK(Condensed.NodeNames[I] == List[I]);
    Expected[I].assign(I + 1, 0);
  }
  for (int32_t P = 0; P < AGraph.GetPinCount(); ++P)
    for (const int32_t Q : AGraph.GetPin(P)->Links) {
      if (Q <= P) continue;
      const int32_t A = AGraph.GetPin(P)->Keys[AAspect], B = AGraph.GetPin(Q)->Keys[AAspect];
      ++Expected[std::max(A, B)][std::min(A, B)];
    }
  FUZZ_CHECK(Condensed.Weights == Expected);
  int32_t Max = 0;
  for (const auto& Row : Expected)
    for (const int32_t W : Row) Max = std::max(Max, W);
  FUZZ_CHECK(Condensed.MaxWeight == Max);

  Condensed.UpdateHighlight(AGraph, AAspect);
  std::vector<uint8_t> Lit(List.Count(), 0);
  for (int32_t P = 0; P < AGraph.GetPinCount(); ++P)
    if ((AGraph.GetPin(P)->Flags & pfMarked) != 0) Lit[AGraph.GetPin(P)->Keys[AAspect]] = 1;
  FUZZ_CHECK(Condensed.Highlighted == Lit);
}

void CheckMarks(TWiremaps& AGraph, int32_t APin) {
  AGraph.ClearMarks();
  AGraph.MarkNet(APin);
  const int32_t First = AGraph.GetPin(APin)->NextInNet;
  for (int32_t N = 0; N < AGraph.GetPinCount(); ++N) {
    bool InNet = N == APin;
    for (int32_t M = First; !InNet && M != APin; M = AGraph.GetPin(M)->NextInNet) InNet = M == N;
    FUZZ_CHECK(((AGraph.GetPin(N)->Flags & pfMarked) != 0) == InNet);
  }
}

// Loading record by record and in bulk must give the same graph.
void CheckSameGraph(const TWiremaps& A, const TWiremaps& B) {
  FUZZ_CHECK(A.GetPinCount() == B.GetPinCount());
  for (int32_t N = 0; N < A.GetPinCount(); ++N) {
    FUZZ_CHECK(A.GetPin(N)->Name == B.GetPin(N)->Name);
    FUZZ_CHECK(A.GetPin(N)->Links == B.GetPin(N)->Links);
    FUZZ_CHECK(A.GetPin(N)->LinkWires == B.GetPin(N)->LinkWires);
    FUZZ_CHECK(A.GetPin(N)->Page == B.GetPin(N)->Page);
    FUZZ_CHECK(A.GetPosition(N) == B.GetPosition(N));
  }
}

}  // namespace
}  // namespace wiremap

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
  using namespace wiremap;
  UseRootCollation();
  TFuzzInput Input(AData, ASize);
  const uint8_t MarkedPin = Input.Byte();
  const TConnectionRecs Records = TRecordDecoder(Input).Records();
  const TReferenceGraph Reference(Records);

  TWiremaps Graph;
  for (const TConnectionRec& R : Records)
    Graph.AddConnection(R.DesignationA + ":" + R.PinA, R.DesignationB + ":" + R.PinB, R.WireName,
                        R.PageA, R.PageB);
  TWiremaps Bulk;
  Bulk.AddConnections(Records);
  CheckPins(Graph, Reference);
  CheckSameGraph(Graph, Bulk);
  CheckOrder(Graph);
  FUZZ_CHECK(Graph.GetPinCount() <= kMaxPins);

  Graph.ComputeNets();
  CheckNets(Graph, Reference);
  const TKeyValues Values(Graph);
  CheckKeyValues(Graph, Values);
  if (Graph.GetPinCount() > 0) CheckMarks(Graph, MarkedPin % Graph.GetPinCount());
  for (int K = 0; K < AspectCount; ++K) CheckCondensed(Graph, Values, static_cast<TAspectKind>(K));

  Graph.Clear();
  FUZZ_CHECK(Graph.GetPinCount() == 0 && Graph.NetCount == 0);
  Graph.ComputeNets();
  FUZZ_CHECK(Graph.NetCount == 0);
  return 0;
}
