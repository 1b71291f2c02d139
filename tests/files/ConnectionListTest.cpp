#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "RecordPrinter.h"
#include "files/ProjectFile.h"
#include "model/SampleProjects.h"

namespace wiremap {
namespace {

using ::testing::ElementsAre;

std::string Message(const std::string& AText) {
  try {
    ReadConnectionList(AText);
  } catch (const EProjectFileError& Error) {
    return Error.Message();
  }
  return "no error";
}

TEST(ConnectionListTest, WritesTheHeaderAndQuotesOnlyWhereNeeded) {
  const TConnectionRecs Records = {{"K1", "A1", 3, "X 1", "", 12, "W1"},
                                   {"a,b", "say \"hi\"", 0, " lead", "line\r\nend", -2, "tab\t"}};
  EXPECT_EQ(WriteConnectionList(Records),
            "DesignationA,PinA,PageA,DesignationB,PinB,PageB,WireName\r\n"
            "K1,A1,3,X 1,,12,W1\r\n"
            "\"a,b\",\"say \"\"hi\"\"\",0,\" lead\",\"line\r\nend\",-2,\"tab\t\"\r\n");
}

// Every sample and every awkward text comes back exactly as written.
TEST(ConnectionListTest, ReadsBackWhatItWrites) {
  std::vector<TConnectionRecs> Sets;
  for (int Sample = 1; Sample <= SampleProjectCount; ++Sample)
    Sets.push_back(SampleRecords(Sample));
  Sets.push_back({{"=A1+B2-K1", "", 1, "K2", "", 2, ""},
                  {"a;b", "\tc\t", 7, "\"", "\"\"", 8, ","},
                  {"\r", "\n", 2147483647, "x\ry", "é€中", -2147483647 - 1, "  "},
                  {"\xEF\xBB\xBFK", "1", 0, "K", "#1", 0, "trailing "}});
  for (const TConnectionRecs& Records : Sets) {
    const TProjectFile File = ReadConnectionList(WriteConnectionList(Records));
    EXPECT_EQ(File.Records, Records);
    EXPECT_TRUE(File.Warnings.empty());
  }
}

TEST(ConnectionListTest, KnowsTheColumnNamesOfCommonExports) {
  const struct {
    const char* Text;
    TConnectionRec Expected;
  } Cases[] = {
      {"From,From Pin,To,To Pin,Wire\nK1,A1,K2,A2,W", {"K1", "A1", 0, "K2", "A2", 0, "W"}},
      {"Von;Von Anschluss;Nach;Nach Anschluss;Seite;Draht\nK1;A1;K2;A2;4;W",
       {"K1", "A1", 4, "K2", "A2", 4, "W"}},
      {"sep=|\r\nFrom|From Pin|To|To Pin|Wire\r\nK1|A1|K2|A2|W,1",
       {"K1", "A1", 0, "K2", "A2", 0, "W,1"}},
      {"Composant 1\tBorne 1\tComposant 2\tBorne 2\r\nK1\tA1\tK2\tA2\r\n",
       {"K1", "A1", 0, "K2", "A2", 0, ""}},
      {" source ,SOURCE PIN,Note,target,Target Pin,From Page,to page,Wire Number\n"
       " K1 , A1 ,x, K2 ,A2,3b,5,W 7 ",
       {"K1", "A1", 3, "K2", "A2", 5, "W 7"}},
      {"From,From Pin,To,To Pin\n \"K\"\"1\" x,\"A\"1 ,\"K2\",\"\"",
       {"K\"1x", "A1", 0, "K2", "", 0, ""}},
      {"\"PinA\",\"DesignationA\",PinB,DesignationB,PageA,Page,WireName,wire\n1,K1,2,K2,3,4,W,V",
       {"K1", "1", 3, "K2", "2", 4, "W"}},
  };
  for (const auto& Case : Cases) {
    const TProjectFile File = ReadConnectionList(Case.Text);
    EXPECT_THAT(File.Records, ElementsAre(Case.Expected)) << Case.Text;
    EXPECT_TRUE(File.Warnings.empty()) << Case.Text;
  }
}

TEST(ConnectionListTest, ReadsSpreadsheetEncodings) {
  const std::string Header = "From,From Pin,To,To Pin\r\n";
  EXPECT_THAT(ReadConnectionList("\xEF\xBB\xBF" + Header + "K\xC3\xA4,1,K2,2").Records,
              ElementsAre(TConnectionRec{"K\xC3\xA4", "1", 0, "K2", "2", 0, ""}));
  // Not UTF-8: Windows-1252, the euro sign included.
  EXPECT_THAT(ReadConnectionList(Header + "K\xE4,\x80,K2,\x81").Records,
              ElementsAre(TConnectionRec{"K\xC3\xA4", "\xE2\x82\xAC", 0, "K2", "\xC2\x81", 0, ""}));
}

TEST(ConnectionListTest, WarnsOfRowsItSkipsAndPagesItCannotRead) {
  const TProjectFile File = ReadConnectionList(
      "From,From Pin,To,To Pin,Page\n"
      "K1,1,K2,2,x\n"
      "\n"
      "K1,\"multi\nline\",K3,3,2\n"
      ",1,K2,2,1\n"
      ",,,,\n"
      "K4,,K5\n");
  EXPECT_THAT(File.Records, ElementsAre(TConnectionRec{"K1", "1", 0, "K2", "2", 0, ""},
                                        TConnectionRec{"K1", "multi\nline", 2, "K3", "3", 2, ""},
                                        TConnectionRec{"K4", "", 0, "K5", "", 0, ""}));
  EXPECT_THAT(File.Warnings, ElementsAre("line 2: PageA \"x\" is not a page number; 0 used",
                                         "line 2: PageB \"x\" is not a page number; 0 used",
                                         "line 6: row skipped: no designation",
                                         "line 8: PageA \"\" is not a page number; 0 used",
                                         "line 8: PageB \"\" is not a page number; 0 used"));
}

TEST(ConnectionListTest, RefusesWhatIsNotAConnectionList) {
  const struct {
    std::string Text;
    const char* Message;
  } Cases[] = {
      {"", "Not a connection list: the file is empty"},
      {"\xEF\xBB\xBF \r\n\t", "Not a connection list: the file is empty"},
      {"A,B\nK1,K2",
       "Not a connection list: line 1 names no DesignationA, PinA, DesignationB, "
       "PinB columns"},
      {"From;To;From Pin\n", "Not a connection list: line 1 names no PinB column"},
      {"SEP=;\nFrom,To,From Pin,To Pin\n",
       "Not a connection list: line 2 names no DesignationA, "
       "PinA, DesignationB, PinB columns"},
      {"From,From Pin,To,To Pin\r\nK1,1,K2,2\r\nK1,\"1\r\n,K2,2\r\n",
       "Not a connection list: line 3: a quote is never closed"},
  };
  for (const auto& Case : Cases) EXPECT_EQ(Message(Case.Text), Case.Message) << Case.Text;
}

// One scan finds that the quote never closes; nothing of the rest is copied.
TEST(ConnectionListTest, AHundredMegabyteOpenQuoteFailsQuickly) {
  std::string Text = "From,From Pin,To,To Pin\nK1,\"";
  Text.resize(Text.size() + 100'000'000, 'x');
  const auto Start = std::chrono::steady_clock::now();
  EXPECT_EQ(Message(Text), "Not a connection list: line 2: a quote is never closed");
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(5));
}

class ProjectFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FFolder =
        std::filesystem::temp_directory_path() /
        ("wiremap-files-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(FFolder);
  }
  void TearDown() override { std::filesystem::remove_all(FFolder); }

