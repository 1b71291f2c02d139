#include "charts/ViewGrph.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>
#include <QToolTip>

#include "model/CondensedGraph.h"
#include "model/KeyValues.h"
#include "model/Wiremaps.h"
#include "ui/WindowStyle.h"

namespace wiremap {

namespace {

// The designed window is 608 x 628 pixels, at least 300 x 300.
constexpr int DefaultLeft = 360;
constexpr int DefaultTop = 163;
constexpr int DefaultWidth = InsideWidth(608);
constexpr int DefaultHeight = InsideHeight(628);
constexpr int MinimumWidth = InsideWidth(300);
constexpr int MinimumHeight = InsideHeight(300);

constexpr int LegendLeft = 7;
constexpr int LegendBottomGap = 20;

const QColor EdgeColor(128, 0, 0);
const QColor NodePen(0, 0, 128);
const QColor NodeFill(240, 240, 255);
const QColor HighlightPen(255, 0, 0);
const QColor HighlightFill(255, 192, 192);

const char* const ScaleNames[2] = {"Log", "Lin"};

// The chart is designed for a 10-pixel MS Sans Serif; Debian's font packages carry an
// outline copy of it, which is taken where the system has none of its own.
QFont ChartFont() {
  const QString Family = QStringLiteral("MS Sans Serif");
  const QString Copy = QStringLiteral("/usr/share/wine/fonts/ms_sans_serif.ttf");
  if (!QFontDatabase::families().contains(Family) && QFileInfo::exists(Copy))
    QFontDatabase::addApplicationFont(Copy);
  QFont Font;
  Font.setFamilies({Family, QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma"),
                    QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  Font.setPixelSize(10);
  return Font;
}

// A tooltip takes text that looks like markup as markup; such a name is escaped so that
// it shows as it is written.
QString PlainTooltip(const QString& AText) {
  if (!Qt::mightBeRichText(AText)) return AText;
  return Qt::convertFromPlainText(AText, Qt::WhiteSpacePre);
}

}  // namespace

TForm2::TForm2(QWidget* AParent) : QWidget(AParent, Qt::Window) {
  setWindowTitle(QStringLiteral("Chart"));
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
  setFont(ChartFont());
  setMouseTracking(true);
  // Names of the groups show when the pointer rests on a circle, also while the main
  // window is the active one (where the nets are selected).
  setAttribute(Qt::WA_AlwaysShowToolTips);
  setMinimumSize(MinimumWidth, MinimumHeight);
  resize(DefaultWidth, DefaultHeight);
  move(DefaultLeft, DefaultTop);
}

TForm2::~TForm2() = default;

void TForm2::ShowChart(const QString& ACaption, TWiremaps& AGraph, TAspectKind AAspect,
                       TKeyValues* AKeyValues) {
  setWindowTitle(ACaption);
  FAspect = AAspect;
  FCondensed.reset();
  FLayout = TChartLayout();
  if (AKeyValues) {
    auto Condensed = std::make_unique<TCondensedGraph>();
    Condensed->Build(AGraph, *AKeyValues, AAspect);
    Condensed->UpdateHighlight(AGraph, AAspect);
    FCondensed = std::move(Condensed);
    ComputeLayout();
  }
  update();
  ForgetHover();
  show();
  raise();
  activateWindow();
}

void TForm2::RefreshHighlight(TWiremaps& AGraph) {
  if (!FCondensed) return;
  FCondensed->UpdateHighlight(AGraph, FAspect);
  update();
}

void TForm2::DropChart() {
  FCondensed.reset();
  FLayout = TChartLayout();
  ForgetHover();
  update();
}

void TForm2::ForgetHover() {
  QToolTip::hideText();
  FHoverNode = -1;
  setToolTip(QString());
}

// --- Window events ------------------------------------------------------------------

void TForm2::FormPaint() {
  if (!FCondensed) return;
  QPainter Painter(this);
  Painter.setRenderHint(QPainter::Antialiasing, true);
  DrawChart(Painter);
}

void TForm2::FormResize() {
  ComputeLayout();
  update();
}

void TForm2::FormMouseMove(int AX, int AY) {
  if (!FCondensed) return;
  const int32_t Hit = HitNode(FLayout, AX, AY);
  if (Hit == FHoverNode) return;
  // Withdrawn on every change of node, so that the next name shows after the usual
  // delay instead of replacing the old one under the moving pointer.
  QToolTip::hideText();
  setToolTip(Hit < 0 ? QString()
                     : QString::fromStdString(FCondensed->NodeNames[static_cast<size_t>(Hit)]));
  FHoverNode = Hit;
}

bool TForm2::event(QEvent* AEvent) {
  if (AEvent->type() == QEvent::ToolTip)
    return ShowHint(static_cast<QHelpEvent*>(AEvent)->globalPos());
  return QWidget::event(AEvent);
}

// The window's tooltip is the hovered node's name, shown as written.
bool TForm2::ShowHint(const QPoint& AGlobalPos) {
  if (toolTip().isEmpty()) {
    QToolTip::hideText();
    return false;
  }
  QToolTip::showText(AGlobalPos, PlainTooltip(toolTip()), this);
  return true;
}

void TForm2::paintEvent(QPaintEvent*) {
  FormPaint();
}

void TForm2::resizeEvent(QResizeEvent* AEvent) {
  QWidget::resizeEvent(AEvent);
  FormResize();
}

void TForm2::mouseMoveEvent(QMouseEvent* AEvent) {
  const QPoint Position = AEvent->position().toPoint();
  FormMouseMove(Position.x(), Position.y());
  QWidget::mouseMoveEvent(AEvent);
}

// --- Drawing ------------------------------------------------------------------------

void TForm2::ComputeLayout() {
  if (!FCondensed) return;
  FLayout = ComputeChartLayout(width(), height(), FCondensed->NodeCount);
}

void TForm2::DrawChart(QPainter& APainter) const {
  const bool Linear = IsLinearScale(FCondensed->MaxWeight, FLayout.NodeRadius);
  DrawEdges(APainter, Linear);
  for (int32_t I = 0; I < FCondensed->NodeCount; ++I)
    DrawNode(APainter, FLayout.NodePositions[static_cast<size_t>(I)], FLayout.NodeRadius,
             FCondensed->Highlighted[static_cast<size_t>(I)] != 0,
             QString::fromStdString(FCondensed->NodeNames[static_cast<size_t>(I)]));
  const QString Legend =
      QStringLiteral("%1, Max=%2").arg(ScaleNames[Linear]).arg(FCondensed->MaxWeight);
  APainter.setPen(palette().color(foregroundRole()));
  APainter.drawText(LegendLeft, height() - LegendBottomGap + APainter.fontMetrics().ascent(),
                    Legend);
}

// Links inside one group lie on the diagonal and are not drawn. The lines end in round
// caps; those of one node all share its centre, so one disc as wide as its widest line
// draws them all, where stroking thousands of caps one by one would slow the paint down.
void TForm2::DrawEdges(QPainter& APainter, bool ALinear) const {
  std::vector<int32_t> CapWidths(static_cast<size_t>(FCondensed->NodeCount), 0);
  QPen Pen(EdgeColor);
  Pen.setCapStyle(Qt::FlatCap);
  for (int32_t I = 0; I < FCondensed->NodeCount; ++I) {
    const std::vector<int32_t>& Row = FCondensed->Weights[static_cast<size_t>(I)];
    const TChartPoint From = FLayout.NodePositions[static_cast<size_t>(I)];
    for (int32_t J = 0; J < I; ++J) {
      const int32_t Weight = Row[static_cast<size_t>(J)];
      if (Weight <= 0) continue;
      const TChartPoint To = FLayout.NodePositions[static_cast<size_t>(J)];
      const int32_t Width = EdgeWidth(Weight, ALinear);
      Pen.setWidth(Width);
      APainter.setPen(Pen);
      APainter.drawLine(From.X, From.Y, To.X, To.Y);
      for (const int32_t End : {I, J})
        CapWidths[static_cast<size_t>(End)] = std::max(CapWidths[static_cast<size_t>(End)], Width);
    }
  }
  APainter.setPen(Qt::NoPen);
  APainter.setBrush(EdgeColor);
  for (size_t I = 0; I < CapWidths.size(); ++I) {
    if (CapWidths[I] == 0) continue;
    const qreal Radius = CapWidths[I] / 2.0;
    APainter.drawEllipse(QPointF(FLayout.NodePositions[I].X, FLayout.NodePositions[I].Y), Radius,
                         Radius);
  }
}

// The circle fills its bounding square (P.x - r, P.y - r) to (P.x + r, P.y + r) with the
// pen inside it; a name is drawn only where it fits inside the circle.
void TForm2::DrawNode(QPainter& APainter, TChartPoint APosition, int32_t ARadius, bool AHighlighted,
                      const QString& AName) const {
  const int PenWidth = AHighlighted ? 2 : 1;
  const QColor Fill = AHighlighted ? HighlightFill : NodeFill;
  APainter.setPen(QPen(AHighlighted ? HighlightPen : NodePen, PenWidth));
  APainter.setBrush(Fill);
  const qreal PathRadius = std::max(ARadius - PenWidth / 2.0, 0.0);
  APainter.drawEllipse(QPointF(APosition.X, APosition.Y), PathRadius, PathRadius);

  const QFontMetrics Metrics = APainter.fontMetrics();
  const int TextWidth = Metrics.horizontalAdvance(AName);
  const int TextHeight = Metrics.height();
  if (TextWidth + TextHeight >= 2 * ARadius) return;
  APainter.setPen(palette().color(foregroundRole()));
  APainter.drawText(APosition.X - TextWidth / 2, APosition.Y - TextHeight / 2 + Metrics.ascent(),
                    AName);
}

}  // namespace wiremap
