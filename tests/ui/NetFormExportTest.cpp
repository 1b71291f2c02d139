#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <QClipboard>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include "NetFormTestSupport.h"
#include "ui/RadioGroup.h"
#include "ui/TextFile.h"

namespace wiremap {
namespace {

QByteArray Contents(const QString& AFileName) {
  QFile File(AFileName);
  return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray("<missing>");
}

class NetFormExport : public testing::Test, public TNetFormFixture {
 protected:
  NetFormExport() { Load(HandMadeRecords()); }

  QByteArray Save(void (TForm1::*ACommand)(), const QString& AName) {
    Prompts.AnswerSave(Dir.filePath(AName));
    (Form.*ACommand)();
    return Contents(Dir.filePath(AName));
  }

  QTreeWidgetItem* PinNode(int AIndex) const {
    return Form.TreeView2->topLevelItem(0)->child(AIndex);
  }

  QTemporaryDir Dir;
};

TEST_F(NetFormExport, SavesTheNetlistTreeWholeWithTabsAndCrLf) {
  EXPECT_EQ(Save(&TForm1::SaveNetlist1Click, "netlist.txt"),
            QByteArray("Netlist of project [Hand-made]\r\n"
                       "\tnet +L3-X1:1   pins 3\r\n"
                       "\t\t+L3-X1:1\r\n"
                       "\t\t=F1+L1-K1:13\r\n"
                       "\t\t=F1+L1-K2:A1\r\n"
                       "\tnet =R+L2-R1:1   pins 3   linear\r\n"
                       "\t\t=R+L2-R1:1\r\n"
                       "\t\t=R+L2-R2:1\r\n"
                       "\t\t=R+L2-R3:1\r\n"));
}

TEST_F(NetFormExport, SavesThePinListInItsCurrentOrder) {
  const QByteArray ByName = Save(&TForm1::SavePinlist1Click, "by-name.txt");
  EXPECT_TRUE(
      ByName.startsWith("List of pins in project [Hand-made]\r\n"
                        "\tpin +L3-X1:1   page 10   links 1\r\n"
                        "\t\tlinked to =F1+L1-K1:13   by wire W3\r\n"
                        "\tpin =F1+L1-K1:13   page 2   links 3\r\n"))
      << ByName.toStdString();
  EXPECT_TRUE(ByName.endsWith("\t\tlinked to =R+L2-R1:1   by wire R31\r\n"));
  EXPECT_EQ(ByName.count('\n'), 19);

  Form.RadioGroup1->SetItemIndex(1);
  const QByteArray ByPage = Save(&TForm1::SavePinlist1Click, "by-page.txt");
  EXPECT_TRUE(
      ByPage.startsWith("List of pins in project [Hand-made]\r\n"
                        "\tpage 1\r\n"
                        "\t\tpin =R+L2-R1:1   links 2\r\n"
                        "\t\t\tlinked to =R+L2-R2:1   by wire R12\r\n"))
      << ByPage.toStdString();

  Form.RadioGroup1->SetItemIndex(6);
  EXPECT_EQ(Save(&TForm1::SavePinlist1Click, "custom.txt"),
            QByteArray("List of pins in project [Hand-made]\r\n"));
}

TEST_F(NetFormExport, AnEmptyProjectNameAndAnEmptyTree) {
  Load({}, "");
  EXPECT_EQ(Save(&TForm1::SaveNetlist1Click, "empty.txt"), QByteArray("Netlist of project []\r\n"));
  Form.TreeView1->clear();
  EXPECT_EQ(Save(&TForm1::SaveNetlist1Click, "none.txt"), QByteArray());
}

TEST_F(NetFormExport, TheLastChosenNameIsProposedByEitherSave) {
  Save(&TForm1::SaveNetlist1Click, "a.txt");
  Prompts.AnswerSave(std::nullopt);
  Form.SavePinlist1Click();
  Save(&TForm1::SavePinlist1Click, "b.txt");
  Form.SaveNetlist1Click();
  EXPECT_EQ(Prompts.SaveProposals,
            QStringList({"", Dir.filePath("a.txt"), Dir.filePath("a.txt"), Dir.filePath("b.txt")}));
  EXPECT_TRUE(Prompts.Errors.empty());
}

TEST_F(NetFormExport, SavingAgainReplacesTheWholeFile) {
  Save(&TForm1::SavePinlist1Click, "tree.txt");
  EXPECT_EQ(Save(&TForm1::SaveNetlist1Click, "tree.txt").count('\n'), 9);
}

// Lowers the file size limit while it lives; a write beyond it then fails as on a full disk.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t ABytes) {
    FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &FOld);
    rlimit Limit = FOld;
    Limit.rlim_cur = ABytes;
    setrlimit(RLIMIT_FSIZE, &Limit);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &FOld);
    std::signal(SIGXFSZ, FOldHandler);
  }

 private:
  rlimit FOld{};
  void (*FOldHandler)(int);
};

