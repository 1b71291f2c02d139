#pragma once

#include <QDialog>

#include "model/ConnectionRec.h"

namespace wiremap {

// Retrieval progress window: reads the connections of the host's open project while it
// is shown modally. (Until the host retrieval arrives it closes at once without OK.)
class TForm4 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm4(QWidget* AParent = nullptr);

  // Shows the window modally; QDialog::Accepted when Connections holds a project.
  virtual int ShowModal();

  TConnectionRecs Connections;
};

}  // namespace wiremap
