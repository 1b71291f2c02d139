#include "model/Comparison.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "files/ProjectFile.h"
#include "model/Project.h"
#include "model/SampleProjects.h"
#include "model/TextCompare.h"
#include "model/TreeText.h"

namespace wiremap {
namespace {

class ComparisonTest : public testing::Test {
 protected:
  void SetUp() override { SetCollationLocale("C"); }
};

TComparisonSide Sample(int ANumber) {
  return SideFromRecords(SampleRecords(ANumber), SampleProjectInfo(ANumber)->Caption);
}

// Every pin a changed net lost is found where the comparison says: in the named net of
// the new side, or in none of its nets.
TEST_F(ComparisonTest, ALostPinIsWhereTheNewSideHasIt) {
  for (const auto& [From, To] : {std::pair(2, 6), std::pair(7, 8), std::pair(8, 7)}) {
    SCOPED_TRACE(std::to_string(From) + " -> " + std::to_string(To));
    const TComparison C = CompareSides(Sample(From), Sample(To));
    ASSERT_TRUE(C.Wires);
    ASSERT_EQ(C.LostPinNets.size(), C.Nets.Changed.size());
    ASSERT_FALSE(C.Nets.Changed.empty());
    for (size_t I = 0; I < C.Nets.Changed.size(); ++I) {
      const std::vector<std::string>& Lost = C.Nets.Changed[I].Removed;
      ASSERT_EQ(C.LostPinNets[I].size(), Lost.size());
      for (size_t J = 0; J < Lost.size(); ++J) {
        const auto Holds = [&](const std::vector<std::string>& ANet) {
          return std::any_of(ANet.begin(), ANet.end(),
                             [&](const std::string& P) { return SameText(P, Lost[J]); });
        };
        const int Net = C.LostPinNets[I][J];
        if (Net >= 0)
          EXPECT_TRUE(Holds(C.New.Netlist.Nets[static_cast<size_t>(Net)])) << Lost[J];
        else
          EXPECT_TRUE(std::none_of(C.New.Netlist.Nets.begin(), C.New.Netlist.Nets.end(), Holds))
              << Lost[J];
      }
    }
    EXPECT_TRUE(HasDifferences(C));
  }
  EXPECT_FALSE(HasDifferences(CompareSides(Sample(3), Sample(3))));
}

// A small revision shown whole: a device renamed, a pin moved to another net, a wire
// renamed and moved to another page, a pin dropped.
const TConnectionRecs kOld = {
    {"-K1", "A1", 1, "-X1", "1", 1, "1"},
    {"-K2", "13", 1, "-X1", "2", 1, "2"},
    {"-K2", "14", 1, "-X1", "3", 2, "3"},
    {"-K2", "14", 1, "=P-H1", "X1", 2, ""},
};
const TConnectionRecs kNew = {
    {"-K10", "A1", 1, "-X1", "1", 1, "1"},
    {"-X1", "2", 3, "-K2", "13", 1, "2b"},
    {"-K2", "13", 1, "-X1", "3", 2, "3"},
};

TEST_F(ComparisonTest, TheTextShowsBothPartsLineByLine) {
  const TComparison C =
      CompareSides(SideFromRecords(kOld, "rev A"), SideFromRecords(kNew, "rev B"));
  const std::vector<std::string> Expected = {
      "nets: unchanged 0, changed 2, only in old 1, only in new 0, pins only in old 3, pins only "
      "in new 1; wires: unchanged 1, changed 1, removed 2, added 1, renamed designations 1",
      "Changes from project [rev A] to project [rev B]",
      "\tchanged nets: 2",
      "\t\tnet -K10:A1   pins 2   was net -K1:A1   pins 2",
      "\t\t\t+ -K10:A1",
      "\t\t\t- -K1:A1   → gone",
      "\t\tnet -K2:13   pins 3   was net -K2:13   pins 2",
      "\t\t\t+ -X1:3",
      "\tnets only in the old project: 1",
      "\t\tnet -K2:14   pins 3",
      "\t\t\t-K2:14",
      "\t\t\t-X1:3",
      "\t\t\t=P-H1:X1",
      "\tnets only in the new project: 0",
      "\tpins only in the old project: 3",
      "\t\t-K1:A1",
      "\t\t-K2:14",
      "\t\t=P-H1:X1",
      "\tpins only in the new project: 1",
      "\t\t-K10:A1",
      "\trenamed designations: 1",
      "\t\t-K1 → -K10",
      "\tremoved wires: 2",
      "\t\t-K2:14 – -X1:3   wire 3   pages 1, 2",
      "\t\t-K2:14 – =P-H1:X1   unnamed wire   pages 1, 2",
      "\tadded wires: 1",
      "\t\t-K2:13 – -X1:3   wire 3   pages 1, 2",
      "\tchanged wires: 1",
      "\t\t-X1:2 – -K2:13   wire 2 → wire 2b   pages 1, 1 → 3, 1",
  };
  EXPECT_EQ(ComparisonTextLines(C), Expected);
  std::string Joined;
  for (const std::string& Line : Expected) Joined += Line + "\r\n";
  EXPECT_EQ(WriteComparisonText(C), Joined);
}

TEST_F(ComparisonTest, ALostPinNamesItsNewNet) {
  // C:1 leaves the net of A:1 for the net of D:1.
  const TComparison C = CompareSides(SideFromRecords({{"A", "1", 1, "B", "1", 1, ""},
                                                      {"A", "1", 1, "C", "1", 1, ""},
                                                      {"D", "1", 1, "E", "1", 1, ""}},
                                                     "A"),
                                     SideFromRecords({{"A", "1", 1, "B", "1", 1, ""},
                                                      {"D", "1", 1, "E", "1", 1, ""},
                                                      {"E", "1", 1, "C", "1", 1, ""}},
                                                     "B"));
  const std::vector<std::string> Lines = ComparisonTextLines(C);
  EXPECT_EQ(std::vector<std::string>(Lines.begin() + 3, Lines.begin() + 8),
            (std::vector<std::string>{"\t\tnet A:1   pins 2   was net A:1   pins 3",
                                      "\t\t\t- C:1   → net C:1",
                                      "\t\tnet C:1   pins 3   was net D:1   pins 2", "\t\t\t+ C:1",
                                      "\tnets only in the old project: 0"}));
}

TEST_F(ComparisonTest, ASavedNetlistHasNoWirePart) {
  TComparisonSide Saved = SideFromRecords(kOld, "rev A");
  Saved.Records.reset();
  const TComparison C = CompareSides(Saved, SideFromRecords(kOld, "rev A"));
  EXPECT_FALSE(C.Wires);
  EXPECT_FALSE(HasDifferences(C));
  EXPECT_EQ(SummaryLine(C),
            "nets: unchanged 3, changed 0, only in old 0, only in new 0, pins only in old 0, pins "
            "only in new 0; wires not compared: a netlist file holds no wires");
  EXPECT_EQ(ComparisonTextLines(C).back(), "\twires not compared: a netlist file holds no wires");
  EXPECT_EQ(WriteComparisonCsv(C),
            "kind,old pins,new pins,old wire,new wire,old pages,new pages\r\n");
}

TEST_F(ComparisonTest, TheCsvHasOneRowPerDifferenceThatASpreadsheetReadsAsText) {
  TConnectionRecs New = kNew;
  New[0].WireName = "say \"hi\", twice";
  const TComparison C = CompareSides(SideFromRecords(kOld, "A"), SideFromRecords(New, "B"));
  EXPECT_EQ(
      WriteComparisonCsv(C),
      "kind,old pins,new pins,old wire,new wire,old pages,new pages\r\n"
      "changed net,'-K1:A1 / -X1:1,'-K10:A1 / -X1:1,,,,\r\n"
      "changed net,'-K2:13 / -X1:2,'-K2:13 / -X1:2 / -X1:3,,,,\r\n"
      "net only in old,'-K2:14 / -X1:3 / =P-H1:X1,,,,,\r\n"
      "pin only in old,'-K1:A1,,,,,\r\n"
      "pin only in old,'-K2:14,,,,,\r\n"
      "pin only in old,'=P-H1:X1,,,,,\r\n"
      "pin only in new,,'-K10:A1,,,,\r\n"
      "renamed designation,'-K1,'-K10,,,,\r\n"
      "removed wire,'-K2:14 / -X1:3,,3,,1 / 2,\r\n"
      "removed wire,'-K2:14 / =P-H1:X1,,,,1 / 2,\r\n"
      "added wire,,'-K2:13 / -X1:3,,3,,1 / 2\r\n"
      "changed wire,'-K1:A1 / -X1:1,'-K10:A1 / -X1:1,1,\"say \"\"hi\"\", twice\",1 / 1,1 / 1\r\n"
      "changed wire,'-K2:13 / -X1:2,'-X1:2 / -K2:13,2,2b,1 / 1,3 / 1\r\n");
}

// A side read from a file: records from a connection list, nets alone from a saved netlist,
// and the reader's own error for anything else.
TEST_F(ComparisonTest, ASideIsReadFromAnyFileTheProgramWrites) {
  const std::filesystem::path Dir =
      std::filesystem::temp_directory_path() /
      ("wiremap-comparison-" + std::to_string(std::random_device()()));
  std::filesystem::create_directories(Dir);
  const auto Write = [&](const char* AName, const std::string& AText) {
    std::ofstream(Dir / AName, std::ios::binary) << AText;
    return (Dir / AName).string();
  };
  TProject Project(SampleRecords(7), "Packer");
  const std::string Netlist = WriteNetlistText(Project.Graph(), "Packer");
  const TComparisonSide FromList =
      ReadComparisonSide(Write("packer.csv", WriteConnectionList(SampleRecords(7))));
  const TComparisonSide FromNetlist = ReadComparisonSide(Write("nets.txt", Netlist));
  EXPECT_EQ(FromList.Name, "packer");
  EXPECT_EQ(FromList.Records, SampleRecords(7));
  EXPECT_EQ(FromNetlist.Name, "Packer");
  EXPECT_FALSE(FromNetlist.Records);
  EXPECT_EQ(FromNetlist.Netlist.Nets, FromList.Netlist.Nets);
  EXPECT_THROW(ReadComparisonSide(Write("broken.txt", Netlist + "oops\r\n")), EInvalidNetlist);
  EXPECT_THROW(ReadComparisonSide(Write("other.txt", "neither\r\n")), EProjectFileError);
  EXPECT_THROW(ReadComparisonSide((Dir / "missing.txt").string()), EProjectFileError);
  std::filesystem::remove_all(Dir);
}

}  // namespace
}  // namespace wiremap
