#include "ui/NetForm.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>

#include "charts/ViewGrph.h"
#include "files/ProjectFile.h"
#include "host/ReadPCS.h"
#include "model/Wiremap.h"
#include "rawdata/ViewRawD.h"
#include "ui/Application.h"
#include "ui/CompareForm.h"
#include "ui/HelpForm.h"
#include "ui/ImageList.h"
#include "ui/LoadWarningsForm.h"
#include "ui/NetlistModel.h"
#include "ui/PinListModel.h"
#include "ui/RadioGroup.h"
#include "ui/ShortcutGuard.h"
#include "ui/TextFile.h"
#include "ui/UsedMemory.h"
#include "ui/UserPrompts.h"
#include "ui/VersionInfo.h"
#include "ui/WindowStyle.h"

namespace wiremap {

namespace {

// The designed window is 945 x 600 pixels, at least 400 high.
constexpr int DefaultWidth = InsideWidth(945);
constexpr int DefaultHeight = InsideHeight(600);
constexpr int MinimumHeight = InsideHeight(400);
constexpr int StatusBarHeight = 21;
constexpr int TreeIndent = 19;

const QColor NetlistBackground(255, 244, 240);
const QColor PinListBackground(240, 252, 255);

const char* const CaptionTail = " - A Netlist Tool for PC|SCHEMATIC AUTOMATION";

// The short label of a sample, shown in parentheses after its menu items.
QString SampleLabel(int ANumber) {
  const TSampleProject* Sample = SampleProjectInfo(ANumber);
  return Sample && Sample->Label ? QString::fromUtf8(Sample->Label) : QString();
}

void SetBackground(QWidget* AWidget, const QColor& AColor) {
  QPalette Palette = AWidget->palette();
  Palette.setColor(QPalette::Base, AColor);
  AWidget->setPalette(Palette);
}

QString ToQString(const std::string& AText) {
  return QString::fromStdString(AText);
}

}  // namespace

TForm1::TForm1(QWidget* AParent)
    : QMainWindow(AParent), ImageList1(std::make_unique<TImageList>()) {
  CreateControls();
  CreateMenu();
  ApplyFont();
  setMinimumSize(DefaultWidth, MinimumHeight);
  setMaximumWidth(DefaultWidth);
  resize(DefaultWidth, DefaultHeight);
  PlaceControls();
  if (const QScreen* Screen = screen())
    move(Screen->availableGeometry().center() - rect().center());
  FormCreate();
}

TForm1::~TForm1() {
  // The trees are deleted after this body; their signals must not reach a dying window.
  TreeView1->selectionModel()->blockSignals(true);
  TreeView2->selectionModel()->blockSignals(true);
  EndBusyCursor();
}

void TForm1::ConnectForms(TForm2* AForm2, TForm3* AForm3, TForm4* AForm4, TForm5* AForm5) {
  if (FForm2) disconnect(this, &TForm1::netMarksChanged, FForm2, &TForm2::RefreshHighlight);
  if (AForm2) connect(this, &TForm1::netMarksChanged, AForm2, &TForm2::RefreshHighlight);
  FForm2 = AForm2;
  FForm3 = AForm3;
  FForm4 = AForm4;
  FForm5 = AForm5;
}

void TForm1::ConnectCompareForm(TForm6* AForm6) {
  FForm6 = AForm6;
}

// --- Construction -------------------------------------------------------------------

void TForm1::CreateControls() {
  auto* Client = new QWidget(this);
  setCentralWidget(Client);
  setAcceptDrops(true);
  FNetlistModel = new TNetlistModel(*ImageList1, this);
  FPinListModel = new TPinListModel(*ImageList1, this);
  TreeView1 = CreateTree(FNetlistModel);
  TreeView2 = CreateTree(FPinListModel);
  Button2 = CreateButton("&Expand All", &TForm1::Button2Click);
  Button3 = CreateButton("&Collapse All", &TForm1::Button3Click);
  Button4 = CreateButton("E&xpand All", &TForm1::Button4Click);
  Button5 = CreateButton("C&ollapse All", &TForm1::Button5Click);
  Button1 = CreateButton("&Get Raw Data", &TForm1::Button1Click);

  Memo1 = new QPlainTextEdit(Client);
  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  QStringList Orders;
  for (const TSortOrderInfo& Order : SortOrders) Orders.append(Order.Caption);
  RadioGroup1 = new TRadioGroup("Sort by:", Orders, Client);
  RadioGroup1->SetItemIndex(0);
  RadioGroup1->OnClick = [this] { RadioGroup1Click(); };

  StatusBar1 = statusBar();
  StatusBar1->setFixedHeight(StatusBarHeight);
  FStatusLabel = new QLabel(StatusBar1);
  FStatusLabel->setTextFormat(Qt::PlainText);  // pin names are not markup
  StatusBar1->addWidget(FStatusLabel, 1);

  connect(TreeView1->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& ACurrent) { TreeView1Change(ACurrent); });
}

