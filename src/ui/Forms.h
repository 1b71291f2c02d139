#pragma once

#include <memory>

namespace wiremap {

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TDrawingCheckForm;

// The program's windows, created in start-up order; the owner deletes them in reverse
// order.
class TForms {
 public:
  TForms() = default;
  TForms(const TForms&) = delete;
  TForms& operator=(const TForms&) = delete;
  ~TForms();

  TForm1* Form1 = nullptr;  // main window
  TForm2* Form2 = nullptr;  // charts
  TForm3* Form3 = nullptr;  // help
  TForm4* Form4 = nullptr;  // retrieval progress
  TForm5* Form5 = nullptr;  // raw data
  TForm6* Form6 = nullptr;  // netlist comparison
  TDrawingCheckForm* DrawingCheckForm = nullptr;
};

// Creates the windows (none shown) and connects the main window to the others.
std::unique_ptr<TForms> CreateForms();

}  // namespace wiremap
