#include "rawdata/RawDataRun.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "CollationLocale.h"
#include "UnionFind.h"
#include "host/DemoDrawing.h"
#include "host/SimConnections.h"

namespace wiremap {
namespace {

using TNet = std::set<std::string>;

// The demo drawing read by geometry and the host's own connection list must tell the same
// nets once both are keyed by designation and pin name (so a terminal's two clamps,
// which carry one name, join the nets on either side). Wire number symbols sit on nets
// without being endpoints of the host's connections, so they are left aside.
TEST(RawDataRun, DemoNetsAgreeWithTheHostsConnectionList) {
  const TCollationLocale Locale("en_US");
  std::map<int32_t, const TSimSymbol*> Symbols;
  for (const TSimPage& Page : DemoDrawing().Pages)
    for (const TSimSymbol& Symbol : Page.Symbols) Symbols[Symbol.Handle] = &Symbol;
  auto Key = [&](int32_t AHandle, int32_t APin) {
    const TSimSymbol& Symbol = *Symbols.at(AHandle);
    return Symbol.Name + ":" + Symbol.Pins.at(static_cast<size_t>(APin)).Name;
  };

  TRawDataRun Run;
  Run.Execute([](const std::exception& AError) { FAIL() << AError.what(); });
  TNameGroups Geometric;
  std::set<std::string> Alone;  // pins that are a net of their own
  for (const auto& Net : Run.Nets) {
    std::vector<std::string> Names;
    for (const TPinRef& Pin : Net)
      if ((Pin.SymbolType & 0xFF) != st_WireNumber) Names.push_back(Key(Pin.Handle, Pin.PinIndex));
    for (const std::string& Name : Names) Geometric.Join(Name, Names.front());
    if (Names.size() == 1) Alone.insert(Names.front());
  }
  TNameGroups Listed;
  for (const TSimConnection& C : ComputeSimConnections(DemoDrawing()))
    Listed.Join(Key(C.HandleA, C.PinA), Key(C.HandleB, C.PinB));

  const std::set<TNet> Nets = Geometric.Groups(2);
  EXPECT_GT(Nets.size(), 50u);
  EXPECT_EQ(Nets, Listed.Groups(2));
  // The drawing's two faults: a terminal dropped onto a wire, a wire that stops short of
  // its terminal.
  for (const char* Open : {"=CV05+CAB1-X1:3", "=CV04+CAB1-K1:4", "=CV04+CAB1-X1:2"})
    EXPECT_TRUE(Alone.count(Open)) << Open;
}

}  // namespace
}  // namespace wiremap
