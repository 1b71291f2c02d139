#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QAbstractItemModel>
#include <QMainWindow>
#include <QModelIndex>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTreeView>

#include "model/ConnectionRec.h"
#include "model/PinDescr.h"
#include "model/Project.h"
#include "model/SampleProjects.h"
#include "model/TreeText.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

namespace wiremap {

class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TImageList;
class TKeyValues;
class TLoadWarningsForm;
class TNetlistModel;
class TPinListModel;
struct TNetlist;
struct TComparisonSide;
class TProject;
class TRadioGroup;
class TWiremaps;

// The main window: the netlist tree, the pin list tree, the project statistics, the
// status line and the main menu. It owns the loaded project and tells the other windows
// about loads and net marks through its signals.
class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit TForm1(QWidget* AParent = nullptr);
  ~TForm1() override;

  // The other windows, created after this one; none is owned.
  void ConnectForms(TForm2* AForm2, TForm3* AForm3, TForm4* AForm4, TForm5* AForm5);
  // The window that shows comparisons (not owned).
  void ConnectCompareForm(TForm6* AForm6);

  // Status line.
  void ShowStatus(const QString& AText);
  void ShowBusy(const QString& AText);
  void ShowReady();
  void AlertBeep();
  QString StatusText() const;

  // Load flows.
  void OpenSampleProject(int ANumber);
  void LoadRetrievedConnections();
  void ShowStatistics();
  // Opens an editor project or a connection list (told apart by content) as a sample is
  // opened. A file that cannot be read shows the error box and changes nothing; true when
  // the file was loaded.
  bool OpenProjectFile(const QString& APath);
  // The file the first activation opens instead of sample 1 (given on the command line).
  void SetStartFile(const QString& APath) { FStartFile = APath; }
  // What the reader said about the file of the last load (empty after other loads).
  const QStringList& LoadWarnings() const { return FLoadWarnings; }

  // Trees.
  void BuildNetlistTree();
  void BuildPinListTree(int AOrder);
  // Selects the pin node of the pin named AName (letters a to z compared without case);
  // true when one was found.
  bool SelectPinInPinList(const QString& AName);
  bool SelectPinInPinList(const std::string& AName);
  bool SelectPinInPinList(const char* AName) { return SelectPinInPinList(QString(AName)); }
  // The first pin node of the pin list, in the order SelectPinInPinList visits, whose
  // pin's full name fits the mask AMask, or an invalid index. Raises EInvalidMask for a
  // bad mask.
  QModelIndex FindPinNode(const QString& AMask);

  // The loaded project; nullptr before the first load.
  const TProject* Project() const;
  // The loaded project's graph (an empty one before the first load) and key values
  // (nullptr before the first load).
  TWiremaps& Graph();
  TKeyValues* KeyValues() const;

  // Window events.
  void FormCreate();
  void FormActivate();
  void FormPaint();

  // Menu commands.
  void RetrieveCurrentProjectsNetlist1Click();
  void OpenProjectFile1Click();
  void ExportConnectionList1Click();
  void LastLoadWarnings1Click();
  void OpenDemoData1Click() { OpenSampleProject(1); }
  void OpenDemoData21Click() { OpenSampleProject(2); }
  void OpenDemoData31Click() { OpenSampleProject(3); }
  void OpenDemoData41Click() { OpenSampleProject(4); }
  void OpenDemoData51Click() { OpenSampleProject(5); }
  void OpenDemoData61Click() { OpenSampleProject(6); }
  void OpenDemoData71Click() { OpenSampleProject(7); }
  void OpenDemoData81Click() { OpenSampleProject(8); }
  void OpenDemoData91Click() { OpenSampleProject(9); }
  void SaveNetlist1Click();
  void SavePinlist1Click();
  void CopySelection1Click();
  void FindPin1Click();
  void FindNextPin1Click();
  void PageGraph1Click();
  void FunctionGraph1Click();
  void LocationGraph1Click();
  void ProductGraph1Click();
  void CheckDrawing1Click();
  void HighlightSelectioninChart1Click();
  void Help1Click();
  // The loaded project (the new side) against a file or a sample (the old side); two files,
  // neither loaded.
  void CompareWithFile1Click();
  void CompareTwoFiles1Click();
  void CompareWithDemoData1Click(int ANumber);

  // Control events.
  void TreeView1Change(const QModelIndex& ANode);
  void RadioGroup1Click();
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void Button5Click();

  // Controls.
  // Each over its own lazy model (TNetlistModel, TPinListModel).
  QTreeView* TreeView1 = nullptr;
  QTreeView* TreeView2 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Button4 = nullptr;
  QPushButton* Button5 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  TRadioGroup* RadioGroup1 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  std::unique_ptr<TImageList> ImageList1;

