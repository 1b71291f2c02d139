#include <gtest/gtest.h>

#include <QTest>

#include "NetFormTestSupport.h"
#include "ui/RadioGroup.h"

namespace wiremap {
namespace {

// The pin list of the hand-made project by name: +L3-X1:1, =F1+L1-K1:13, =F1+L1-K2:A1,
// =R+L2-R1:1, =R+L2-R2:1, =R+L2-R3:1.
class NetFormFind : public testing::Test, public TNetFormFixture {
 protected:
  NetFormFind() { Load(HandMadeRecords()); }

  // The pin selected in the pin list; "" for none.
  std::string Selected() const {
    const QModelIndex Node = Form.TreeView2->currentIndex();
    const TPinDescr* Pin =
        Form.TreeView2->selectionModel()->isSelected(Node) ? NodePin(Node) : nullptr;
    return Pin ? Pin->Name : "";
  }

  void Find(const QString& AText) {
    Prompts.AnswerText(AText);
    Form.FindPin1Click();
  }

  QModelIndex Node(int AIndex) const { return Child(Form.TreeView2, {AIndex}); }
};

TEST_F(NetFormFind, FindsTheWholeNameElseTheTextAnywhereAndRemembersTheText) {
  Form.RadioGroup1->SetItemIndex(4);  // by location: the groups start collapsed
  Statuses.clear();
  Find("=r+l2-R3:1");
  EXPECT_EQ(Selected(), "=R+L2-R3:1");
  EXPECT_TRUE(Form.TreeView2->isExpanded(Form.TreeView2->currentIndex().parent()));
  EXPECT_EQ(StatusTexts(), QStringList{"Ready."});
  Form.RadioGroup1->SetItemIndex(0);
  Find("k1");  // no whole name: searched as "*k1*"
  EXPECT_EQ(Selected(), "=F1+L1-K1:13");
  Prompts.AnswerText(std::nullopt);
  Form.FindPin1Click();
  Find("");  // equals no name, so "**": the first pin
  EXPECT_EQ(Selected(), "+L3-X1:1");
  ASSERT_EQ(Prompts.TextPrompts.size(), 4u);
  EXPECT_EQ(Prompts.TextPrompts[0].Title, "Find Pin");
  EXPECT_EQ(Prompts.TextPrompts[0].Prompt, "Enter Pin Name (\"?\" and \"*\" allowed)");
  EXPECT_EQ(Prompts.TextPrompts[0].MaxLength, 255);
  EXPECT_EQ(Prompts.TextPrompts[2].Value, "k1");  // without the added stars
  EXPECT_EQ(Prompts.TextPrompts[3].Value, "k1");  // a cancel keeps it
  Form.RadioGroup1->SetItemIndex(1);  // by page: page 1 holds the R pins and comes first
  Find("*:1");
  EXPECT_EQ(Selected(), "=R+L2-R1:1");
  EXPECT_EQ(Prompts.Beeps, 0);
}

TEST_F(NetFormFind, NothingFoundBeepsAndChangesNothing) {
  Form.TreeView2->setCurrentIndex(Node(2));
  Statuses.clear();
  // A mask is searched once; node texts are never searched; "?" needs a character.
  const QStringList Misses{"K1*", "pin *", "*links*", "=A1?", "zz"};
  for (const QString& Miss : Misses) Find(Miss);
  EXPECT_EQ(Prompts.Beeps, Misses.size());
  EXPECT_EQ(Selected(), "=F1+L1-K2:A1");
  EXPECT_TRUE(Statuses.isEmpty());
  Form.RadioGroup1->SetItemIndex(3);  // an order without pins (which beeps itself)
  Find("*");
  EXPECT_EQ(Prompts.Beeps, Misses.size() + 2);
}

// Through the keyboard, as the user meets it: the standard error box, nothing changed.
TEST_F(NetFormFind, AnInvalidMaskIsShownAndChangesNothing) {
  ASSERT_TRUE(ShowActive());
  Load(HandMadeRecords());
  Find("=R*");
  Prompts.AnswerText("x[!]");
  QTest::keyClick(&Form, Qt::Key_F, Qt::ControlModifier);
  ASSERT_EQ(Prompts.Errors.size(), 1u);
  EXPECT_EQ(Prompts.Errors[0].Title, "Wiremap");
  EXPECT_EQ(Prompts.Errors[0].Text, "'x[!]' is an invalid mask at (4)");
  EXPECT_EQ(Selected(), "=R+L2-R1:1");
  // Find Next still goes on with the last search that could be made.
  Form.FindNextPin1Click();
  EXPECT_EQ(Selected(), "=R+L2-R2:1");
}

TEST_F(NetFormFind, FindNextGoesOnAfterTheSelectedNodeUpToTheEnd) {
  Form.TreeView2->setCurrentIndex(Node(0));
  Form.FindNextPin1Click();  // no search yet
  EXPECT_EQ(Prompts.Beeps, 1);
  Find("r");  // made as "*r*"
  std::vector<std::string> Found{Selected()};
  for (int I = 0; I < 3; ++I) {
    Form.FindNextPin1Click();
    Found.push_back(Selected());
  }
  // The end beeps and stays; there is no wrapping.
  EXPECT_EQ(Found,
            (std::vector<std::string>{"=R+L2-R1:1", "=R+L2-R2:1", "=R+L2-R3:1", "=R+L2-R3:1"}));
  EXPECT_EQ(Prompts.Beeps, 2);
  Form.TreeView2->setCurrentIndex(Child(Form.TreeView2, {3, 1}));  // a link node under R1
  Form.FindNextPin1Click();
  EXPECT_EQ(Selected(), "=R+L2-R2:1");
  Form.TreeView2->clearSelection();
  Form.FindNextPin1Click();
  EXPECT_EQ(Prompts.Beeps, 3);
}

}  // namespace
}  // namespace wiremap
