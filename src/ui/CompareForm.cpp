#include "ui/CompareForm.h"

#include <algorithm>

#include <QColor>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "model/TextCompare.h"
#include "ui/ImageList.h"
#include "ui/TextFile.h"
#include "ui/UserPrompts.h"
#include "ui/WindowStyle.h"

namespace wiremap {

namespace {

// What a node of the comparison tree stands for: a net of one side (side and net index)
// or a pin (its name); group nodes and the root carry nothing.
enum TCompareRole : int {
  SideRole = Qt::UserRole + 20,  // 1: old project, 2: new project
  NetRole,
  PinRole
};
constexpr int kOldSide = 1;
constexpr int kNewSide = 2;

constexpr int kTreeIndent = 19;

QFont ControlFont() {
  return DesignFont(QFont());
}

QString Text(const std::string& AText) {
  return QString::fromStdString(AText);
}

QString NetText(const std::vector<std::string>& ANet) {
  return "net " + (ANet.empty() ? QString() : Text(ANet.front())) + "   pins " +
         QString::number(ANet.size());
}

QTreeWidgetItem* PinNode(const TImageList& AImages, const QString& APrefix,
                         const std::string& AName, const QColor& AColor = QColor()) {
  auto* Node = new QTreeWidgetItem(QStringList(APrefix + Text(AName)));
  if (AColor.isValid()) Node->setForeground(0, AColor);
  Node->setIcon(0, AImages.NodeIcon(TImageList::iiPin));
  Node->setData(0, PinRole, Text(AName));
  return Node;
}

}  // namespace

TForm6::TForm6(QWidget* AParent) : QDialog(AParent), FImages(std::make_unique<TImageList>()) {
  setWindowTitle(QStringLiteral("Netlist Comparison"));
  setFont(ControlFont());
  CreateControls();
  resize(640, 560);
}

TForm6::~TForm6() = default;

void TForm6::CreateControls() {
  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setTextFormat(Qt::PlainText);
  Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);

  TreeView1 = new QTreeWidget(this);
  TreeView1->setObjectName(QStringLiteral("TreeView1"));
  TreeView1->setHeaderHidden(true);
  TreeView1->setColumnCount(1);
  TreeView1->setIndentation(kTreeIndent);
  TreeView1->setIconSize(QSize(TImageList::Size, TImageList::Size));
  TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TreeView1->setUniformRowHeights(true);
  TreeView1->header()->setStretchLastSection(false);
  TreeView1->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  // A double-click selects in the main window; it must not also fold the node away.
  TreeView1->setExpandsOnDoubleClick(false);
  connect(TreeView1, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* ANode) { TreeView1DblClick(ANode); });

  Button1 = new QPushButton(QStringLiteral("&Save..."), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setAutoDefault(false);
  connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);

  BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &TForm6::BitBtn1Click);

  auto* Buttons = new QHBoxLayout;
  Buttons->addWidget(Button1);
  Buttons->addStretch(1);
  Buttons->addWidget(BitBtn1);
  auto* Layout = new QVBoxLayout(this);
  Layout->setContentsMargins(8, 8, 8, 8);
  Layout->addWidget(Label1);
  Layout->addWidget(TreeView1, 1);
  Layout->addLayout(Buttons);
}

void TForm6::ShowComparison(TNetlist AOld, TNetlist ANew) {
  FOld = std::move(AOld);
  FNew = std::move(ANew);
  FDiff = CompareNetlists(FOld, FNew);
  Label1->setText(QString("unchanged %1, changed %2, only in old %3, only in new %4, "
                          "pins only in old %5, pins only in new %6")
                      .arg(FDiff.Unchanged)
                      .arg(FDiff.Changed.size())
                      .arg(FDiff.OnlyOld.size())
                      .arg(FDiff.OnlyNew.size())
                      .arg(FDiff.PinsOnlyOld.size())
                      .arg(FDiff.PinsOnlyNew.size()));
  BuildTree();
  show();
  raise();
  activateWindow();
}

QTreeWidgetItem* TForm6::GroupNode(const QString& AText, int ACount) {
  return new QTreeWidgetItem(QStringList(AText + ": " + QString::number(ACount)));
}