  std::string Write(const std::string& AName, const std::string& AText) {
    const std::filesystem::path Path = FFolder / AName;
    std::ofstream(Path, std::ios::binary) << AText;
    return Path.string();
  }

  static std::string Message(const std::string& APath) {
    try {
      ReadProjectFile(APath);
    } catch (const EProjectFileError& Error) {
      return Error.Message();
    }
    return "no error";
  }

  std::filesystem::path FFolder;
};

TEST_F(ProjectFileTest, RecognisesTheFormatByContent) {
  const TConnectionRecs Records = {{"K1", "1", 1, "K2", "2", 1, "W"}};
  const TProjectFile List = ReadProjectFile(Write("plant.qet", WriteConnectionList(Records)));
  EXPECT_EQ(List.Name, "plant");
  EXPECT_EQ(List.Records, Records);
  const TProjectFile Project =
      ReadProjectFile(Write("list.csv", "\xEF\xBB\xBF\n <project title=\"Mill\"/>"));
  EXPECT_EQ(Project.Name, "Mill");
  EXPECT_EQ(ReadProjectFile(Write("untitled.qet", "<project/>")).Name, "untitled");
  EXPECT_EQ(ReadProjectFile(Write("pipes.csv", "Sep=|\nFrom|From Pin|To|To Pin\nK1|1|K2|2"))
                .Records.size(),
            1u);
}

TEST_F(ProjectFileTest, RefusesFilesOfNeitherFormat) {
  const std::string Empty = Write("empty.csv", " \r\n");
  EXPECT_EQ(Message(Empty), "The file " + Empty + " is empty");
  const std::string Text = Write("notes.txt", "Netlist of the mill\r\n\tK1:1\r\n");
  EXPECT_EQ(Message(Text),
            "The file " + Text + " is neither a QElectroTech project nor a connection list");
  const std::string Missing = (FFolder / "missing.qet").string();
  EXPECT_EQ(Message(Missing), "Cannot open file " + Missing);
  EXPECT_EQ(Message(Write("broken.qet", "<project>")),
            "Not a QElectroTech project: start-end tags mismatch at byte 8");
}

// The size is checked before anything is read: the sparse file costs no disk space.
TEST_F(ProjectFileTest, RefusesFilesOverOneGibibyte) {
  const std::string Huge = Write("huge.csv", "");
  std::filesystem::resize_file(Huge, (1ULL << 30) + 1);
  EXPECT_EQ(Message(Huge), "The file " + Huge + " is larger than 1 GiB");
}

}  // namespace
}  // namespace wiremap
