#include "ui/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace wiremap {

TRadioGroup::TRadioGroup(const QString& ACaption, const QStringList& AItems, QWidget* AParent)
    : QGroupBox(ACaption, AParent), FGroup(new QButtonGroup(this)) {
  auto* Layout = new QVBoxLayout(this);
  Layout->setContentsMargins(8, 2, 8, 4);
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

}  // namespace wiremap
