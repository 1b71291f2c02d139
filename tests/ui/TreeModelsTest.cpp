#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QIcon>
#include <QImage>

#include "NetFormTestSupport.h"
#include "ui/ImageList.h"
#include "ui/RadioGroup.h"

namespace wiremap {
namespace {

// Qt's own checks of both tree models, kept running across loads and order changes; a
// failed check comes as a warning that the handler collects.
class TreeModels : public testing::Test, public TNetFormFixture {
 protected:
  TreeModels() { Previous = qInstallMessageHandler(&Collect); }
  ~TreeModels() override { qInstallMessageHandler(Previous); }

  static void Collect(QtMsgType AType, const QMessageLogContext&, const QString& AText) {
    if (AType != QtDebugMsg) Failures().append(AText);
  }
  static QStringList& Failures() {
    static QStringList Texts;
    return Texts;
  }

  QtMessageHandler Previous = nullptr;
};

TEST_F(TreeModels, PassQtsModelCheckerInEveryOrderOnASampleAndOnAnEmptyProject) {
  Failures().clear();
  const auto Mode = QAbstractItemModelTester::FailureReportingMode::Warning;
  QAbstractItemModelTester Netlist(Form.TreeView1->model(), Mode);
  QAbstractItemModelTester PinList(Form.TreeView2->model(), Mode);
  for (const bool Empty : {true, false}) {
    if (Empty)
      Load({});
    else
      Form.OpenSampleProject(5);
    for (int Order = 0; Order < SortOrderCount; ++Order) {
      Form.RadioGroup1->SetItemIndex(Order);
      // A fresh checker walks the whole tree; the running ones saw the reset.
      QAbstractItemModelTester Walk(Form.TreeView2->model(), Mode);
    }
    QAbstractItemModelTester Walk(Form.TreeView1->model(), Mode);
  }
  EXPECT_EQ(Failures(), QStringList());
}

TEST_F(TreeModels, AReloadGivesTheNewRowsAndClearsTheSelection) {
  Form.OpenSampleProject(5);
  Form.RadioGroup1->SetItemIndex(4);
  const TPinDescr* Pin = NodePin(Child(Form.TreeView1, {7, 1}));
  ASSERT_TRUE(Form.SelectPinInNetlist(QString::fromStdString(Pin->Name)));
  ASSERT_TRUE(Form.TreeView2->currentIndex().isValid());
  Statuses.clear();
  Load(HandMadeRecords());
  for (QTreeView* Tree : {Form.TreeView1, Form.TreeView2}) {
    EXPECT_FALSE(Tree->currentIndex().isValid());
    EXPECT_TRUE(Tree->isExpanded(Child(Tree, {})));
  }
  EXPECT_FALSE(StatusTexts().join(' ').contains("Searching"));
  EXPECT_EQ(ChildCount(Child(Form.TreeView1, {})), 2);
  EXPECT_EQ(Dump(Form.TreeView2, 1),
            QStringList({"List of pins in project [Hand-made]", "\tlocation +L1", "\tlocation +L2",
                         "\tlocation +L3"}));
  Form.CopySelection1Click();
  EXPECT_EQ(Prompts.Beeps, 1);
}

// A node shows its image, and its selected image while selected (the root keeps its own).
TEST_F(TreeModels, NodesShowTheirImagesAndTheSelectedOnesWhileSelected) {
  Load(HandMadeRecords());
  Form.RadioGroup1->SetItemIndex(1);
  const auto Shown = [](const QModelIndex& ANode, QIcon::Mode AMode) {
    return ANode.data(Qt::DecorationRole).value<QIcon>().pixmap(16, AMode).toImage();
  };
  struct TCase {
    QModelIndex Node;
    int Image;
  };
  for (const TCase& Case : {TCase{Child(Form.TreeView1, {}), TImageList::iiProject},
                            TCase{Child(Form.TreeView1, {1}), TImageList::iiNet},
                            TCase{Child(Form.TreeView1, {1, 2}), TImageList::iiPin},
                            TCase{Child(Form.TreeView2, {0}), TImageList::iiPageSheet},
                            TCase{Child(Form.TreeView2, {0, 0}), TImageList::iiPin},
                            TCase{Child(Form.TreeView2, {0, 0, 1}), TImageList::iiLink}}) {
    SCOPED_TRACE(Case.Node.data().toString().toStdString());
    EXPECT_EQ(Shown(Case.Node, QIcon::Normal), Form.ImageList1->Image(Case.Image).toImage());
    EXPECT_EQ(Shown(Case.Node, QIcon::Selected),
              Form.ImageList1->Image(TImageList::SelectedImage(Case.Image)).toImage());
  }
}

}  // namespace
}  // namespace wiremap
