#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include "NetFormTestSupport.h"
#include "files/ProjectFile.h"
#include "model/Wiremap.h"
#include "ui/TextFile.h"

namespace wiremap {
namespace {

// Project files opened in the main window: Ctrl+O, the command line's file, the export and
// the reader's warnings.
class NetFormFiles : public testing::Test, public TNetFormFixture {
 protected:
  QString Write(const QString& AName, const std::string& ABytes) {
    const QString Path = Dir.filePath(AName);
    SaveTextBytes(Path, ABytes);
    return Path;
  }

  static TConnectionRecs Sample(int ANumber) {
    TConnectionRecs Records;
    LoadSampleProject(Records, ANumber);
    return Records;
  }

  QTemporaryDir Dir;
};

TEST_F(NetFormFiles, AnExportedListOpensAsTheSameProjectUnderTheFilesName) {
  Load(Sample(3), "Sample 3");
  const std::string Netlist = WriteNetlistText(Form.Graph(), "x");
  const QString Path = Dir.filePath("cooling.csv");
  Prompts.AnswerSave(Path);
  Form.ExportConnectionList1Click();
  EXPECT_EQ(Prompts.SaveFilters, QStringList{"Connection lists (*.csv)"});
  EXPECT_EQ(Prompts.SaveProposals.last(), "Sample 3.csv");
  EXPECT_EQ(FileBytes(Path).toStdString(), WriteConnectionList(Sample(3)));

  Prompts.AnswerOpen(Path);
  Form.OpenProjectFile1Click();
  EXPECT_EQ(Prompts.OpenFilters, QStringList{"Project files (*.qet *.csv);;All files (*)"});
  ASSERT_NE(Form.Project(), nullptr);
  EXPECT_EQ(Form.Project()->Name(), "cooling");
  EXPECT_EQ(ProjectName, "cooling");
  EXPECT_EQ(Form.Project()->Records().size(), Sample(3).size());
  EXPECT_EQ(WriteNetlistText(Form.Graph(), "x"), Netlist);
  EXPECT_TRUE(Form.Memo1->toPlainText().startsWith("PROJECT STATISTICS [cooling]\n"));
  EXPECT_EQ(StatusTexts().last(), "Ready.");
  EXPECT_FALSE(Form.LastLoadWarnings1->isEnabled());
}

TEST_F(NetFormFiles, AFileThatCannotBeReadShowsTheErrorBoxAndKeepsTheProject) {
  Load(HandMadeRecords());
  const TProject* Before = Form.Project();
  for (const QString& Path :
       {Dir.filePath("missing.qet"), Write("junk.csv", "neither,format\r\n1,2\r\n"),
        Write("broken.qet", "<project><diagram>")}) {
    EXPECT_FALSE(Form.OpenProjectFile(Path));
    EXPECT_EQ(Form.Project(), Before);
    EXPECT_EQ(Form.Project()->Name(), "Hand-made");
  }
  ASSERT_EQ(Prompts.Errors.size(), 3u);
  for (const auto& Error : Prompts.Errors) {
    EXPECT_EQ(Error.Title, "Wiremap");
    EXPECT_FALSE(Error.Text.isEmpty());
  }
  EXPECT_EQ(StatusTexts().last(), "Ready.");
}

TEST_F(NetFormFiles, WarningsAreCountedInTheStatusLineAndListedUntilTheNextLoad) {
  const QString Path =
      Write("list.csv", "From,From Pin,To,To Pin,Wire\r\n-K1,1,-K2,1,W1\r\n,2,-K2,2,W2\r\n");
  ASSERT_TRUE(Form.OpenProjectFile(Path));
  EXPECT_EQ(Form.LoadWarnings().size(), 1);
  EXPECT_EQ(StatusTexts().last(), "Ready. 1 warnings");
  EXPECT_TRUE(Form.LastLoadWarnings1->isEnabled());
  Form.OpenSampleProject(1);
  EXPECT_TRUE(Form.LoadWarnings().isEmpty());
  EXPECT_FALSE(Form.LastLoadWarnings1->isEnabled());
}

TEST_F(NetFormFiles, TheStartFileReplacesSampleOneUnlessItFails) {
  Form.SetStartFile(Write("start.csv", WriteConnectionList(Sample(2))));
  Form.FormActivate();
  EXPECT_EQ(Form.Project()->Name(), "start");

  TNetFormFixture Other;
  Other.Form.SetStartFile(Dir.filePath("gone.csv"));
  Other.Form.FormActivate();
  EXPECT_EQ(Other.Prompts.Errors.size() + Prompts.Errors.size(), 1u);
  EXPECT_EQ(Other.Form.Project()->Records().size(), Sample(1).size());
}

TEST_F(NetFormFiles, ExportBeforeAnyLoadOnlyBeeps) {
  Form.ExportConnectionList1Click();
  EXPECT_EQ(Prompts.Beeps, 1);
  EXPECT_TRUE(Prompts.SaveProposals.isEmpty());
}

}  // namespace
}  // namespace wiremap