QTreeView* TForm1::CreateTree(QAbstractItemModel* AModel) {
  auto* Tree = new QTreeView(centralWidget());
  Tree->setModel(AModel);
  Tree->setHeaderHidden(true);
  Tree->setIndentation(TreeIndent);
  Tree->setIconSize(QSize(TImageList::Size, TImageList::Size));
  Tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Tree->setUniformRowHeights(true);
  Tree->setSortingEnabled(false);
  Tree->header()->setStretchLastSection(false);
  Tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  return Tree;
}

QPushButton* TForm1::CreateButton(const QString& ACaption, void (TForm1::*AHandler)()) {
  auto* Button = new QPushButton(ACaption, centralWidget());
  connect(Button, &QPushButton::clicked, this, [this, AHandler] { (this->*AHandler)(); });
  return Button;
}

void TForm1::CreateMenu() {
  CreateFileMenu();
  CreateEditMenu();
  Sort1 = menuBar()->addMenu("&Sort");
  Sort1->menuAction()->setEnabled(false);
  CreateViewMenu();
  CreateCompareMenu();
  CreateOptionsMenu();
  Help1 = menuBar()->addAction("&Help");
  connect(Help1, &QAction::triggered, this, [this] { Help1Click(); });
}

void TForm1::CreateFileMenu() {
  File1 = menuBar()->addMenu("&File");
  OpenPCSProject1 = AddCommand(File1, "&Open Project File...", QKeySequence("Ctrl+O"),
                               &TForm1::OpenProjectFile1Click);
  OpenProjectFile1 = OpenPCSProject1;
  RetrieveCurrentProjectsNetlist1 =
      AddCommand(File1, "&Retrieve Current Project's Netlist", QKeySequence("Ctrl+R"),
                 &TForm1::RetrieveCurrentProjectsNetlist1Click);
  N2 = File1->addSeparator();
  OpenDemoData1 = AddSampleCommand(1, &TForm1::OpenDemoData1Click);
  OpenDemoData21 = AddSampleCommand(2, &TForm1::OpenDemoData21Click);
  OpenDemoData31 = AddSampleCommand(3, &TForm1::OpenDemoData31Click);
  OpenDemoData41 = AddSampleCommand(4, &TForm1::OpenDemoData41Click);
  OpenDemoData51 = AddSampleCommand(5, &TForm1::OpenDemoData51Click);
  OpenDemoData61 = AddSampleCommand(6, &TForm1::OpenDemoData61Click);
  OpenDemoData71 = AddSampleCommand(7, &TForm1::OpenDemoData71Click);
  OpenDemoData81 = AddSampleCommand(8, &TForm1::OpenDemoData81Click);
  OpenDemoData91 = AddSampleCommand(9, &TForm1::OpenDemoData91Click);
  N1 = File1->addSeparator();
  SaveNetlist1 =
      AddCommand(File1, "&Save Netlist", QKeySequence("Ctrl+S"), &TForm1::SaveNetlist1Click);
  SavePinlist1 =
      AddCommand(File1, "Save &Pinlist", QKeySequence("Ctrl+P"), &TForm1::SavePinlist1Click);
  ExportConnectionList1 = AddCommand(File1, "&Export Connection List...", QKeySequence(),
                                     &TForm1::ExportConnectionList1Click);
  LastLoadWarnings1 =
      AddCommand(File1, "Last Load &Warnings...", QKeySequence(), &TForm1::LastLoadWarnings1Click);
  LastLoadWarnings1->setEnabled(false);
}

