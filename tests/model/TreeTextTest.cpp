#include "model/TreeText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "model/Wiremap.h"

namespace wiremap {
namespace {

size_t LineCount(const std::string& AText) {
  size_t Count = 0;
  for (size_t At = AText.find("\r\n"); At != std::string::npos; At = AText.find("\r\n", At + 2))
    ++Count;
  return Count;
}

// Names from the characters that matter to the escaped form, in every mix.
TEST(TreeText, EscapedNamesReadBackKeepOneLineAndLeavePlainNamesAlone) {
  std::mt19937 Random(17);
  const std::string Alphabet = "anr\\\n\r:";
  for (int Round = 0; Round < 5000; ++Round) {
    std::string Name(Random() % 8, ' ');
    for (char& Char : Name) Char = Alphabet[Random() % Alphabet.size()];
    const std::string Text = EscapeName(Name);
    EXPECT_EQ(UnescapeName(Text), Name) << Text;
    EXPECT_EQ(Text.find_first_of("\r\n"), std::string::npos) << Text;
    const bool Plain =
        Name.find_first_of("\r\n") == std::string::npos && Name.find("\\n") == std::string::npos &&
        Name.find("\\r") == std::string::npos && Name.find("\\\\") == std::string::npos;
    if (Plain) {
      EXPECT_EQ(Text, Name);
    }
  }
}

TEST(TreeText, NamesWithLineEndsSaveOneLinePerNodeAndReadBack) {
  SetCollationLocale("C");
  const TConnectionRecs Records{{"=F1-K1\n", "13", 1, "=F1-K2", "A\r\n1", 2, "W\n1"},
                                {"=F1-K2", "A\r\n1", 2, "C:\\new", "\\", 2, "W2"},
                                {"-X1", "1", 3, "-X2\r", "2", 3, "W3"}};
  TProject Project(Records, "Two\nlines");
  TWiremaps& Graph = Project.Graph();

  const std::string Netlist = WriteNetlistText(Graph, Project.Name());
  EXPECT_EQ(LineCount(Netlist), 1u + Graph.NetCount + Graph.GetPinCount());
  EXPECT_EQ(std::count(Netlist.begin(), Netlist.end(), '\n'), LineCount(Netlist));
  const TNetlist Read = ReadNetlistText(Netlist);
  TNetlist Expected = NetlistOf(Graph);
  EXPECT_EQ(Read.ProjectName, Project.Name());
  EXPECT_EQ(Read.Nets, Expected.Nets);
  EXPECT_EQ(CompareNetlists(Read, Expected).Unchanged, Graph.NetCount);

  for (int Order = 0; Order < SortOrderCount; ++Order) {
    const std::string Pins = WritePinListText(Graph, Project.KeyValues(), Order, Project.Name());
    EXPECT_EQ(std::count(Pins.begin(), Pins.end(), '\n'), LineCount(Pins)) << Order;
  }
  EXPECT_EQ(LineCount(WritePinListText(Graph, Project.KeyValues(), soPinName, "")),
            1u + static_cast<size_t>(Graph.GetPinCount()) + 2 * Records.size());
}

}  // namespace
}  // namespace wiremap
