#include "ui/CompareForm.h"

#include <utility>

#include <QColor>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "model/Project.h"
#include "ui/ImageList.h"
#include "ui/TextFile.h"
#include "ui/UserPrompts.h"
#include "ui/WindowStyle.h"

namespace wiremap {

namespace {

// A row of the tree: its line in the comparison and the generation of the rows it belongs to.
enum TCompareRole : int { LineRole = Qt::UserRole + 20, GenerationRole };

constexpr int kTreeIndent = 19;

QString Text(const std::string& AText) {
  return QString::fromStdString(AText);
}

QStringList TextLines(const std::vector<std::string>& ALines) {
  QStringList Lines;
  Lines.reserve(static_cast<qsizetype>(ALines.size()));
  for (const std::string& Line : ALines) Lines.append(Text(Line));
  return Lines;
}

// Gained pins in green, lost ones in red, so that a long list reads at a glance.
QColor LineColor(const std::string& AText) {
  if (AText.starts_with("+ ")) return QColor(0, 110, 0);
  if (AText.starts_with("- ")) return QColor(170, 0, 0);
  return QColor();
}

}  // namespace

TForm6::TForm6(QWidget* AParent) : QDialog(AParent), FImages(std::make_unique<TImageList>()) {
  setWindowTitle(QStringLiteral("Netlist Comparison"));
  setFont(DesignFont(QFont()));
  CreateControls();
  UpdateButtons();
  resize(720, 560);
}

TForm6::~TForm6() = default;

void TForm6::CreateControls() {
  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setTextFormat(Qt::PlainText);
  Label1->setWordWrap(true);
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

  const auto AddButton = [this](const QString& ACaption, const char* AName,
                                void (TForm6::*AHandler)()) {
    auto* Button = new QPushButton(ACaption, this);
    Button->setObjectName(QString::fromLatin1(AName));
    Button->setAutoDefault(false);
    connect(Button, &QPushButton::clicked, this, AHandler);
    return Button;
  };
  Button1 = AddButton(QStringLiteral("&Save..."), "Button1", &TForm6::Button1Click);
  Button2 = AddButton(QStringLiteral("Save as &CSV..."), "Button2", &TForm6::Button2Click);
  Button3 = AddButton(QStringLiteral("S&wap Sides"), "Button3", &TForm6::Button3Click);
  BitBtn1 = AddButton(QStringLiteral("OK"), "BitBtn1", &TForm6::BitBtn1Click);
  BitBtn1->setDefault(true);

  auto* Buttons = new QHBoxLayout;
  Buttons->addWidget(Button1);
  Buttons->addWidget(Button2);
  Buttons->addWidget(Button3);
  Buttons->addStretch(1);
  Buttons->addWidget(BitBtn1);
  auto* Layout = new QVBoxLayout(this);
  Layout->setContentsMargins(8, 8, 8, 8);
  Layout->addWidget(Label1);
  Layout->addWidget(TreeView1, 1);
  Layout->addLayout(Buttons);
}

void TForm6::ShowComparison(TComparison AComparison, TLoaded ALoaded) {
  FComparison = std::move(AComparison);
  FLoaded = ALoaded;
  Show();
  show();
  raise();
  activateWindow();
}

void TForm6::Show() {
  Label1->setText(Text(SummaryLine(*FComparison)));
  BuildTree();
  UpdateButtons();
}

void TForm6::Clear(const QString& AReason) {
  FComparison.reset();
  FLoaded = TLoaded::None;
  FLines.clear();
  ++FGeneration;
  TreeView1->clear();
  Label1->setText(AReason);
  UpdateButtons();
}

void TForm6::UpdateButtons() {
  for (QPushButton* Button : {Button1, Button2, Button3})
    Button->setEnabled(FComparison.has_value());
}

void TForm6::FollowLoad(const TProject& AProject) {
  if (FLoaded == TLoaded::None) return;
  if (FLoaded == TLoaded::Old) {
    Clear("The comparison was cleared: its old side, project [" + Text(FComparison->Old.Name) +
          "], is no longer the loaded project.");
    return;
  }
  // Nothing shows it any more: not worth comparing again.
  if (!isVisible()) {
    Clear("The comparison was cleared when project [" + Text(AProject.Name()) + "] was loaded.");
    return;
  }
  TComparisonSide Old = std::move(FComparison->Old);
  FComparison = CompareSides(std::move(Old), SideOfProject(AProject));
  Show();
}

void TForm6::BuildTree() {
  ++FGeneration;
  FLines = ComparisonLines(*FComparison);
  TreeView1->clear();
  // Parents by depth while the rows come in pre-order.
  std::vector<QTreeWidgetItem*> Parents;
  for (size_t I = 0; I < FLines.size(); ++I) {
    const TComparisonLine& Line = FLines[I];
    auto* Node = new QTreeWidgetItem(QStringList(Text(Line.Text)));
    Node->setData(0, LineRole, static_cast<int>(I));
    Node->setData(0, GenerationRole, FGeneration);
    if (const QColor Color = LineColor(Line.Text); Color.isValid()) Node->setForeground(0, Color);
    Node->setIcon(0, FImages->NodeIcon(Line.Depth == 0     ? TImageList::iiProject
                                       : Line.Net >= 0     ? TImageList::iiNet
                                       : !Line.Pin.empty() ? TImageList::iiPin
                                                           : TImageList::iiLink));
    Parents.resize(static_cast<size_t>(Line.Depth));
    if (Parents.empty())
      TreeView1->addTopLevelItem(Node);
    else
      Parents.back()->addChild(Node);
    Parents.push_back(Node);
  }
  // The changes are open to view; whole nets of one side stay folded.
  if (QTreeWidgetItem* Root = TreeView1->topLevelItem(0)) {
    Root->setExpanded(true);
    for (int I = 0; I < Root->childCount(); ++I) {
      QTreeWidgetItem* Group = Root->child(I);
      if (Group->text(0).startsWith("nets only in")) continue;
      Group->setExpanded(true);
      if (I == 0)
        for (int J = 0; J < Group->childCount(); ++J) Group->child(J)->setExpanded(true);
    }
  }
}

// A row asks for what it names only while it belongs to the comparison shown.
void TForm6::TreeView1DblClick(QTreeWidgetItem* ANode) {
  if (!ANode || ANode->treeWidget() != TreeView1 || !FComparison ||
      ANode->data(0, GenerationRole).toInt() != FGeneration)
    return;
  const int Index = ANode->data(0, LineRole).toInt();
  if (Index < 0 || static_cast<size_t>(Index) >= FLines.size()) return;
  const TComparisonLine& Line = FLines[static_cast<size_t>(Index)];
  if (Line.Net >= 0) {
    const TNetlist& Netlist =
        Line.Side == TComparisonLine::OldSide ? FComparison->Old.Netlist : FComparison->New.Netlist;
    emit netRequested(TextLines(Netlist.Nets[static_cast<size_t>(Line.Net)]));
  } else if (!Line.Pin.empty()) {
    emit pinRequested(Text(Line.Pin));
  } else {
    ANode->setExpanded(!ANode->isExpanded());
  }
}

// The chosen name is proposed again by the next save of the same kind, also when it fails.
void TForm6::Save(QString& AFileName, const QString& AFilter, const QString& ASuffix,
                  const std::string& AText) {
  const std::optional<QString> FileName =
      UserPrompts().AskSaveFileNameFor(this, AFileName, AFilter, ASuffix);
  if (!FileName) return;
  AFileName = *FileName;
  SaveTextBytes(*FileName, AText);
}

void TForm6::Button1Click() {
  if (!FComparison) return UserPrompts().Beep();
  Save(FFileName, "Text files (*.txt)", "txt", WriteComparisonText(*FComparison));
}

void TForm6::Button2Click() {
  if (!FComparison) return UserPrompts().Beep();
  Save(FCsvFileName, "CSV files (*.csv)", "csv", WriteComparisonCsv(*FComparison));
}

void TForm6::Button3Click() {
  if (!FComparison) return UserPrompts().Beep();
  TComparison& C = *FComparison;
  FComparison = CompareSides(std::move(C.New), std::move(C.Old));
  FLoaded = FLoaded == TLoaded::Old   ? TLoaded::New
            : FLoaded == TLoaded::New ? TLoaded::Old
                                      : TLoaded::None;
  Show();
}

void TForm6::BitBtn1Click() {
  hide();
}

}  // namespace wiremap
