#include "charts/ViewGrph.h"

namespace wiremap {

TForm2::TForm2(QWidget* AParent) : QWidget(AParent, Qt::Window) {}

void TForm2::ShowChart(const QString&, TWiremaps&, TAspectKind, TKeyValues*) {}

void TForm2::RefreshHighlight(TWiremaps&) {}

void TForm2::DropChart() {}

}  // namespace wiremap
