#pragma once

#include <QDialog>

namespace wiremap {

// Raw data window: reads the drawing from the host and computes its nets by geometry.
// (Until the raw data subsystem arrives it does nothing.)
class TForm5 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm5(QWidget* AParent = nullptr);

  virtual int ShowModal();
};

}  // namespace wiremap
