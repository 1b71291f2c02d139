#pragma once

#include <initializer_list>
#include <memory>
#include <ostream>
#include <vector>

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>
#include <QTreeView>

#include "TestPrompts.h"
#include "host/ReadPCS.h"
#include "model/Wiremap.h"
#include "ui/Forms.h"
#include "ui/NetForm.h"

// Readable failure messages for texts and lists of texts.
inline void PrintTo(const QString& AText, std::ostream* AStream) {
  *AStream << '"' << AText.toStdString() << '"';
}

namespace wiremap {

// The file's bytes; a text no file holds when it cannot be read.
inline QByteArray FileBytes(const QString& AFileName) {
  QFile File(AFileName);
  return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray("<missing>");
}

// A retrieval window that hands over prepared records instead of asking a host.
class TScriptedRetrieval : public TForm4 {
 public:
  int ShowModal() override {
    ++Shown;
    if (!Succeed) return Rejected;
    ProjectName.clear();
    Connections = Records;
    return Accepted;
  }

  bool Succeed = true;
  TConnectionRecs Records;
  int Shown = 0;
};

// A small project with every case the trees distinguish: a pin with three links, two of
// them to the same pin; a closed ring; a pin without a function part; pages "1", "10"
// and "2"; and a wire from a pin to itself (by letter case), which the graph ignores.
inline TConnectionRecs HandMadeRecords() {
  return {{"=F1+L1-K1", "13", 2, "=F1+L1-K2", "A1", 2, "W1"},
          {"=F1+L1-K1", "13", 2, "=F1+L1-K2", "A1", 2, "W2"},
          {"=F1+L1-K1", "13", 2, "+L3-X1", "1", 10, "W3"},
          {"=R+L2-R1", "1", 1, "=R+L2-R2", "1", 1, "R12"},
          {"=R+L2-R2", "1", 1, "=R+L2-R3", "1", 1, "R23"},
          {"=R+L2-R3", "1", 1, "=R+L2-R1", "1", 1, "R31"},
          {"=R+L2-R1", "1", 1, "=r+l2-r1", "1", 1, "Self"}};
}

// The main window with the other windows, the retrieval window replaced by a script.
class TNetFormFixture {
 public:
  TNetFormFixture() : Forms(CreateForms()), Form(*Forms->Form1) {
    Form.ConnectForms(Forms->Form2, Forms->Form3, &Retrieval, Forms->Form5);
    QObject::connect(&Form, &TForm1::statusChanged, [this](const QString& AText) {
      Statuses.append(AText);
      const QCursor* Cursor = QGuiApplication::overrideCursor();
      Cursors.push_back(Cursor ? Cursor->shape() : Qt::ArrowCursor);
    });
  }

  // Loads ARecords through the retrieval flow under the project name AName.
  void Load(const TConnectionRecs& ARecords, const std::string& AName = "Hand-made") {
    Retrieval.Connections = ARecords;
    ProjectName = AName;
    Form.LoadRetrievedConnections();
  }

  // Shows the main window and makes it the active one, as for keys the user presses; the
  // first activation loads sample 1.
  bool ShowActive() {
    Form.show();
    QApplication::processEvents();
    Form.activateWindow();
    return QTest::qWaitForWindowActive(&Form);
  }

  // What ACommand saved under AFileName.
  QByteArray SavedBy(void (TForm1::*ACommand)(), const QString& AFileName) {
    Prompts.AnswerSave(AFileName);
    (Form.*ACommand)();
    return FileBytes(AFileName);
  }

  // The status texts without the memory figure behind them.
  QStringList StatusTexts() const {
    static const QRegularExpression Tail(" {16}Used Memory: \\d+ KB$");
    QStringList Texts;
    for (QString Text : Statuses) Texts.append(Text.remove(Tail));
    return Texts;
  }

  TTestPrompts Prompts;
  TScriptedRetrieval Retrieval;
  std::unique_ptr<TForms> Forms;
  TForm1& Form;
  QStringList Statuses;
  std::vector<Qt::CursorShape> Cursors;
};

// The tree as text through its model, one line per node in pre-order, one tab per level,
// down to AMaxDepth.
inline void DumpNode(const QModelIndex& ANode, int ADepth, int AMaxDepth, QStringList& ALines) {
  ALines.append(QString(ADepth, '\t') + ANode.data().toString());
  if (ADepth == AMaxDepth) return;
  const QAbstractItemModel* Model = ANode.model();
  for (int I = 0; I < Model->rowCount(ANode); ++I)
    DumpNode(Model->index(I, 0, ANode), ADepth + 1, AMaxDepth, ALines);
}

inline QStringList Dump(const QTreeView* ATree, int AMaxDepth = 99) {
  QStringList Lines;
  const QAbstractItemModel* Model = ATree->model();
  for (int I = 0; I < Model->rowCount(); ++I) DumpNode(Model->index(I, 0), 0, AMaxDepth, Lines);
  return Lines;
}

// Node AIndex below the root of ATree's model, then below that one, and so on.
inline QModelIndex Child(const QTreeView* ATree, std::initializer_list<int> APath) {
  const QAbstractItemModel* Model = ATree->model();
  QModelIndex Node = Model->index(0, 0);
  for (const int Row : APath) Node = Model->index(Row, 0, Node);
  return Node;
}

// The first node of ATree, in pre-order, whose text fits AText as AFlags say; invalid when
// there is none.
inline QModelIndex FindNode(const QTreeView* ATree, const QString& AText,
                            Qt::MatchFlags AFlags = Qt::MatchExactly) {
  const QAbstractItemModel* Model = ATree->model();
  if (Model->rowCount() == 0) return {};
  return Model
      ->match(Model->index(0, 0), Qt::DisplayRole, AText, 1,
              AFlags | Qt::MatchRecursive | Qt::MatchWrap)
      .value(0);
}

// The number of children of ANode (of the view's own model).
inline int ChildCount(const QModelIndex& ANode) {
  return ANode.model() ? ANode.model()->rowCount(ANode) : 0;
}

inline bool BusyCursorShown() {
  const QCursor* Cursor = QGuiApplication::overrideCursor();
  return Cursor && Cursor->shape() == Qt::WaitCursor;
}

}  // namespace wiremap
