#include "rawdata/ViewRawD.h"

namespace wiremap {

TForm5::TForm5(QWidget* AParent) : QDialog(AParent) {}

int TForm5::ShowModal() {
  return QDialog::Rejected;
}

}  // namespace wiremap
