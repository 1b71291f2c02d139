#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <QPushButton>
#include <QTreeWidget>

#include "NetFormTestSupport.h"
#include "SimTestDrawings.h"
#include "TestPrompts.h"
#include "host/ReadPCS.h"
#include "host/SimHostFactory.h"
#include "model/TextCompare.h"
#include "ui/Forms.h"
#include "ui/NetForm.h"

namespace wiremap {
namespace {

// Ctrl+R against hosts far larger or stranger than any real project.
class ReadPCSRobustness : public ::testing::Test {
 protected:
  ReadPCSRobustness() : Forms(CreateForms()), Form(*Forms->Form1), Retrieval(*Forms->Form4) {
    SetCollationLocale("C");
    Form.OpenSampleProject(1);
  }

  TTestPrompts Prompts;
  std::unique_ptr<TForms> Forms;
  TForm1& Form;
  TForm4& Retrieval;
};

TEST_F(ReadPCSRobustness, AListOf100000EntriesAbortedAtTheLastRecordKeepsTheProject) {
  constexpr int32_t Entries = 100000;
  const std::string Sample = ProjectName;
  const QStringList Netlist = Dump(Form.TreeView1);
  TSimHostFactory Factory(WireList(Entries, true));
  int32_t Read = 0;
  Factory.Faults.OnGetConnection = [&](int32_t AIndex) {
    ++Read;
    if (AIndex == Entries - 1) Retrieval.BitBtn1->click();
  };
  Form.RetrieveCurrentProjectsNetlist1Click();
  EXPECT_EQ(Read, Entries);
  EXPECT_EQ(Factory.LastHost()->ReleaseCount(), 1);
  EXPECT_TRUE(Prompts.Errors.empty());
  EXPECT_TRUE(Retrieval.Connections.empty());
  EXPECT_EQ(ProjectName, Sample);
  EXPECT_EQ(Dump(Form.TreeView1), Netlist);
  EXPECT_TRUE(Form.StatusText().startsWith("Ready."));
}

// A symbol name of 64 KB and names that are no UTF-8 at all, as a host may send them.
TEST_F(ReadPCSRobustness, HostileNamesFromTheHostAreShownAndFound) {
  const std::string Long = "=" + std::string(65536, 'F') + "+L-K1";
  TSimDrawing Drawing;
  TSimPage& Page = Drawing.Pages.emplace_back();
  const std::vector<std::string> Names{Long, "-K\x80", "-L\xC3", "=\xFF+\xFE-M\xED\xA0\x80",
                                       "<b>x</b>  &amp;"};
  for (size_t I = 0; I < Names.size(); ++I) {
    const int32_t Y = static_cast<int32_t>(I) * 5000;
    Page.Symbols.push_back(Part(Names[I], {{0, Y}}));
    Page.Symbols.back().Pins[0].Name = "\xC0\xAF";
    Page.Symbols.push_back(Part("-X" + std::to_string(I), {{20000, Y}}));
    Page.Symbols.push_back(Part("W\xE2\x82", {{10000, Y}}, TSimType::WireNumber));
    Page.Lines.push_back(Wire({{0, Y}, {10000, Y}, {20000, Y}}));
  }
  TSimHostFactory Factory(Drawing);
  Form.RetrieveCurrentProjectsNetlist1Click();
  EXPECT_TRUE(Prompts.Errors.empty());
  ASSERT_EQ(Form.Graph().GetPinCount(), 2 * static_cast<int32_t>(Names.size()));
  const QTreeWidgetItem* Nets = Form.TreeView1->topLevelItem(0);
  EXPECT_EQ(Nets->childCount(), static_cast<int>(Names.size()));
  EXPECT_FALSE(Form.TreeView1
                   ->findItems(QString::fromStdString(Long + ":\xC0\xAF"),
                               Qt::MatchExactly | Qt::MatchRecursive)
                   .isEmpty());
  EXPECT_FALSE(
      Form.TreeView1->findItems("<b>x</b>  &amp;:", Qt::MatchStartsWith | Qt::MatchRecursive)
          .isEmpty());
  // Choosing a pin in the netlist tree finds that very pin in the pin list.
  for (int I = 0; I < Nets->childCount(); ++I)
    for (int J = 0; J < Nets->child(I)->childCount(); ++J) {
      QTreeWidgetItem* Pin = Nets->child(I)->child(J);
      Form.TreeView1->setCurrentItem(Pin);
      EXPECT_EQ(NodePin(Form.TreeView2->currentItem()), NodePin(Pin)) << NodePin(Pin)->Name;
    }
}

}  // namespace
}  // namespace wiremap