void TForm1::CreateEditMenu() {
  Edit1 = menuBar()->addMenu("&Edit");
  CopySelection1 =
      AddCommand(Edit1, "&Copy Selection", QKeySequence("Ctrl+C"), &TForm1::CopySelection1Click);
  FindPin1 = AddCommand(Edit1, "&Find Pin", QKeySequence("Ctrl+F"), &TForm1::FindPin1Click);
  FindNextPin1 =
      AddCommand(Edit1, "Find Next Pin", QKeySequence("Ctrl+G"), &TForm1::FindNextPin1Click);
  // Ctrl+C copies the pin selected in the pin list wherever the focus is in the window.
  auto* CopyGuard = new TShortcutGuard(CopySelection1);
  for (QWidget* View : {static_cast<QWidget*>(Memo1), static_cast<QWidget*>(TreeView1),
                        static_cast<QWidget*>(TreeView2)})
    CopyGuard->Guard(View);
}

void TForm1::CreateViewMenu() {
  View1 = menuBar()->addMenu("&View");
  PageGraph1 = AddCommand(View1, "&Page Chart", QKeySequence("F9"), &TForm1::PageGraph1Click);
  FunctionGraph1 =
      AddCommand(View1, "&Function Chart", QKeySequence("F10"), &TForm1::FunctionGraph1Click);
  LocationGraph1 =
      AddCommand(View1, "&Location Chart", QKeySequence("F11"), &TForm1::LocationGraph1Click);
  ProductGraph1 =
      AddCommand(View1, "Product &Chart", QKeySequence("F12"), &TForm1::ProductGraph1Click);
  View1->addSeparator();
  CheckDrawing1 =
      AddCommand(View1, "Check &Drawing", QKeySequence("Ctrl+D"), &TForm1::CheckDrawing1Click);
}

void TForm1::CreateCompareMenu() {
  Compare1 = menuBar()->addMenu("&Compare");
  CompareWithFile1 = AddCommand(Compare1, "Compare with &File...", QKeySequence("Ctrl+K"),
                                &TForm1::CompareWithFile1Click);
  CompareTwoFiles1 =
      AddCommand(Compare1, "Compare &Two Files...", QKeySequence(), &TForm1::CompareTwoFiles1Click);
  CompareWithDemoData1 = Compare1->addMenu("Compare with &Demo Data");
  for (int Number = 1; Number <= SampleProjectCount; ++Number) {
    QAction* Item = CompareWithDemoData1->addAction(
        QString("Demo Data &%1   (%2)").arg(Number).arg(SampleLabel(Number)));
    connect(Item, &QAction::triggered, this, [this, Number] { CompareWithDemoData1Click(Number); });
    CompareDemoData[static_cast<size_t>(Number - 1)] = Item;
  }
}

void TForm1::CreateOptionsMenu() {
  Options1 = menuBar()->addMenu("&Options");
  HighlightSelectioninChart1 = Options1->addAction("&Highlight Selection in Chart");
  HighlightSelectioninChart1->setCheckable(true);
  HighlightSelectioninChart1->setChecked(true);
  // The handler does the toggling itself (it is also called directly), so the toggle
  // Qt already made for the click is taken back first.
  connect(HighlightSelectioninChart1, &QAction::triggered, this, [this](bool AChecked) {
    HighlightSelectioninChart1->setChecked(!AChecked);
    HighlightSelectioninChart1Click();
  });
}

QAction* TForm1::AddCommand(QMenu* AMenu, const QString& ACaption, const QKeySequence& AShortcut,
                            void (TForm1::*AHandler)()) {
  QAction* Action = AMenu->addAction(ACaption);
  Action->setShortcut(AShortcut);
  if (AHandler)
    connect(Action, &QAction::triggered, this, [this, AHandler] { (this->*AHandler)(); });
  return Action;
}

QAction* TForm1::AddSampleCommand(int ANumber, void (TForm1::*AHandler)()) {
  return AddCommand(File1,
                    QString("Open Demo Data &%1   (%2)").arg(ANumber).arg(SampleLabel(ANumber)),
                    QKeySequence(QString("Ctrl+%1").arg(ANumber)), AHandler);
}

void TForm1::ApplyFont() {
  setFont(DesignFont(font()));
}

// The controls sit as designed at the default height; the trees take up any difference
// and the controls below them keep their distance to the bottom.
void TForm1::PlaceControls() {
  const int Grow = height() - DefaultHeight;
  TreeView1->setGeometry(8, 8, 457, 365 + Grow);
  TreeView2->setGeometry(472, 8, 457, 365 + Grow);
  Button2->setGeometry(16, 384 + Grow, 105, 25);
  Button3->setGeometry(16, 416 + Grow, 105, 25);
  Button4->setGeometry(480, 384 + Grow, 105, 25);
  Button5->setGeometry(480, 416 + Grow, 105, 25);
  Button1->setGeometry(16, 496 + Grow, 105, 25);
  Memo1->setGeometry(136, 384 + Grow, 329, 137);
  RadioGroup1->setGeometry(640, 384 + Grow, 289, 141);
}

