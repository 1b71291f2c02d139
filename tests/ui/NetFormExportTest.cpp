#include <gtest/gtest.h>

#include <QClipboard>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include "NetFormTestSupport.h"
#include "ui/RadioGroup.h"
#include "ui/TextFile.h"

namespace wiremap {
namespace {

class NetFormExport : public testing::Test, public TNetFormFixture {
 protected:
  NetFormExport() { Load(HandMadeRecords()); }

  QByteArray Save(void (TForm1::*ACommand)(), const QString& AName) {
    return SavedBy(ACommand, Dir.filePath(AName));
  }

  QModelIndex Node(int AIndex) const { return Child(Form.TreeView2, {AIndex}); }

  QTemporaryDir Dir;
};

TEST_F(NetFormExport, SavesEitherTreeWholeWithTabsAndCrLf) {
  EXPECT_EQ(Save(&TForm1::SaveNetlist1Click, "netlist.txt"),
            "Netlist of project [Hand-made]\r\n\tnet +L3-X1:1   pins 3\r\n\t\t+L3-X1:1\r\n"
            "\t\t=F1+L1-K1:13\r\n\t\t=F1+L1-K2:A1\r\n\tnet =R+L2-R1:1   pins 3   linear\r\n"
            "\t\t=R+L2-R1:1\r\n\t\t=R+L2-R2:1\r\n\t\t=R+L2-R3:1\r\n");
  // By page: three levels below the root, the links included, saved as the tree shows.
  Form.RadioGroup1->SetItemIndex(1);
  const QStringList ByPage = Dump(Form.TreeView2);
  EXPECT_TRUE(ByPage.contains("\t\t\tlinked to +L3-X1:1   by wire W3"));
  EXPECT_EQ(Save(&TForm1::SavePinlist1Click, "pins.txt"), (ByPage.join("\r\n") + "\r\n").toUtf8());
  Form.RadioGroup1->SetItemIndex(6);  // Custom: the root alone; the same name replaced whole
  EXPECT_EQ(Save(&TForm1::SavePinlist1Click, "pins.txt"),
            "List of pins in project [Hand-made]\r\n");
}

TEST_F(NetFormExport, ProposesTheLastChosenNameAndReportsAFailedSave) {
  Save(&TForm1::SaveNetlist1Click, "a.txt");
  Prompts.AnswerSave(std::nullopt);
  Form.SavePinlist1Click();
  const QString Missing = Dir.filePath("no/such/folder/b.txt");
  Prompts.AnswerSave(Missing);
  EXPECT_THROW(Form.SavePinlist1Click(), EFileError);  // for the application's error box
  Form.SaveNetlist1Click();
  EXPECT_EQ(Prompts.SaveProposals,
            QStringList({"", Dir.filePath("a.txt"), Dir.filePath("a.txt"), Missing}));
}

TEST_F(NetFormExport, CopiesThePinOrTheLinkedPinAndBeepsForAnythingElse) {
  QClipboard* Clipboard = QGuiApplication::clipboard();
  Form.TreeView2->setCurrentIndex(Node(1));
  Form.CopySelection1Click();
  EXPECT_EQ(Clipboard->text(), "=F1+L1-K1:13");
  Form.TreeView2->setCurrentIndex(Child(Form.TreeView2, {1, 2}));  // linked to +L3-X1:1
  Form.CopySelection1Click();
  EXPECT_EQ(Clipboard->text(), "+L3-X1:1");
  EXPECT_EQ(Prompts.Beeps, 0);

  Form.TreeView2->clearSelection();
  Form.CopySelection1Click();
  Form.RadioGroup1->SetItemIndex(2);
  for (const QModelIndex& NoPin :
       {Child(Form.TreeView2, {}), Child(Form.TreeView2, {0})}) {  // root, group
    Form.TreeView2->setCurrentIndex(NoPin);
    Form.CopySelection1Click();
  }
  EXPECT_EQ(Prompts.ClipboardWrites, 2);
  EXPECT_EQ(Clipboard->text(), "+L3-X1:1");
  Form.TreeView2->setCurrentIndex(Child(Form.TreeView2, {0, 0}));
  Prompts.RefuseClipboard = true;
  Form.CopySelection1Click();
  EXPECT_EQ(Prompts.Beeps, 4);
}

// Ctrl+C pressed as the user would, also while the statistics or the netlist tree has the
// focus, copies the pin selected in the pin list.
TEST_F(NetFormExport, CtrlCCopiesThePinListSelectionWhereverTheFocusIs) {
  ASSERT_TRUE(ShowActive());
  Load(HandMadeRecords());
  Form.TreeView1->setCurrentIndex(Child(Form.TreeView1, {0, 1}));
  Form.TreeView2->setCurrentIndex(Node(5));
  Form.Memo1->selectAll();
  for (QWidget* Focus : std::initializer_list<QWidget*>{Form.Memo1, Form.TreeView1}) {
    QGuiApplication::clipboard()->setText("before");
    Focus->setFocus();
    QTest::keyClick(Focus, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "=R+L2-R3:1")
        << Focus->metaObject()->className();
  }
}

}  // namespace
}  // namespace wiremap
