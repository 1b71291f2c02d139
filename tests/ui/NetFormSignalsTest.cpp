#include <gtest/gtest.h>

#include <QTreeView>

#include "NetFormTestSupport.h"

namespace wiremap {
namespace {

class NetFormSignals : public testing::Test, public TNetFormFixture {
 protected:
  QString Current() const { return Form.TreeView1->currentIndex().data().toString(); }
};

TEST_F(NetFormSignals, EverySuccessfulLoadAnnouncesItsProjectOnce) {
  EXPECT_EQ(Form.Project(), nullptr);
  std::vector<std::string> Names;
  QObject::connect(&Form, &TForm1::projectLoaded, [&](const TProject& AProject) {
    EXPECT_EQ(&AProject, Form.Project());
    EXPECT_EQ(AProject.Records().size(), 7u);
    Names.push_back(AProject.Name());
  });
  Load(HandMadeRecords(), "First");
  Retrieval.Succeed = false;
  Form.RetrieveCurrentProjectsNetlist1Click();
  Retrieval.Succeed = true;
  Retrieval.Records = HandMadeRecords();
  ProjectName = "Second";
  Form.RetrieveCurrentProjectsNetlist1Click();
  EXPECT_EQ(Names, (std::vector<std::string>{"First", ""}));
}

TEST_F(NetFormSignals, NetsAndPinsAreFoundByNameWhateverTheirOrderAndCase) {
  Load(HandMadeRecords());
  EXPECT_TRUE(Form.SelectNetInNetlist({"=R+L2-R3:1", "=r+l2-r1:1", "=R+L2-R2:1"}));
  EXPECT_EQ(Current(), "net =R+L2-R1:1   pins 3   linear");
  EXPECT_TRUE(Form.SelectPinInNetlist("=f1+l1-k2:a1"));
  EXPECT_EQ(Current(), "=F1+L1-K2:A1");
  EXPECT_EQ(Current(), Form.TreeView1->currentIndex().data().toString());
  EXPECT_EQ(Prompts.Beeps, 0);
  // Part of a net, a net with a pin of another, a pin twice, unknown pins: nothing.
  for (const QStringList& Pins :
       {QStringList{"=R+L2-R1:1", "=R+L2-R2:1"},
        QStringList{"=R+L2-R1:1", "=R+L2-R2:1", "+L3-X1:1"},
        QStringList{"=R+L2-R1:1", "=R+L2-R2:1", "=R+L2-R2:1"}, QStringList{"-Q9:1"}, QStringList{}})
    EXPECT_FALSE(Form.SelectNetInNetlist(Pins));
  EXPECT_FALSE(Form.SelectPinInNetlist("=F1+L1-K2"));
  EXPECT_EQ(Prompts.Beeps, 6);
  EXPECT_EQ(Current(), "=F1+L1-K2:A1");
}

TEST_F(NetFormSignals, ASelectedNetReachesTheChartBySignal) {
  Load(HandMadeRecords());
  int Marks = 0;
  QObject::connect(&Form, &TForm1::netMarksChanged, [&](TWiremaps& AGraph) {
    EXPECT_EQ(&AGraph, &Form.Graph());
    ++Marks;
  });
  Form.SelectNetInNetlist({"+L3-X1:1", "=F1+L1-K1:13", "=F1+L1-K2:A1"});
  ASSERT_EQ(Marks, 1);
  EXPECT_EQ(Form.Graph().GetPin(0)->Flags & pfMarked, pfMarked);
}

}  // namespace
}  // namespace wiremap
