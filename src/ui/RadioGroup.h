#pragma once

#include <functional>
#include <vector>

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace wiremap {

// A captioned group of radio buttons with one chosen item, addressed by index.
// Choosing another item, by a click or through SetItemIndex, calls OnClick once.
class TRadioGroup : public QGroupBox {
  Q_OBJECT
 public:
  TRadioGroup(const QString& ACaption, const QStringList& AItems, QWidget* AParent = nullptr);

  int ItemIndex() const { return FItemIndex; }
  // Chooses item AIndex; an index outside the items is ignored.
  void SetItemIndex(int AIndex);

  int Count() const { return static_cast<int>(FButtons.size()); }
  QRadioButton* Button(int AIndex) const { return FButtons.at(AIndex); }

  std::function<void()> OnClick;

 protected:
  void resizeEvent(QResizeEvent* AEvent) override;

 private:
  void FitCaptions();
  int WidestCaption(const QFont& AFont) const;

  void ButtonToggled(int AIndex, bool AChecked);

  QButtonGroup* FGroup = nullptr;
  std::vector<QRadioButton*> FButtons;
  int FItemIndex = -1;
};

}  // namespace wiremap
