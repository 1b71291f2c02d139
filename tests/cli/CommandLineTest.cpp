// The wiremap-cli program, run as a user runs it: its bytes against the core's texts, its
// exit statuses and its error lines. The comparison has its own file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "files/ProjectFile.h"
#include "model/Project.h"
#include "model/Statistics.h"
#include "model/TreeText.h"

namespace wiremap {
namespace {

const std::vector<std::string> BuiltInInputs = {"sample:1", "sample:2", "sample:3", "sample:4",
                                                "sample:5", "sample:6", "sample:7", "sample:8",
                                                "sample:9", "demo"};

TEST(CommandLineTest, NetlistIsTheSavedBytesForEveryBuiltInInput) {
  for (const std::string& Input : BuiltInInputs) {
    SCOPED_TRACE(Input);
    const auto Project = ReferenceProject(Input);
    ExpectOutput(RunCli({"netlist", Input}), 0,
                 WriteNetlistText(Project->Graph(), Project->Name()));
  }
}

TEST(CommandLineTest, PinListIsTheSavedBytesInEveryOrder) {
  const auto Project = ReferenceProject("sample:5");
  const auto Expected = [&](int AOrder) {
    return WritePinListText(Project->Graph(), Project->KeyValues(), AOrder, Project->Name());
  };
  ExpectOutput(RunCli({"pinlist", "sample:5"}), 0, Expected(0));
  for (int Order = 0; Order < SortOrderCount; ++Order) {
    SCOPED_TRACE(Order);
    ExpectOutput(RunCli({"pinlist", "sample:5", "--order", std::to_string(Order)}), 0,
                 Expected(Order));
  }
  const auto Demo = ReferenceProject("demo");
  ExpectOutput(RunCli({"pinlist", "demo", "--order", "2"}), 0,
               WritePinListText(Demo->Graph(), Demo->KeyValues(), 2, Demo->Name()));
}

TEST(CommandLineTest, StatsPrintsTheWindowsLines) {
  for (const std::string Input : {"sample:4", "demo"}) {
    std::string Expected;
    for (const std::string& Line : StatisticsLines(*ReferenceProject(Input)))
      Expected += Line + "\n";
    ExpectOutput(RunCli({"stats", Input}), 0, Expected);
  }
}

TEST(CommandLineTest, ConvertWritesAConnectionListThatOpensAsTheSameProject) {
  const std::string List = TempPath("converted.csv");
  const std::string Netlist = TempPath("converted.txt");
  const auto Project = ReferenceProject("sample:2");
  ExpectOutput(RunCli({"convert", "sample:2", "-o", List}), 0, "");
  EXPECT_EQ(ReadFileBytes(List), WriteConnectionList(Project->Records()));

  ExpectOutput(RunCli({"netlist", List, "--output", Netlist}), 0, "");
  TProjectFile File = ReadProjectFile(List);
  TProject Reopened(std::move(File.Records), File.Name);
  EXPECT_EQ(ReadFileBytes(Netlist), WriteNetlistText(Reopened.Graph(), Reopened.Name()));
}

TEST(CommandLineTest, OutputReplacesTheFileALinkPointsTo) {
  const std::string Target = TempPath("target.txt");
  const std::string Link = TempPath("link.txt");
  WriteFileBytes(Target, std::string(100000, 'x'));
  std::filesystem::permissions(
      Target, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  std::filesystem::remove(Link);
  std::filesystem::create_symlink(Target, Link);
  ExpectOutput(RunCli({"netlist", "sample:1", "-o", Link}), 0, "");
  const auto Project = ReferenceProject("sample:1");
  EXPECT_EQ(ReadFileBytes(Target), WriteNetlistText(Project->Graph(), Project->Name()));
  EXPECT_TRUE(std::filesystem::is_symlink(Link));
  EXPECT_EQ(std::filesystem::status(Target).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(CommandLineTest, ReaderWarningsGoToStandardError) {
  const std::string List = TempPath("warning.csv");
  WriteFileBytes(List,
                 "DesignationA,PinA,PageA,DesignationB,PinB,PageB,WireName\r\n"
                 "-K1,13,x,-K2,A1,1,w1\r\n");
  const TCliRun Run = RunCli({"stats", List});
  EXPECT_EQ(Run.Status, 0);
  EXPECT_NE(Run.Out, "");
  EXPECT_EQ(Run.Err.rfind("wiremap-cli: warning: " + List + ": line 2", 0), 0u) << Run.Err;
}

TEST(CommandLineTest, ErrorsGiveStatusTwoOneLineOnStandardErrorAndNoOutput) {
  const std::string Neither = TempPath("neither.txt");
  WriteFileBytes(Neither, "just some words\r\n");
  const std::string Kept = TempPath("kept.txt");
  struct TCase {
    std::vector<std::string> Args;
    std::string Message;  // a part of the error line
  };
  const TCase Cases[] = {
      {{"netlist", "/nonexistent/project.qet"}, "/nonexistent/project.qet"},
      {{"netlst", "sample:1"}, "Unknown command 'netlst'"},
      {{"sample:1"}, "Unknown command 'sample:1'"},
      {{}, "subcommand"},
      {{"netlist", "sample:0"}, "Unknown sample 'sample:0'"},
      {{"pinlist", "sample:10"}, "Unknown sample 'sample:10'"},
      {{"stats", "sample:"}, "Unknown sample 'sample:'"},
      {{"stats", Neither}, Neither},
      {{"pinlist", "sample:1", "--order", "7"}, "--order"},
      {{"convert", "sample:1"}, "--output"},
      {{"netlist", "sample:1", "-o", "/nonexistent/out.txt"}, "Cannot create file"},
      {{"netlist", "sample:1", "-o", "/dev/full"}, "Cannot write file /dev/full"},
      {{"netlist", "sample:1", "--order", "1"}, "--order"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Message);
    ExpectError(RunCli(Case.Args), Case.Message);
  }

  const TCliRun Full = RunCli({"netlist", "sample:5"}, "/dev/full");
  EXPECT_EQ(Full.Status, 2);
  EXPECT_EQ(Full.Err, "wiremap-cli: Cannot write to standard output\n");
}

TEST(CommandLineTest, HelpAndVersionGoToStandardOutput) {
  const TCliRun Version = RunCli({"--version"});
  ExpectOutput(Version, 0, "wiremap-cli " WIREMAP_PROJECT_VERSION "\n");
  for (const std::vector<std::string>& Args :
       {std::vector<std::string>{"--help"}, std::vector<std::string>{"compare", "--help"}}) {
    const TCliRun Help = RunCli(Args);
    EXPECT_EQ(Help.Status, 0);
    EXPECT_NE(Help.Out.find("compare"), std::string::npos);
    EXPECT_EQ(Help.Err, "");
  }
}

}  // namespace
}  // namespace wiremap
