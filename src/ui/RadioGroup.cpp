#include "ui/RadioGroup.h"

#include <algorithm>

#include <QButtonGroup>
#include <QFontMetrics>
#include <QRadioButton>
#include <QVBoxLayout>

namespace wiremap {

namespace {

constexpr int MarginLeft = 8;
constexpr int MarginRight = 2;
constexpr int NarrowestStretch = 60;

}  // namespace

TRadioGroup::TRadioGroup(const QString& ACaption, const QStringList& AItems, QWidget* AParent)
    : QGroupBox(ACaption, AParent), FGroup(new QButtonGroup(this)) {
  auto* Layout = new QVBoxLayout(this);
  Layout->setContentsMargins(MarginLeft, 2, MarginRight, 4);
  Layout->setSpacing(0);
  for (const QString& Item : AItems) {
    auto* Button = new QRadioButton(Item, this);
    FGroup->addButton(Button, Count());
    Layout->addWidget(Button);
    FButtons.push_back(Button);
  }
  connect(FGroup, &QButtonGroup::idToggled, this, &TRadioGroup::ButtonToggled);
}

void TRadioGroup::SetItemIndex(int AIndex) {
  if (AIndex >= 0 && AIndex < Count()) FButtons[AIndex]->setChecked(true);
}

void TRadioGroup::ButtonToggled(int AIndex, bool AChecked) {
  if (!AChecked) return;
  FItemIndex = AIndex;
  if (OnClick) OnClick();
}

void TRadioGroup::resizeEvent(QResizeEvent* AEvent) {
  QGroupBox::resizeEvent(AEvent);
  FitCaptions();
}

// A font wider than the one the group was laid out for would cut the longest captions
// off: the buttons' font is then narrowed just enough.
int TRadioGroup::WidestCaption(const QFont& AFont) const {
  const QFontMetrics Metrics(AFont);
  int Widest = 0;
  for (const QRadioButton* Button : FButtons)
    Widest = std::max(Widest, Metrics.horizontalAdvance(Button->text()));
  return Widest;
}

void TRadioGroup::FitCaptions() {
  if (FButtons.empty()) return;
  // Indicator, spacing and margins around a caption, whatever the font.
  const QRadioButton* First = FButtons.front();
  const int Frame =
      First->sizeHint().width() - QFontMetrics(First->font()).horizontalAdvance(First->text());
  const int Room = contentsRect().width() - MarginLeft - MarginRight - Frame;

  // Stretch does not scale widths exactly (faces come in steps), so narrow step by step.
  QFont Font = font();
  for (int Stretch = QFont::Unstretched; Stretch >= NarrowestStretch; --Stretch) {
    Font.setStretch(Stretch);
    if (WidestCaption(Font) <= Room) break;
  }
  for (QRadioButton* Button : FButtons) Button->setFont(Font);
}

}  // namespace wiremap
