#pragma once

#include <QString>
#include <QWidget>

#include "model/PinDescr.h"

namespace wiremap {

class TWiremaps;
class TKeyValues;

// Chart window: draws a condensed graph of the loaded project. (Until the charts
// arrive it is an empty window that accepts the main window's calls.)
class TForm2 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* AParent = nullptr);

  void ShowChart(const QString& ACaption, TWiremaps& AGraph, TAspectKind AAspect,
                 TKeyValues* AKeyValues);
  void RefreshHighlight(TWiremaps& AGraph);
  // Forgets the current chart; called when a new project load begins.
  void DropChart();
};

}  // namespace wiremap