// --- Window events ------------------------------------------------------------------

void TForm1::FormCreate() {
  setWindowTitle("Wiremap ver. " + VersionText() + CaptionTail);
  FProject = std::make_unique<TProject>(TConnectionRecs(), std::string());
  SetBackground(TreeView1, NetlistBackground);
  SetBackground(TreeView2, PinListBackground);
  ShowReady();
}

// A file named on the command line is opened instead of sample 1; when it cannot be
// read, its error box comes first and sample 1 after it.
void TForm1::FormActivate() {
  if (FActivated) return;
  FActivated = true;
  if (FStartFile.isEmpty() || !OpenProjectFile(FStartFile)) OpenSampleProject(1);
}

// The status text is set again whenever the window paints, so that it is drawn anew
// with it. Clearing it first would change the label's size hint, relayout the status bar
// and paint the window once more, for ever; setting the same text again is enough.
void TForm1::FormPaint() {
  FStatusLabel->setText(FStatus);
}

bool TForm1::event(QEvent* AEvent) {
  if (AEvent->type() == QEvent::WindowActivate) FormActivate();
  return QMainWindow::event(AEvent);
}

// Not every platform activates a window when it is shown; the first show counts too.
void TForm1::showEvent(QShowEvent* AEvent) {
  QMainWindow::showEvent(AEvent);
  if (!FActivated) QTimer::singleShot(0, this, &TForm1::FormActivate);
}

void TForm1::paintEvent(QPaintEvent* AEvent) {
  QMainWindow::paintEvent(AEvent);
  FormPaint();
}

void TForm1::resizeEvent(QResizeEvent* AEvent) {
  QMainWindow::resizeEvent(AEvent);
  PlaceControls();
}

// A file dragged from the desktop onto the window opens like one chosen with Ctrl+O.
void TForm1::dragEnterEvent(QDragEnterEvent* AEvent) {
  const QMimeData* Data = AEvent->mimeData();
  if (Data->hasUrls() && !Data->urls().isEmpty() && Data->urls().constFirst().isLocalFile())
    AEvent->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* AEvent) {
  const QList<QUrl> Urls = AEvent->mimeData()->urls();
  if (Urls.isEmpty() || !Urls.constFirst().isLocalFile()) return;
  AEvent->acceptProposedAction();
  // The drag source waits for the drop to end: open after it.
  const QString Path = Urls.constFirst().toLocalFile();
  QTimer::singleShot(0, this, [this, Path] { OpenProjectFile(Path); });
}

// --- Status line --------------------------------------------------------------------

TForm1::TBusyScope::TBusyScope(TForm1& AForm, const QString& AText) : FForm(AForm) {
  if (!AText.isEmpty()) FForm.ShowBusy(AText);
}

TForm1::TBusyScope::~TBusyScope() {
  FForm.EndBusyCursor();
}

void TForm1::ShowStatus(const QString& AText) {
  FStatus = AText + QString(16, ' ') + "Used Memory: " + QString::number(UsedMemoryKB()) + " KB";
  FStatusLabel->setText(FStatus);
  emit statusChanged(FStatus);
}

void TForm1::ShowBusy(const QString& AText) {
  ShowStatus(AText);
  if (FBusyCursor) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  FBusyCursor = true;
  // Long work blocks the event loop: draw the busy text now so that it is seen during
  // it. (Only here: drawing the status line draws whatever else is pending, such as a
  // half-built tree.)
  if (isVisible()) FStatusLabel->repaint();
}

void TForm1::ShowReady() {
  ShowStatus("Ready.");
  EndBusyCursor();
}

void TForm1::EndBusyCursor() {
  if (!FBusyCursor) return;
  QApplication::restoreOverrideCursor();
  FBusyCursor = false;
}

void TForm1::AlertBeep() {
  UserPrompts().Beep();
}

QString TForm1::StatusText() const {
  return FStatus;
}

// --- Load flows ---------------------------------------------------------------------

void TForm1::OpenSampleProject(int ANumber) {
  const TBusyScope Busy(*this, "Retrieving demo data...");
  HideChart();
  TConnectionRecs Records;
  LoadSampleProject(Records, ANumber);
  LoadConnections(std::move(Records));
}

