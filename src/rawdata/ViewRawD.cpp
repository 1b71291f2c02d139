#include "rawdata/ViewRawD.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLocale>
#include <QPlainTextEdit>
#include <QSplitter>

#include "host/Dpscad_TLB.h"
#include "rawdata/RawDataReport.h"
#include "rawdata/RawDataRun.h"
#include "ui/TextFile.h"
#include "ui/UserPrompts.h"
#include "ui/WindowStyle.h"

namespace wiremap {

namespace {

constexpr int DefaultWidth = InsideWidth(900);
constexpr int DefaultHeight = InsideHeight(563);
constexpr int SplitterWidth = 7;
constexpr int Memo1Width = 300;
constexpr int Memo2Width = 250;
constexpr int MinimumMemoWidth = 100;

}  // namespace

TForm5::TForm5(QWidget* AParent) : QDialog(AParent) {
  setWindowTitle(QStringLiteral("Raw Data"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  Memo1 = CreateMemo(QStringLiteral("Memo1"));
  Memo2 = CreateMemo(QStringLiteral("Memo2"));
  Memo3 = CreateMemo(QStringLiteral("Memo3"));
  FLines = {{Memo1, {QStringLiteral("Memo1")}},
            {Memo2, {QStringLiteral("Memo2")}},
            {Memo3, {QStringLiteral("Memo3")}}};

  Splitter2 = new QSplitter(Qt::Horizontal);
  Splitter2->addWidget(Memo2);
  Splitter2->addWidget(Memo3);
  Splitter1 = new QSplitter(Qt::Horizontal);
  Splitter1->addWidget(Memo1);
  Splitter1->addWidget(Splitter2);
  // The two left memos keep their widths when the window is resized; the nets memo
  // takes the rest.
  for (QSplitter* Splitter : {Splitter1, Splitter2}) {
    Splitter->setHandleWidth(SplitterWidth);
    Splitter->setChildrenCollapsible(false);
    Splitter->setStretchFactor(0, 0);
    Splitter->setStretchFactor(1, 1);
  }
  auto* Layout = new QHBoxLayout(this);
  Layout->setContentsMargins(0, 0, 0, 0);
  Layout->addWidget(Splitter1);

  resize(DefaultWidth, DefaultHeight);
  Splitter1->setSizes({Memo1Width, DefaultWidth - Memo1Width - SplitterWidth});
  Splitter2->setSizes({Memo2Width, DefaultWidth - Memo1Width - Memo2Width - 2 * SplitterWidth});
}

QPlainTextEdit* TForm5::CreateMemo(const QString& AText) {
  auto* Memo = new QPlainTextEdit(AText);
  Memo->setReadOnly(true);
  Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo->setMinimumWidth(MinimumMemoWidth);
  Memo->viewport()->installEventFilter(this);
  return Memo;
}

int TForm5::ShowModal() {
  FormShow();
  return exec();
}

void TForm5::FormShow() {
  ShowRawData(this);
}

bool TForm5::eventFilter(QObject* AWatched, QEvent* AEvent) {
  if (AEvent->type() == QEvent::MouseButtonDblClick) {
    if (AWatched == Memo1->viewport()) {
      Memo1DblClick();
      return true;
    }
    if (AWatched == Memo2->viewport()) {
      Memo2DblClick();
      return true;
    }
    if (AWatched == Memo3->viewport()) {
      Memo3DblClick();
      return true;
    }
  }
  return QDialog::eventFilter(AWatched, AEvent);
}

void TForm5::Memo1DblClick() {
  SaveMemo(*Memo1, QStringLiteral("Symbols.txt"));
}

void TForm5::Memo2DblClick() {
  SaveMemo(*Memo2, QStringLiteral("Polylines.txt"));
}

void TForm5::Memo3DblClick() {
  SaveMemo(*Memo3, QStringLiteral("Netlist.txt"));
}

void TForm5::SaveMemo(const QPlainTextEdit& AMemo, const QString& AProposedName) {
  const std::optional<QString> FileName = UserPrompts().AskSaveFileName(this, AProposedName);
  if (!FileName) return;
  SaveTextFile(*FileName, FLines.value(&AMemo));
}

void TForm5::FillMemo(QPlainTextEdit* AMemo, const std::function<TLines()>& AMakeLines) {
  // Cleared first: a run that fails while it makes the lines must not leave the previous
  // drawing's texts under the new caption.
  AMemo->clear();
  FLines[AMemo].clear();
  QStringList Lines;
  for (const std::string& Line : AMakeLines()) Lines.append(QString::fromStdString(Line));
  AMemo->setPlainText(Lines.join(u'\n'));
  FLines[AMemo] = std::move(Lines);
}

void ShowRawData(TForm5* AForm) {
  const auto ShowError = [AForm](const std::exception& AError) { ShowHostError(AForm, AError); };
  TRawDataRun Run;
  Run.Execute(ShowError);
  const std::string Separator = QLocale().decimalPoint().toStdString();
  AForm->setWindowTitle(QString::fromStdString(TRawDataReport::Caption(Run, Separator)));

  // Names are looked up through a connection of their own. A host adapter may fail with
  // any exception, not only the program's own.
  std::shared_ptr<IPCsApplication> Host;
  try {
    Host = CoApplication::Create();
  } catch (const std::exception& AError) {
    ShowError(AError);
    return;
  }
  const TRawDataReport Report(Host, Separator);
  AForm->FillMemo(AForm->Memo1, [&] { return Report.SymbolLines(Run.Symbols); });
  AForm->FillMemo(AForm->Memo2, [&] { return Report.PolylineLines(Run.Polylines); });
  AForm->FillMemo(AForm->Memo3, [&] { return Report.NetlistLines(Run); });
}

}  // namespace wiremap
