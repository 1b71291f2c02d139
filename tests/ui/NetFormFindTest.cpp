#include <gtest/gtest.h>

#include <QTest>

#include "NetFormTestSupport.h"
#include "ui/RadioGroup.h"

namespace wiremap {
namespace {

// The pin list of the hand-made project in name order: +L3-X1:1, =F1+L1-K1:13,
// =F1+L1-K2:A1, =R+L2-R1:1, =R+L2-R2:1, =R+L2-R3:1.
class NetFormFind : public testing::Test, public TNetFormFixture {
 protected:
  NetFormFind() { Load(HandMadeRecords()); }

  // The name of the pin selected in the pin list, "" for none, "-" for a node without one.
  std::string Selected() const {
    const QTreeWidgetItem* Node = Form.TreeView2->currentItem();
    if (!Node || !Node->isSelected()) return "";
    const TPinDescr* Pin = NodePin(Node);
    return Pin ? Pin->Name : "-";
  }

  void Find(const QString& AText) {
    Prompts.AnswerText(AText);
    Form.FindPin1Click();
  }

  QTreeWidgetItem* PinNode(int AIndex) const {
    return Form.TreeView2->topLevelItem(0)->child(AIndex);
  }
};

TEST_F(NetFormFind, AsksForTheNameAndOffersTheLastTextAgain) {
  Prompts.AnswerText(std::nullopt);
  Form.FindPin1Click();
  Find("=r+l2-R2:1");
  Prompts.AnswerText(std::nullopt);
  Form.FindPin1Click();
  ASSERT_EQ(Prompts.TextPrompts.size(), 3u);
  for (const auto& Prompt : Prompts.TextPrompts) {
    EXPECT_EQ(Prompt.Title, "Find Pin");
    EXPECT_EQ(Prompt.Prompt, "Enter Pin Name (\"?\" and \"*\" allowed)");
    EXPECT_EQ(Prompt.MaxLength, 255);
  }
  EXPECT_EQ(Prompts.TextPrompts[0].Value, "");
  EXPECT_EQ(Prompts.TextPrompts[1].Value, "");
  EXPECT_EQ(Prompts.TextPrompts[2].Value, "=r+l2-R2:1");
  EXPECT_EQ(Selected(), "=R+L2-R2:1");
  EXPECT_EQ(Prompts.Beeps, 0);
}

TEST_F(NetFormFind, SelectsTheFoundPinShowsItAndIsReady) {
  Form.RadioGroup1->SetItemIndex(4);  // by location: the groups start collapsed
  Statuses.clear();
  Find("=R+L2-R3:1");
  EXPECT_EQ(Selected(), "=R+L2-R3:1");
  EXPECT_TRUE(Form.TreeView2->currentItem()->parent()->isExpanded());
  EXPECT_EQ(StatusTexts(), QStringList{"Ready."});
}

TEST_F(NetFormFind, APlainTextIsSearchedAnywhereInTheNameWhenNoNameEqualsIt) {
  Find("k1");
  EXPECT_EQ(Selected(), "=F1+L1-K1:13");
  // The text is kept as typed, without the stars of the second search.
  Prompts.AnswerText(std::nullopt);
  Form.FindPin1Click();
  EXPECT_EQ(Prompts.TextPrompts.back().Value, "k1");
  // An empty text equals no name and so finds the first pin.
  Find("");
  EXPECT_EQ(Selected(), "+L3-X1:1");
  EXPECT_EQ(Prompts.Beeps, 0);
}

TEST_F(NetFormFind, NothingFoundBeepsAndChangesNothing) {
  Form.TreeView2->setCurrentItem(PinNode(2));
  Statuses.clear();
  struct {
    const char* Text;
    const char* Why;
  } const Misses[] = {{"K1*", "a mask is searched once, not again inside names"},
                      {"pin *", "node texts are never searched"},
                      {"*links*", "node texts are never searched"},
                      {"=A1?", "\"?\" needs a character"},
                      {"zz", "no name holds it"}};
  int Beeps = 0;
  for (const auto& Miss : Misses) {
    Find(Miss.Text);
    EXPECT_EQ(Prompts.Beeps, ++Beeps) << Miss.Text << ": " << Miss.Why;
    EXPECT_EQ(Selected(), "=F1+L1-K2:A1") << Miss.Text;
  }
  EXPECT_TRUE(Statuses.isEmpty());
}

TEST_F(NetFormFind, GroupedOrdersFindTheFirstMatchInGroupOrder) {
  Form.RadioGroup1->SetItemIndex(1);  // by page: page 1 holds the R pins and comes first
  Find("*:1");
  EXPECT_EQ(Selected(), "=R+L2-R1:1");
  Form.RadioGroup1->SetItemIndex(3);  // an order without pins: every search beeps
  Find("*");
  EXPECT_EQ(Prompts.Beeps, 2);
  EXPECT_EQ(Selected(), "");
}

TEST_F(NetFormFind, AnInvalidMaskIsAnErrorAndChangesNothing) {
  Find("=R*");
  Form.TreeView2->setCurrentItem(PinNode(4));
  Statuses.clear();
  Prompts.AnswerText("[ab");
  try {
    Form.FindPin1Click();
    FAIL() << "no error";
  } catch (const EInvalidMask& E) {
    EXPECT_EQ(E.Message(), "'[ab' is an invalid mask at (4)");
  }
  EXPECT_EQ(Selected(), "=R+L2-R2:1");
  EXPECT_TRUE(Statuses.isEmpty());
  // The bad text is offered again for correcting; Find Next still goes on with "=R*".
  Prompts.AnswerText(std::nullopt);
  Form.FindPin1Click();
  EXPECT_EQ(Prompts.TextPrompts.back().Value, "[ab");
  Form.FindNextPin1Click();
  EXPECT_EQ(Selected(), "=R+L2-R3:1");
}

TEST_F(NetFormFind, AnInvalidMaskReachesTheErrorBoxFromTheKeyboard) {
  Form.show();
  QApplication::processEvents();  // the first activation loads sample 1
  Load(HandMadeRecords());
  Form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Form));
  Prompts.AnswerText("x[!]");
  QTest::keyClick(&Form, Qt::Key_F, Qt::ControlModifier);
  ASSERT_EQ(Prompts.Errors.size(), 1u);
  EXPECT_EQ(Prompts.Errors[0].Title, "Wiremap");
  EXPECT_EQ(Prompts.Errors[0].Text, "'x[!]' is an invalid mask at (4)");
  EXPECT_EQ(Selected(), "");
}