  // Main menu.
  QMenu* File1 = nullptr;
  // The first item of the file menu: "Open Project File..." (both names).
  QAction* OpenPCSProject1 = nullptr;
  QAction* OpenProjectFile1 = nullptr;
  QAction* RetrieveCurrentProjectsNetlist1 = nullptr;
  QAction* N2 = nullptr;
  QAction* OpenDemoData1 = nullptr;
  QAction* OpenDemoData21 = nullptr;
  QAction* OpenDemoData31 = nullptr;
  QAction* OpenDemoData41 = nullptr;
  QAction* OpenDemoData51 = nullptr;
  QAction* OpenDemoData61 = nullptr;
  QAction* OpenDemoData71 = nullptr;
  QAction* OpenDemoData81 = nullptr;
  QAction* OpenDemoData91 = nullptr;
  QAction* N1 = nullptr;
  QAction* SaveNetlist1 = nullptr;
  QAction* SavePinlist1 = nullptr;
  QAction* ExportConnectionList1 = nullptr;
  QAction* LastLoadWarnings1 = nullptr;
  QMenu* Edit1 = nullptr;
  QAction* CopySelection1 = nullptr;
  QAction* FindPin1 = nullptr;
  QAction* FindNextPin1 = nullptr;
  QMenu* Sort1 = nullptr;
  QMenu* View1 = nullptr;
  QAction* PageGraph1 = nullptr;
  QAction* FunctionGraph1 = nullptr;
  QAction* LocationGraph1 = nullptr;
  QAction* ProductGraph1 = nullptr;
  QAction* CheckDrawing1 = nullptr;
  QMenu* Compare1 = nullptr;
  QAction* CompareWithFile1 = nullptr;
  QAction* CompareTwoFiles1 = nullptr;
  QMenu* CompareWithDemoData1 = nullptr;
  // The samples 1 to 9 in the submenu CompareWithDemoData1.
  std::array<QAction*, SampleProjectCount> CompareDemoData{};
  QMenu* Options1 = nullptr;
  QAction* HighlightSelectioninChart1 = nullptr;
  QAction* Help1 = nullptr;

 public slots:
  // Selects the net node of the netlist tree whose pins are exactly APins (compared as
  // CompareText does); beeps and gives false when there is none.
  bool SelectNetInNetlist(const QStringList& APins);
  // Selects the pin node of the netlist tree for the pin APin; beeps and gives false when
  // there is none.
  bool SelectPinInNetlist(const QString& APin);

 signals:
  // Every text the status line shows, in order.
  void statusChanged(const QString& AText);
  // After every successful load, once both trees are built.
  void projectLoaded(const wiremap::TProject& AProject);
  // The net marks of AGraph changed (a net selected, the highlight switched off).
  void netMarksChanged(wiremap::TWiremaps& AGraph);
  // View > Check Drawing: the drawing check window runs the check (connected by Forms).
  void drawingCheckRequested();

 protected:
  bool event(QEvent* AEvent) override;
  void showEvent(QShowEvent* AEvent) override;
  void paintEvent(QPaintEvent* AEvent) override;
  void resizeEvent(QResizeEvent* AEvent) override;
  void dragEnterEvent(QDragEnterEvent* AEvent) override;
  void dropEvent(QDropEvent* AEvent) override;

 private:
  // A command's busy spell: the busy text (when one is given) and the hourglass on
  // entry, the default pointer on every exit, also when the command fails (its status
  // text then stays, showing how far it got).
  class TBusyScope {
   public:
    explicit TBusyScope(TForm1& AForm, const QString& AText = QString());
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;
    ~TBusyScope();

   private:
    TForm1& FForm;
  };

  void CreateControls();
  QTreeView* CreateTree(QAbstractItemModel* AModel);
  QPushButton* CreateButton(const QString& ACaption, void (TForm1::*AHandler)());
  void CreateMenu();
  void CreateFileMenu();
  void CreateEditMenu();
  void CreateViewMenu();
  void CreateCompareMenu();
  void CreateOptionsMenu();
  QAction* AddCommand(QMenu* AMenu, const QString& ACaption, const QKeySequence& AShortcut,
                      void (TForm1::*AHandler)());
  QAction* AddSampleCommand(int ANumber, void (TForm1::*AHandler)());
  void PlaceControls();
  void ApplyFont();

  void LoadConnections(TConnectionRecs AConnections, QStringList AWarnings = {});
  void DiscardProject();
  void HideChart();
  void ShowChart(const QString& ACaption, TAspectKind AAspect);
  QModelIndex FindPinNodeAfter(const QString& AMask, const QModelIndex& AAfter) const;
  void ShowFoundPin(const QModelIndex& ANode);
  QModelIndex SelectedPinListNode() const;
  void SaveText(const std::function<std::string()>& AText);
  int32_t FindGraphPin(const std::string& AName) const;
  void ShowNetlistNode(const QModelIndex& ANode);
  void ShowComparison(TComparisonSide AOld);
  void ExpandAll(QTreeView* ATree);
  void CollapseAll(QTreeView* ATree);
  void HighlightNet(const QModelIndex& ANetNode);
  void EndBusyCursor();

  // Never null: an empty project stands in before the first load.
  std::unique_ptr<TProject> FProject;
  bool FLoaded = false;
  TNetlistModel* FNetlistModel = nullptr;
  TPinListModel* FPinListModel = nullptr;
  QLabel* FStatusLabel = nullptr;
  QString FStatus;
  bool FBusyCursor = false;
  bool FActivated = false;
  QString FStartFile;
  QStringList FLoadWarnings;
  QString FLoadedFile;  // the file of the last load; empty for samples and retrievals
  QPointer<TLoadWarningsForm> FWarningsForm;
  // The text last confirmed in Find Pin.
  QString FSearchText;
  // The mask of the last search as it was made (with the stars added to a plain text),
  // for Find Next; none before the first search.
  std::optional<QString> FLastSearch;
  // The file name chosen last in either save.
  QString FSaveFileName;

  TForm2* FForm2 = nullptr;
  TForm3* FForm3 = nullptr;
  TForm4* FForm4 = nullptr;
  TForm5* FForm5 = nullptr;
  TForm6* FForm6 = nullptr;
};

// The pin a tree node carries, or nullptr (also for a null node).
TPinDescr* NodePin(const QModelIndex& ANode);

}  // namespace wiremap