TEST_F(NetFormExport, AFailedSaveIsAnErrorAndKeepsTheOldFile) {
  const QString Missing = Dir.filePath("no/such/folder/netlist.txt");
  Prompts.AnswerSave(Missing);
  EXPECT_THROW(
      {
        try {
          Form.SaveNetlist1Click();
        } catch (const EFileError& E) {
          EXPECT_EQ(E.Message(), "Cannot create file " + Missing.toStdString());
          throw;
        }
      },
      EFileError);

  Form.OpenSampleProject(5);
  const QString Name = Dir.filePath("kept.txt");
  SaveTextFile(Name, {"old"});
  {
    const TFileSizeLimit Limit(4096);
    Prompts.AnswerSave(Name);
    EXPECT_THROW(Form.SavePinlist1Click(), EFileError);
  }
  EXPECT_EQ(Contents(Name), QByteArray("old\r\n"));
  // The name was chosen all the same and is proposed again.
  Form.SavePinlist1Click();
  EXPECT_EQ(Prompts.SaveProposals.back(), Name);
}

TEST_F(NetFormExport, CopiesThePinOfAPinNodeOrTheLinkedPinOfALinkNode) {
  QClipboard* Clipboard = QGuiApplication::clipboard();
  Form.TreeView2->setCurrentItem(PinNode(1));
  Form.CopySelection1Click();
  EXPECT_EQ(Clipboard->text(), "=F1+L1-K1:13");
  Form.TreeView2->setCurrentItem(PinNode(1)->child(2));  // linked to +L3-X1:1
  Form.CopySelection1Click();
  EXPECT_EQ(Clipboard->text(), "+L3-X1:1");
  EXPECT_EQ(Prompts.Beeps, 0);
}

TEST_F(NetFormExport, CopyBeepsForNodesWithoutAPinAndARefusingClipboard) {
  QClipboard* Clipboard = QGuiApplication::clipboard();
  Clipboard->setText("before");
  Form.TreeView2->clearSelection();
  Form.CopySelection1Click();
  Form.TreeView2->setCurrentItem(Form.TreeView2->topLevelItem(0));
  Form.CopySelection1Click();
  Form.RadioGroup1->SetItemIndex(2);
  Form.TreeView2->setCurrentItem(Form.TreeView2->topLevelItem(0)->child(0));
  Form.CopySelection1Click();
  EXPECT_EQ(Prompts.Beeps, 3);
  EXPECT_EQ(Prompts.ClipboardWrites, 0);
  EXPECT_EQ(Clipboard->text(), "before");

  Form.TreeView2->setCurrentItem(Form.TreeView2->topLevelItem(0)->child(0)->child(0));
  Prompts.RefuseClipboard = true;
  Form.CopySelection1Click();
  EXPECT_EQ(Prompts.Beeps, 4);
}

// Ctrl+C pressed as the user would while the statistics or the netlist tree has the focus
// still copies the pin selected in the pin list.
TEST_F(NetFormExport, CtrlCCopiesThePinListSelectionWhereverTheFocusIs) {
  Form.show();
  QApplication::processEvents();  // the first activation loads sample 1
  Load(HandMadeRecords());
  Form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Form));
  QClipboard* Clipboard = QGuiApplication::clipboard();
  Form.TreeView2->setCurrentItem(PinNode(5));
  Form.TreeView1->setCurrentItem(Form.TreeView1->topLevelItem(0)->child(0)->child(1));
  Form.TreeView2->setCurrentItem(PinNode(5));
  Form.Memo1->selectAll();
  for (QWidget* Focus : {static_cast<QWidget*>(Form.Memo1), static_cast<QWidget*>(Form.TreeView1),
                         static_cast<QWidget*>(Form.TreeView2)}) {
    Clipboard->setText("before");
    Focus->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(Focus->hasFocus());
    QTest::keyClick(Focus, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard->text(), "=R+L2-R3:1") << Focus->metaObject()->className();
  }
  Form.TreeView2->clearSelection();
  Form.Memo1->setFocus();
  QTest::keyClick(Form.Memo1, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(Prompts.Beeps, 1);
}

}  // namespace
}  // namespace wiremap