// The retrieved records are emptied whatever the outcome. A retrieval that does not
// succeed leaves the loaded project as it was: the windows show its own name.
void TForm1::RetrieveCurrentProjectsNetlist1Click() {
  if (!FForm4) return;
  if (FForm4->ShowModal() == QDialog::Accepted)
    LoadRetrievedConnections();
  else
    TConnectionRecs().swap(FForm4->Connections);
}

bool TForm1::OpenProjectFile(const QString& APath) {
  TProjectFile File;
  {
    const TBusyScope Busy(*this, "Reading " + QFileInfo(APath).fileName() + "...");
    try {
      File = ReadProjectFile(APath.toStdString());
    } catch (const Exception& AError) {
      ShowReady();
      UserPrompts().ShowError(this, TApplication::Title,
                              ErrorBoxText(QString::fromStdString(AError.Message())));
      return false;
    }
  }
  const TBusyScope Busy(*this);
  HideChart();
  QStringList Warnings;
  for (const std::string& Warning : File.Warnings) Warnings.append(ToQString(Warning));
  ProjectName = File.Name;
  FLoadedFile = APath;
  LoadConnections(std::move(File.Records), std::move(Warnings));
  if (!FLoadWarnings.isEmpty()) ShowStatus(QString("Ready. %1 warnings").arg(FLoadWarnings.size()));
  return true;
}

void TForm1::OpenProjectFile1Click() {
  if (const auto Path =
          UserPrompts().AskOpenFileName(this, "Project files (*.qet *.csv);;All files (*)"))
    OpenProjectFile(*Path);
}

// The records of the loaded project as a connection list, for a spreadsheet or another
// program; before the first load there is nothing to export.
void TForm1::ExportConnectionList1Click() {
  if (!FLoaded) {
    AlertBeep();
    return;
  }
  const QString Proposed =
      (FProject->Name().empty() ? QString("Connections") : ToQString(FProject->Name())) + ".csv";
  const auto FileName =
      UserPrompts().AskSaveFileNameFor(this, Proposed, "Connection lists (*.csv)", "csv");
  if (!FileName) return;
  const TBusyScope Busy(*this, "Exporting the connection list...");
  SaveTextBytes(*FileName, WriteConnectionList(FProject->Records()));
  ShowReady();
}

void TForm1::LastLoadWarnings1Click() {
  if (!FWarningsForm) FWarningsForm = new TLoadWarningsForm(this);
  FWarningsForm->ShowWarnings(QFileInfo(FLoadedFile).fileName(), FLoadWarnings);
}

void TForm1::LoadRetrievedConnections() {
  if (!FForm4) return;
  TConnectionRecs Records = std::exchange(FForm4->Connections, {});
  const TBusyScope Busy(*this, "Retrieving data through OLE...");
  HideChart();
  LoadConnections(std::move(Records));
}

// Everything of a load after the records are at hand, up to "Ready.". The new project is
// complete before it replaces the loaded one.
void TForm1::LoadConnections(TConnectionRecs AConnections, QStringList AWarnings) {
  ShowStatus("Computing Net Graph...");
  auto Project = std::make_unique<TProject>(std::move(AConnections), ProjectName);
  DiscardProject();
  FProject = std::move(Project);
  FLoaded = true;
  FLoadWarnings = std::move(AWarnings);
  LastLoadWarnings1->setEnabled(!FLoadWarnings.isEmpty());
  ShowStatistics();
  BuildNetlistTree();
  BuildPinListTree(RadioGroup1->ItemIndex());
  ShowReady();
  emit projectLoaded(*FProject);
}

// The trees refer to the graph's pins: they go before the graph does, so that no node
// ever points at a discarded pin.
void TForm1::DiscardProject() {
  for (QTreeView* Tree : {TreeView1, TreeView2}) {
    const QSignalBlocker Blocker(Tree->selectionModel());
    if (Tree == TreeView1)
      FNetlistModel->SetProject(nullptr);
    else
      FPinListModel->Clear();
  }
}

const TProject* TForm1::Project() const {
  return FLoaded ? FProject.get() : nullptr;
}

TWiremaps& TForm1::Graph() {
  return FProject->Graph();
}

TKeyValues* TForm1::KeyValues() const {
  return FLoaded ? &FProject->KeyValues() : nullptr;
}

void TForm1::HideChart() {
  if (!FForm2) return;
  FForm2->hide();
  FForm2->DropChart();
}

