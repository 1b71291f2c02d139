#include "ui/HelpForm.h"

#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QPushButton>
#include <QResizeEvent>
#include <QTextEdit>

#include "ui/UserPrompts.h"
#include "ui/WindowStyle.h"

namespace wiremap {

namespace {

const QString kMailAddress = QStringLiteral("info@example.net");
const QString kWebAddress = QStringLiteral("www.example.net");

// Designed client size, and the smallest outer size.
constexpr int kClientWidth = 481;
constexpr int kClientHeight = 302;
constexpr int kMinClientWidth = InsideWidth(489);
constexpr int kMinClientHeight = InsideHeight(160);

// Distances kept on resize: the note ends 41 pixels above the bottom, the buttons' tops
// are 30 pixels above it and OK's left edge 89 pixels left of the right edge.
constexpr int kNoteBottomGap = 41;
constexpr int kButtonTopGap = 30;
constexpr int kOkRightGap = 89;

const char* const kHelpNote =
    "Wiremap is still a prototype, so there is no help text yet.\n"
    "Instead, this window lists ideas for extending the program.\n"
    "The latest version is on our web page: use the button below.\n"
    "\n"
    "NETLIST\n"
    "- Search nets by wire name as well as by pin name.\n"
    "- Show the wire names along the links of a net.\n"
    "- Mark nets that connect to one pin only.\n"
    "\n"
    "PIN LIST\n"
    "- Group pins by product in addition to page, function and location.\n"
    "- Filter the list by a pin name mask.\n"
    "- Jump from a link node to the pin it leads to.\n"
    "\n"
    "CHART\n"
    "- Drag circles to arrange a chart by hand.\n"
    "- Print and export charts as images.\n"
    "- Show the number of wires on each line.\n"
    "\n"
    "COMPARISON OF NETLISTS\n"
    "- Compare two revisions of a project and list the nets that changed.\n"
    "- Compare a netlist with a list of wires read from a text file.\n"
    "\n"
    "WORK STILL TO DO\n"
    "- Open a project file directly, without the running CAD application.\n"
    "- Sorting and comparison commands in the main menu.\n"
    "- A real help text.";

QFont ControlFont() {
  return DesignFont(QFont());
}

// The green check mark of an OK button, drawn for normal and doubled resolution.
QIcon CheckMarkIcon() {
  QIcon Icon;
  for (const qreal Ratio : {1.0, 2.0}) {
    QPixmap Pixmap(QSize(16, 16) * Ratio);
    Pixmap.setDevicePixelRatio(Ratio);
    Pixmap.fill(Qt::transparent);
    QPainter Painter(&Pixmap);
    Painter.setRenderHint(QPainter::Antialiasing, true);
    Painter.setPen(QPen(QColor(24, 140, 40), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    Painter.drawPolyline(QPolygonF({{2.5, 8.5}, {6.5, 12.5}, {13.5, 3.5}}));
    Painter.end();
    Icon.addPixmap(Pixmap);
  }
  return Icon;
}

}  // namespace

TForm3::TForm3(QWidget* AParent) : QDialog(AParent) {
  setWindowTitle(QStringLiteral("Help: Wiremap for PC|SCHEMATIC AUTOMATION "));
  setFont(ControlFont());
  setSizeGripEnabled(false);
  CreateControls();
  setMinimumSize(kMinClientWidth, kMinClientHeight);
  resize(kClientWidth, kClientHeight);
}

void TForm3::CreateControls() {
  RichEdit1 = new QTextEdit(this);
  RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
  RichEdit1->setReadOnly(true);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEdit1->setPlainText(QString::fromUtf8(kHelpNote));
  RichEdit1->setGeometry(0, 0, 481, 261);

  MailButton = new QPushButton(kMailAddress, this);
  MailButton->setObjectName(QStringLiteral("MailButton"));
  MailButton->setAutoDefault(false);
  MailButton->setGeometry(8, 272, 124, 25);
  connect(MailButton, &QPushButton::clicked, this, &TForm3::MailButtonClick);

  WWWButton = new QPushButton(kWebAddress, this);
  WWWButton->setObjectName(QStringLiteral("WWWButton"));
  WWWButton->setAutoDefault(false);
  WWWButton->setGeometry(152, 272, 128, 25);
  connect(WWWButton, &QPushButton::clicked, this, &TForm3::WWWButtonClick);

  BitBtn1 = new QPushButton(CheckMarkIcon(), QStringLiteral("OK"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setDefault(true);
  BitBtn1->setGeometry(392, 272, 75, 25);
  connect(BitBtn1, &QPushButton::clicked, this, &TForm3::BitBtn1Click);
}

void TForm3::resizeEvent(QResizeEvent* AEvent) {
  QDialog::resizeEvent(AEvent);
  const int Width = AEvent->size().width();
  const int Height = AEvent->size().height();
  const int ButtonTop = Height - kButtonTopGap;
  RichEdit1->setGeometry(0, 0, Width, Height - kNoteBottomGap);
  MailButton->move(MailButton->x(), ButtonTop);
  WWWButton->move(WWWButton->x(), ButtonTop);
  BitBtn1->move(Width - kOkRightGap, ButtonTop);
}

void TForm3::ShowHelp() {
  show();
  raise();
  activateWindow();
}

void TForm3::BitBtn1Click() {
  hide();
}

void TForm3::MailButtonClick() {
  OpenInShell(this, "mailto:" + kMailAddress + "?subject=Wiremap%20for%20PC|Schematic");
}

void TForm3::WWWButtonClick() {
  OpenInShell(this, "http://" + kWebAddress);
}

void OpenInShell(QWidget* AWindow, const QString& ATarget) {
  UserPrompts().OpenInShell(AWindow, ATarget);
}

}  // namespace wiremap