QTreeWidgetItem* TForm6::NetNode(const QString& AText, int ANet, bool AOldSide) {
  auto* Node = new QTreeWidgetItem(QStringList(AText));
  Node->setIcon(0, FImages->NodeIcon(TImageList::iiNet));
  Node->setData(0, SideRole, AOldSide ? kOldSide : kNewSide);
  Node->setData(0, NetRole, ANet);
  return Node;
}

void TForm6::BuildTree() {
  TreeView1->clear();
  auto* Root = new QTreeWidgetItem(QStringList("Changes from project [" + Text(FOld.ProjectName) +
                                               "] to project [" + Text(FNew.ProjectName) + "]"));
  Root->setIcon(0, FImages->NodeIcon(TImageList::iiProject));

  QTreeWidgetItem* Changed = GroupNode("changed nets", static_cast<int>(FDiff.Changed.size()));
  // Gained pins in green, lost ones in red, so that a long list reads at a glance.
  for (const TNetChange& Change : FDiff.Changed) {
    QTreeWidgetItem* Net =
        NetNode(NetText(FNew.Nets[Change.NewNet]) + "   was " + NetText(FOld.Nets[Change.OldNet]),
                Change.NewNet, false);
    for (const std::string& Pin : Change.Added)
      Net->addChild(PinNode(*FImages, "+ ", Pin, QColor(0, 110, 0)));
    for (const std::string& Pin : Change.Removed)
      Net->addChild(PinNode(*FImages, "- ", Pin, QColor(170, 0, 0)));
    Changed->addChild(Net);
  }

  const auto AddNets = [&](const QString& AText, const std::vector<int>& ANets,
                           const TNetlist& ANetlist, bool AOldSide) {
    QTreeWidgetItem* Group = GroupNode(AText, static_cast<int>(ANets.size()));
    for (const int Index : ANets) {
      QTreeWidgetItem* Net = NetNode(NetText(ANetlist.Nets[Index]), Index, AOldSide);
      for (const std::string& Pin : ANetlist.Nets[Index]) Net->addChild(PinNode(*FImages, "", Pin));
      Group->addChild(Net);
    }
    return Group;
  };
  const auto AddPins = [&](const QString& AText, const std::vector<std::string>& APins) {
    QTreeWidgetItem* Group = GroupNode(AText, static_cast<int>(APins.size()));
    for (const std::string& Pin : APins) Group->addChild(PinNode(*FImages, "", Pin));
    return Group;
  };

  Root->addChildren({Changed, AddNets("nets only in the old project", FDiff.OnlyOld, FOld, true),
                     AddNets("nets only in the new project", FDiff.OnlyNew, FNew, false),
                     AddPins("pins only in the old project", FDiff.PinsOnlyOld),
                     AddPins("pins only in the new project", FDiff.PinsOnlyNew)});
  TreeView1->addTopLevelItem(Root);
  Root->setExpanded(true);
  Changed->setExpanded(true);
  for (int I = 0; I < Changed->childCount(); ++I) Changed->child(I)->setExpanded(true);
}

const std::vector<std::string>* TForm6::NetOf(const QTreeWidgetItem* ANode) const {
  const int Side = ANode->data(0, SideRole).toInt();
  if (Side != kOldSide && Side != kNewSide) return nullptr;
  const TNetlist& Netlist = Side == kOldSide ? FOld : FNew;
  const int Net = ANode->data(0, NetRole).toInt();
  if (Net < 0 || static_cast<size_t>(Net) >= Netlist.Nets.size()) return nullptr;
  return &Netlist.Nets[static_cast<size_t>(Net)];
}

void TForm6::TreeView1DblClick(QTreeWidgetItem* ANode) {
  if (!ANode) return;
  const std::vector<std::string>* Net = NetOf(ANode);
  const QVariant Pin = ANode->data(0, PinRole);
  if (!Net && !Pin.isValid()) {
    ANode->setExpanded(!ANode->isExpanded());
    return;
  }
  if (Net) {
    QStringList Pins;
    for (const std::string& Name : *Net) Pins.append(QString::fromStdString(Name));
    emit netRequested(Pins);
  } else {
    emit pinRequested(Pin.toString());
  }
}

void TForm6::Button1Click() {
  const std::optional<QString> FileName = UserPrompts().AskSaveFileName(this, FFileName);
  if (!FileName) return;
  FFileName = *FileName;
  SaveTextFile(*FileName, TreeLines(*TreeView1));
}

void TForm6::BitBtn1Click() {
  hide();
}

}  // namespace wiremap