void TForm1::ShowStatistics() {
  QStringList Lines;
  for (const std::string& Line : StatisticsLines(*FProject)) Lines.append(ToQString(Line));
  Memo1->setPlainText(Lines.join('\n'));
  if (Memo1->isVisible()) Memo1->repaint();
}

// --- Trees --------------------------------------------------------------------------

void TForm1::BuildNetlistTree() {
  ShowBusy("Preparing the netlist tree...");
  {
    const QSignalBlocker Blocker(TreeView1->selectionModel());
    FNetlistModel->SetProject(FLoaded ? FProject.get() : nullptr);
  }
  TreeView1->expand(FNetlistModel->Root());
}

void TForm1::BuildPinListTree(int AOrder) {
  ShowBusy("Preparing the pin- and linklist tree...");
  {
    const QSignalBlocker Blocker(TreeView2->selectionModel());
    // Before the first load the root names whatever ProjectName holds.
    FPinListModel->SetProject(FLoaded ? FProject.get() : nullptr, AOrder,
                              FLoaded ? FProject->Name() : ProjectName);
  }
  TreeView2->expand(FPinListModel->index(0, 0));
  const TSortOrderInfo* Order = SortOrderInfo(AOrder);
  if (FLoaded && (!Order || Order->Shape == TSortOrderInfo::NoTree)) AlertBeep();
}

bool TForm1::SelectPinInPinList(const QString& AName) {
  return SelectPinInPinList(AName.toStdString());
}

bool TForm1::SelectPinInPinList(const std::string& AName) {
  const QModelIndex Node = FPinListModel->NextPinNode(
      QModelIndex(), [&](const TPinDescr& APin) { return SameTextAsciiCase(APin.Name, AName); });
  if (!Node.isValid()) return false;
  ShowFoundPin(Node);
  return true;
}

// Makes the node visible, selects it and ends with "Ready.".
void TForm1::ShowFoundPin(const QModelIndex& ANode) {
  for (QModelIndex Parent = ANode.parent(); Parent.isValid(); Parent = Parent.parent())
    TreeView2->expand(Parent);
  TreeView2->scrollTo(ANode);
  TreeView2->setCurrentIndex(ANode);
  ShowReady();
}

// The current node only while it is selected: the view also keeps a current node that
// the user has deselected, or that it chose itself on getting the focus.
QModelIndex TForm1::SelectedPinListNode() const {
  const QModelIndex Node = TreeView2->currentIndex();
  return Node.isValid() && TreeView2->selectionModel()->isSelected(Node) ? Node : QModelIndex();
}

// --- Navigation from other windows -------------------------------------------------

// The number of the graph's pin named AName (as CompareText compares), or -1. The pins'
// name order is CompareText's, so a binary search over the positions finds it.
int32_t TForm1::FindGraphPin(const std::string& AName) const {
  const TWiremaps& Pins = FProject->Graph();
  int32_t Low = 0, High = Pins.GetPinCount();
  while (Low < High) {
    const int32_t Middle = Low + (High - Low) / 2;
    if (CompareText(Pins.GetSortedName(Middle), AName) < 0)
      Low = Middle + 1;
    else
      High = Middle;
  }
  if (Low < Pins.GetPinCount() && CompareText(Pins.GetSortedName(Low), AName) == 0)
    return Pins.GetSortedPin(Low)->Number;
  return -1;
}

bool TForm1::SelectNetInNetlist(const QStringList& APins) {
  int32_t Net = -1;
  std::vector<int32_t> Numbers;
  for (const QString& Name : APins) {
    const int32_t Number = FindGraphPin(Name.toStdString());
    const TNetlistRows& Rows = FNetlistModel->Rows();
    const int32_t Row = Number < 0 ? -1 : Rows.RowOf[static_cast<size_t>(Number)];
    if (Row < 0 || (Net >= 0 && Rows.NetOfRow(Row) != Net)) {
      Net = -1;
      break;
    }
    Net = Rows.NetOfRow(Row);
    Numbers.push_back(Number);
  }
  std::sort(Numbers.begin(), Numbers.end());
  const bool Distinct = std::adjacent_find(Numbers.begin(), Numbers.end()) == Numbers.end();
  if (Net < 0 || !Distinct ||
      FNetlistModel->Rows().PinCount(Net) != static_cast<int32_t>(Numbers.size())) {
    AlertBeep();
    return false;
  }
  ShowNetlistNode(FNetlistModel->NetIndex(Net));
  return true;
}

