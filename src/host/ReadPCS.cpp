#include "host/ReadPCS.h"

namespace wiremap {

TForm4::TForm4(QWidget* AParent) : QDialog(AParent) {}

int TForm4::ShowModal() {
  return QDialog::Rejected;
}

}  // namespace wiremap