TEST_F(NetFormFind, FindNextGoesOnWithTheSearchAsItWasLastMade) {
  Find("r");  // searched as "*r*"
  std::vector<std::string> Found{Selected()};
  for (int I = 0; I < 2; ++I) {
    Form.FindNextPin1Click();
    Found.push_back(Selected());
  }
  EXPECT_EQ(Found, (std::vector<std::string>{"=R+L2-R1:1", "=R+L2-R2:1", "=R+L2-R3:1"}));
  EXPECT_EQ(Prompts.Beeps, 0);
  // The end: a beep, no wrapping to the first match.
  Form.FindNextPin1Click();
  EXPECT_EQ(Prompts.Beeps, 1);
  EXPECT_EQ(Selected(), "=R+L2-R3:1");
  // From a link node the search goes on after it: the next pin node.
  Form.TreeView2->setCurrentItem(PinNode(3)->child(1));
  Form.FindNextPin1Click();
  EXPECT_EQ(Selected(), "=R+L2-R2:1");
  // From a group node in a grouped order: its own pins come next.
  Form.RadioGroup1->SetItemIndex(4);
  Form.TreeView2->setCurrentItem(Form.TreeView2->topLevelItem(0)->child(1));
  Form.FindNextPin1Click();
  EXPECT_EQ(Selected(), "=R+L2-R1:1");
}

TEST_F(NetFormFind, FindNextWithoutASearchOrASelectionBeeps) {
  Form.TreeView2->setCurrentItem(PinNode(0));
  Form.FindNextPin1Click();
  EXPECT_EQ(Prompts.Beeps, 1);
  EXPECT_EQ(Selected(), "+L3-X1:1");
  Find("*");
  Form.TreeView2->clearSelection();
  Form.FindNextPin1Click();
  EXPECT_EQ(Prompts.Beeps, 2);
  EXPECT_EQ(Selected(), "");
}

}  // namespace
}  // namespace wiremap