bool TForm1::SelectPinInNetlist(const QString& APin) {
  const QModelIndex Node = FNetlistModel->PinIndex(FindGraphPin(APin.toStdString()));
  if (!Node.isValid()) {
    AlertBeep();
    return false;
  }
  ShowNetlistNode(Node);
  return true;
}

void TForm1::ShowNetlistNode(const QModelIndex& ANode) {
  TreeView1->setCurrentIndex(ANode);
  TreeView1->scrollTo(ANode, QAbstractItemView::PositionAtCenter);
}

// --- Find Pin -----------------------------------------------------------------------

QModelIndex TForm1::FindPinNode(const QString& AMask) {
  return FindPinNodeAfter(AMask, QModelIndex());
}

QModelIndex TForm1::FindPinNodeAfter(const QString& AMask, const QModelIndex& AAfter) const {
  const TPinMask Mask(AMask.toStdString());
  return FPinListModel->NextPinNode(
      AAfter, [&Mask](const TPinDescr& APin) { return Mask.Matches(APin.Name); });
}

// A plain text that is no whole pin name is looked for anywhere in the names. A bad mask
// raises EInvalidMask before anything changes but the remembered text, which the user
// then gets back for correcting.
void TForm1::FindPin1Click() {
  const std::optional<QString> Text = UserPrompts().AskText(
      this, "Find Pin", "Enter Pin Name (\"?\" and \"*\" allowed)", FSearchText, 255);
  if (!Text) return;
  FSearchText = *Text;
  QString Mask = FSearchText;
  QModelIndex Node = FindPinNode(Mask);
  if (!Node.isValid() && !Mask.contains('?') && !Mask.contains('*')) {
    Mask = '*' + FSearchText + '*';
    Node = FindPinNode(Mask);
  }
  FLastSearch = Mask;
  if (Node.isValid())
    ShowFoundPin(Node);
  else
    AlertBeep();
}

// Goes on with the last search below the selected node, up to the end of the list.
void TForm1::FindNextPin1Click() {
  const QModelIndex Selected = SelectedPinListNode();
  const QModelIndex Node =
      Selected.isValid() && FLastSearch ? FindPinNodeAfter(*FLastSearch, Selected) : QModelIndex();
  if (Node.isValid())
    ShowFoundPin(Node);
  else
    AlertBeep();
}

void TForm1::TreeView1Change(const QModelIndex& ANode) {
  if (!ANode.isValid()) return;
  if (const TPinDescr* Pin = NodePin(ANode)) {
    const TBusyScope Busy(*this, "Searching for " + ToQString(Pin->Name) + "...");
    if (!SelectPinInPinList(Pin->Name)) ShowReady();
    return;
  }
  if (FNetlistModel->IsNet(ANode)) HighlightNet(ANode);
}

void TForm1::HighlightNet(const QModelIndex& ANetNode) {
  if (!HighlightSelectioninChart1->isChecked()) return;
  Graph().ClearMarks();
  Graph().MarkNet(NodePin(FNetlistModel->index(0, 0, ANetNode))->Number);
  emit netMarksChanged(Graph());
}

void TForm1::RadioGroup1Click() {
  const TBusyScope Busy(*this);
  BuildPinListTree(RadioGroup1->ItemIndex());
  ShowReady();
}

void TForm1::Button1Click() {
  if (FForm5) FForm5->ShowModal();
}

void TForm1::Button2Click() {
  ExpandAll(TreeView1);
}
void TForm1::Button3Click() {
  CollapseAll(TreeView1);
}
void TForm1::Button4Click() {
  ExpandAll(TreeView2);
}
void TForm1::Button5Click() {
  CollapseAll(TreeView2);
}

void TForm1::ExpandAll(QTreeView* ATree) {
  if (ATree->model()->rowCount() == 0) return;
  ATree->expandAll();
  ATree->scrollToTop();
}

void TForm1::CollapseAll(QTreeView* ATree) {
  if (ATree->model()->rowCount() == 0) return;
  ATree->collapseAll();
  ATree->expand(ATree->model()->index(0, 0));
}

// --- Menu commands ------------------------------------------------------------------

void TForm1::PageGraph1Click() {
  ShowChart("Page Chart", akPage);
}
void TForm1::FunctionGraph1Click() {
  ShowChart("Function Chart", akFunction);
}
void TForm1::LocationGraph1Click() {
  ShowChart("Location Chart", akLocation);
}
void TForm1::ProductGraph1Click() {
  ShowChart("Product Chart", akProduct);
}

