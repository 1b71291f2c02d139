#include "host/SimConnections.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>

#include "model/DisjointSets.h"
#include "model/TextCompare.h"

namespace wiremap {
namespace {

struct TPointKey {
  int32_t X, Y, Z, Layer, Page;
  bool operator==(const TPointKey&) const = default;
};

struct TPointKeyHash {
  size_t operator()(const TPointKey& AKey) const {
    uint64_t Hash = 0;
    for (int32_t Part : {AKey.X, AKey.Y, AKey.Z, AKey.Layer, AKey.Page})
      Hash = (Hash ^ static_cast<uint32_t>(Part)) * 0x100000001B3ULL + (Hash >> 29);
    return static_cast<size_t>(Hash);
  }
};

// The distinct points of the drawing, joined into groups.
class TPointJoiner {
 public:
  int32_t Node(const THostPosition& APosition, int32_t ALayer, int32_t APage) {
    const TPointKey Key{APosition.X, APosition.Y, APosition.Z, ALayer, APage};
    const auto [It, Added] = FNodes.try_emplace(Key, static_cast<int32_t>(FSets.Count()));
    if (Added) FSets.Add();
    return It->second;
  }

  int32_t Root(int32_t ANode) { return FSets.Root(ANode); }
  void Join(int32_t A, int32_t B) { FSets.Join(A, B); }

 private:
  std::unordered_map<TPointKey, int32_t, TPointKeyHash> FNodes;
  TDisjointSets FSets;
};

bool IsSkippedType(int32_t AType) {
  switch (AType) {
    case TSimType::Head:
    case TSimType::Ignore:
    case TSimType::NoneElectric:
    case TSimType::Support:
    case TSimType::Insertion:
    case TSimType::Measure:
    case TSimType::LineConnect:
      return true;
    default:
      return false;
  }
}

bool IsBranch(int32_t AType) {
  return (AType & 0xFF) == TSimType::Branch;
}

std::string SignalNameOf(const TSimSymbol& ASymbol) {
  return ASymbol.SignalName.empty() ? ASymbol.Name + ":unknown_variant" : ASymbol.SignalName;
}

// One pin that a connection can name.
struct TPinEnd {
  int32_t Handle, Pin, Page, Node;
};

// Gathers the points of a drawing page by page, then chains the pins of each net.
class TConnectionBuilder {
 public:
  void AddPage(const TSimPage& APage, int32_t APageIndex) {
    if (APage.PageKind != 0) return;
    for (const TSimSymbol& Symbol : APage.Symbols)
      if (Symbol.Active && !IsSkippedType(Symbol.SymbolType)) AddSymbol(Symbol, APageIndex);
    for (const TSimLine& Line : APage.Lines)
      if (Line.Active && Line.Electric) AddLine(Line, APageIndex);
  }

  TSimConnections Chains() {
    std::unordered_map<int32_t, int32_t> WireOfRoot;
    for (const auto& [Node, Handle] : FWireNumbers)
      WireOfRoot.try_emplace(FJoiner.Root(Node), Handle);

    std::unordered_map<int32_t, size_t> NetOfRoot;
    std::vector<std::vector<const TPinEnd*>> Nets;
    for (const TPinEnd& End : FEnds) {
      const auto [It, Added] = NetOfRoot.try_emplace(FJoiner.Root(End.Node), Nets.size());
      if (Added) Nets.emplace_back();
      Nets[It->second].push_back(&End);
    }

    TSimConnections Connections;
    for (const auto& Net : Nets) {
      const auto Wire = WireOfRoot.find(FJoiner.Root(Net.front()->Node));
      const int32_t WireHandle = Wire == WireOfRoot.end() ? 0 : Wire->second;
      for (size_t I = 1; I < Net.size(); ++I) {
        const TPinEnd& A = *Net[I - 1];
        const TPinEnd& B = *Net[I];
        Connections.push_back({A.Handle, A.Pin, A.Page, B.Handle, B.Pin, B.Page, WireHandle});
      }
    }
    return Connections;
  }

 private:
  void AddSymbol(const TSimSymbol& ASymbol, int32_t APageIndex) {
    std::vector<int32_t> Nodes;
    for (const TSimPin& Pin : ASymbol.Pins)
      Nodes.push_back(FJoiner.Node(Pin.Position, ASymbol.Layer, APageIndex));
    if (Nodes.empty()) return;

    if (IsBranch(ASymbol.SymbolType)) {
      for (int32_t Node : Nodes) FJoiner.Join(Nodes.front(), Node);
    } else if (ASymbol.SymbolType == TSimType::Signal) {
      const auto [It, Added] =
          FSignals.try_emplace(CollationKey(SignalNameOf(ASymbol)), Nodes.front());
      for (int32_t Node : Nodes) FJoiner.Join(It->second, Node);
    } else if (ASymbol.SymbolType == TSimType::WireNumber) {
      for (int32_t Node : Nodes) FWireNumbers.emplace_back(Node, ASymbol.Handle);
    } else {
      for (size_t Pin = 0; Pin < Nodes.size(); ++Pin)
        FEnds.push_back({ASymbol.Handle, static_cast<int32_t>(Pin), APageIndex + 1, Nodes[Pin]});
    }
  }

  void AddLine(const TSimLine& ALine, int32_t APageIndex) {
    int32_t Previous = -1;
    for (const THostPosition& Vertex : ALine.Vertices) {
      const int32_t Node = FJoiner.Node(Vertex, ALine.Layer, APageIndex);
      if (Previous >= 0) FJoiner.Join(Previous, Node);
      Previous = Node;
    }
  }

  TPointJoiner FJoiner;
  std::vector<TPinEnd> FEnds;
  std::vector<std::pair<int32_t, int32_t>> FWireNumbers;  // node, symbol handle
  std::unordered_map<std::string, int32_t> FSignals;      // collation key, first node
};

}  // namespace

TSimConnections ComputeSimConnections(const TSimDrawing& ADrawing) {
  TConnectionBuilder Builder;
  for (size_t Page = 0; Page < ADrawing.Pages.size(); ++Page)
    Builder.AddPage(ADrawing.Pages[Page], static_cast<int32_t>(Page));
  return Builder.Chains();
}

}  // namespace wiremap
