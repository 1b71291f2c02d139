#pragma once

#include <cstdint>
#include <memory>

#include <QString>
#include <QWidget>

#include "charts/ChartLayout.h"
#include "model/PinDescr.h"
#include "model/Wiremaps.h"

class QPainter;

namespace wiremap {

class TCondensedGraph;
class TKeyValues;
class TWiremaps;

// Chart window: one aspect of the loaded project (pages, functions, locations or
// products) as a ring of circles joined by lines as thick as the wiring between them,
// with the groups of the selected net highlighted. It draws from a condensed graph of
// its own and never changes the net graph.
class TForm2 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* AParent = nullptr);
  ~TForm2() override;

  // Opens a chart of AAspect and shows the window in front; without key value tables
  // the window shows no chart.
  void ShowChart(const QString& ACaption, TWiremaps& AGraph, TAspectKind AAspect,
                 TKeyValues* AKeyValues);
  // Forgets the current chart; called when a new project load begins, since the next
  // project's pins do not fit this chart's nodes.
  void DropChart();

  void FormPaint();
  void FormResize();
  void FormMouseMove(int AX, int AY);

  const TCondensedGraph* Condensed() const { return FCondensed.get(); }
  const TChartLayout& Layout() const { return FLayout; }
  int32_t HoverNode() const { return FHoverNode; }
  QString HintText() const { return toolTip(); }

 public slots:
  // Takes the marks of AGraph into the highlight of the chart shown (the main window
  // signals when they change).
  void RefreshHighlight(wiremap::TWiremaps& AGraph);

 protected:
  bool event(QEvent* AEvent) override;
  void paintEvent(QPaintEvent* AEvent) override;
  void resizeEvent(QResizeEvent* AEvent) override;
  void mouseMoveEvent(QMouseEvent* AEvent) override;

 private:
  void ComputeLayout();
  void DrawChart(QPainter& APainter) const;
  void DrawEdges(QPainter& APainter, bool ALinear) const;
  void DrawNode(QPainter& APainter, TChartPoint APosition, int32_t ARadius, bool AHighlighted,
                const QString& AName) const;
  void ForgetHover();
  bool ShowHint(const QPoint& AGlobalPos);

  std::unique_ptr<TCondensedGraph> FCondensed;
  TAspectKind FAspect = akPage;
  TChartLayout FLayout;
  int32_t FHoverNode = -1;
};

}  // namespace wiremap