void TForm1::CheckDrawing1Click() {
  const TBusyScope Busy(*this, "Checking the drawing...");
  emit drawingCheckRequested();
  ShowReady();
}

void TForm1::ShowChart(const QString& ACaption, TAspectKind AAspect) {
  if (FForm2) FForm2->ShowChart(ACaption, Graph(), AAspect, KeyValues());
  ShowReady();
}

void TForm1::HighlightSelectioninChart1Click() {
  if (HighlightSelectioninChart1->isChecked()) {
    HighlightSelectioninChart1->setChecked(false);
  } else {
    HighlightSelectioninChart1->setChecked(true);
    Graph().ClearMarks();
  }
  emit netMarksChanged(Graph());
}

void TForm1::Help1Click() {
  if (FForm3) FForm3->ShowHelp();
}

// --- Netlist comparison -------------------------------------------------------------

namespace {

const QString ComparisonFiles =
    QStringLiteral("Projects, connection lists and netlists (*.qet *.csv *.txt);;All files (*)");

TComparisonSide ReadSide(const QString& AFileName) {
  return ReadComparisonSide(QFile::encodeName(AFileName).toStdString());
}

}  // namespace

// Files are read and checked before anything changes: a file that cannot be read leaves
// the comparison window as it was.
void TForm1::CompareWithFile1Click() {
  if (!FLoaded) {
    AlertBeep();
    return;
  }
  const std::optional<QString> FileName = UserPrompts().AskOpenFileName(this, ComparisonFiles);
  if (!FileName) return;
  ShowComparison(ReadSide(*FileName));
}

void TForm1::CompareTwoFiles1Click() {
  const std::optional<QString> OldName = UserPrompts().AskOpenFileName(this, ComparisonFiles);
  if (!OldName) return;
  const std::optional<QString> NewName = UserPrompts().AskOpenFileName(this, ComparisonFiles);
  if (!NewName) return;
  TComparisonSide Old = ReadSide(*OldName);
  TComparisonSide New = ReadSide(*NewName);
  const TBusyScope Busy(*this, "Comparing netlists...");
  if (FForm6) FForm6->ShowComparison(CompareSides(std::move(Old), std::move(New)));
  ShowReady();
}

// The sample is built in a graph of its own; the loaded project stays as it is.
void TForm1::CompareWithDemoData1Click(int ANumber) {
  if (!FLoaded) {
    AlertBeep();
    return;
  }
  ShowComparison(SideFromRecords(SampleRecords(ANumber), SampleProjectInfo(ANumber)->Caption));
}

void TForm1::ShowComparison(TComparisonSide AOld) {
  const TBusyScope Busy(*this, "Comparing netlists...");
  TComparisonSide New = SideOfProject(*FProject);
  if (FForm6)
    FForm6->ShowComparison(CompareSides(std::move(AOld), std::move(New)), TForm6::TLoaded::New);
  ShowReady();
}

// --- Text exports and clipboard -----------------------------------------------------

// Both saves write every node, collapsed or not; before the first load the trees are
// empty, and so is the file.
void TForm1::SaveNetlist1Click() {
  SaveText(
      [this] { return FLoaded ? WriteNetlistText(Graph(), FProject->Name()) : std::string(); });
}

void TForm1::SavePinlist1Click() {
  SaveText([this] {
    return FLoaded ? WritePinListText(Graph(), FProject->KeyValues(), RadioGroup1->ItemIndex(),
                                      FProject->Name())
                   : std::string();
  });
}

// The chosen name is proposed again by the next save, also when this one fails.
void TForm1::SaveText(const std::function<std::string()>& AText) {
  const std::optional<QString> FileName = UserPrompts().AskSaveFileName(this, FSaveFileName);
  if (!FileName) return;
  FSaveFileName = *FileName;
  SaveTextBytes(*FileName, AText());
}

// A link node carries the pin it leads to, so that pin is copied.
void TForm1::CopySelection1Click() {
  const TPinDescr* Pin = NodePin(SelectedPinListNode());
  if (!Pin || !UserPrompts().SetClipboardText(ToQString(Pin->Name))) AlertBeep();
}

TPinDescr* NodePin(const QModelIndex& ANode) {
  const auto* Model = qobject_cast<const TTreeModel*>(ANode.model());
  return Model ? Model->Pin(ANode) : nullptr;
}

}  // namespace wiremap
