#include "ui/DrawingCheckForm.h"

#include <algorithm>
#include <exception>
#include <string>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "host/NetRead.h"
#include "model/ConnectionRec.h"
#include "ui/TextFile.h"
#include "ui/UserPrompts.h"
#include "ui/WindowStyle.h"

namespace wiremap {

namespace {

// The finding a node stands for: its index; group nodes carry none.
constexpr int FindingRole = Qt::UserRole + 30;

constexpr TFindingKind Kinds[] = {TFindingKind::OpenLineEnd, TFindingKind::PinInsideLine,
                                  TFindingKind::UnconnectedPin, TFindingKind::OnlyInDrawing,
                                  TFindingKind::OnlyInList};

QString Text(const std::string& AText) {
  return QString::fromStdString(AText);
}

// The connection retrieval names the project after the host's (no name); the project
// loaded in the main window keeps its own.
class TProjectNameKeeper {
 public:
  TProjectNameKeeper() : FName(ProjectName) {}
  TProjectNameKeeper(const TProjectNameKeeper&) = delete;
  TProjectNameKeeper& operator=(const TProjectNameKeeper&) = delete;
  ~TProjectNameKeeper() { ProjectName = FName; }

 private:
  std::string FName;
};

}  // namespace

TDrawingCheckForm::TDrawingCheckForm(QWidget* AParent) : QDialog(AParent) {
  setWindowTitle(QStringLiteral("Drawing Check"));
  setFont(DesignFont(QFont()));
  CreateControls();
  resize(640, 480);
}

void TDrawingCheckForm::CreateControls() {
  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setTextFormat(Qt::PlainText);
  Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);

  TreeView1 = new QTreeWidget(this);
  TreeView1->setObjectName(QStringLiteral("TreeView1"));
  TreeView1->setHeaderHidden(true);
  TreeView1->setColumnCount(1);
  TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TreeView1->setUniformRowHeights(true);
  TreeView1->header()->setStretchLastSection(false);
  TreeView1->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  connect(TreeView1, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* ANode) { TreeView1DblClick(ANode); });

  Button1 = new QPushButton(QStringLiteral("&Save..."), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setAutoDefault(false);
  connect(Button1, &QPushButton::clicked, this, &TDrawingCheckForm::Button1Click);

  BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &TDrawingCheckForm::BitBtn1Click);

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

bool TDrawingCheckForm::RunCheck() {
  TSymbols Symbols;
  TPolylines Lines;
  TConnectionRecs Connections;
  try {
    bool Connected = true;
    RetrieveRawData(Symbols, Lines, [this, &Connected](const std::exception& AError) {
      Connected = false;
      ShowHostError(this, AError);
    });
    if (!Connected) return false;
    const TProjectNameKeeper KeepName;
    RetrieveConnections(CoApplication::Create(), Connections, nullptr);
  } catch (const std::exception& AError) {
    ShowHostError(this, AError);
    return false;
  }
  const TPinNamer Namer = HostPinNamer();
  std::vector<TFinding> Findings = CheckDrawing(Symbols, Lines, Namer);
  std::vector<TFinding> Differences = CompareWithConnectionList(Symbols, Lines, Connections, Namer);
  Findings.insert(Findings.end(), std::make_move_iterator(Differences.begin()),
                  std::make_move_iterator(Differences.end()));
  ShowFindings(std::move(Findings), QString("%1 symbols, %2 lines and %3 connections checked")
                                        .arg(Symbols.size())
                                        .arg(Lines.size())
                                        .arg(Connections.size()));
  show();
  raise();
  activateWindow();
  return true;
}

void TDrawingCheckForm::ShowFindings(std::vector<TFinding> AFindings, const QString& ASummary) {
  FFindings = std::move(AFindings);
  Label1->setText(ASummary);
  BuildTree();
}

void TDrawingCheckForm::BuildTree() {
  TreeView1->clear();
  if (FFindings.empty()) {
    TreeView1->addTopLevelItem(new QTreeWidgetItem(QStringList(NoFindingsText)));
    return;
  }
  for (TFindingKind Kind : Kinds) {
    QTreeWidgetItem* Group = nullptr;
    for (size_t I = 0; I < FFindings.size(); ++I) {
      if (FFindings[I].Kind != Kind) continue;
      if (!Group) Group = new QTreeWidgetItem(TreeView1);
      auto* Node = new QTreeWidgetItem(Group, QStringList(Text(FFindings[I].Text)));
      Node->setData(0, FindingRole, static_cast<qulonglong>(I));
    }
    if (Group)
      Group->setText(0, Text(FindingGroupCaption(Kind, static_cast<size_t>(Group->childCount()))));
  }
  TreeView1->expandAll();
}

void TDrawingCheckForm::TreeView1DblClick(QTreeWidgetItem* ANode) {
  if (!ANode || !ANode->data(0, FindingRole).isValid()) return;
  const TFinding& Finding = FFindings.at(ANode->data(0, FindingRole).toULongLong());
  if (Finding.Pins.empty()) {
    UserPrompts().Beep();
    return;
  }
  emit pinRequested(Text(Finding.Pins.front()));
}

// The chosen name is proposed again by the next save, also when this one fails.
void TDrawingCheckForm::Button1Click() {
  const std::optional<QString> FileName =
      UserPrompts().AskSaveFileName(this, FFileName.isEmpty() ? "DrawingCheck.txt" : FFileName);
  if (!FileName) return;
  FFileName = *FileName;
  QStringList Lines;
  for (const std::string& Line : FindingLines(FFindings)) Lines.append(Text(Line));
  SaveTextFile(*FileName, Lines);
}

void TDrawingCheckForm::BitBtn1Click() {
  hide();
}

}  // namespace wiremap
