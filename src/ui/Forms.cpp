#include "ui/Forms.h"

#include <initializer_list>

#include "charts/ViewGrph.h"
#include "host/ReadPCS.h"
#include "rawdata/ViewRawD.h"
#include "ui/CompareForm.h"
#include "ui/DrawingCheckForm.h"
#include "ui/HelpForm.h"
#include "ui/NetForm.h"
#include "ui/UserPrompts.h"

namespace wiremap {

TForms::~TForms() {
  delete DrawingCheckForm;
  delete Form6;
  delete Form5;
  delete Form4;
  delete Form3;
  delete Form2;
  delete Form1;
}

namespace {

void ConnectDrawingCheckForm(TForms& AForms) {
  AForms.DrawingCheckForm = new TDrawingCheckForm();
  AForms.DrawingCheckForm->setAttribute(Qt::WA_QuitOnClose, false);
  TDrawingCheckForm* Check = AForms.DrawingCheckForm;
  TForm1* Main = AForms.Form1;
  QObject::connect(Main, &TForm1::drawingCheckRequested, Check, [Check] { Check->RunCheck(); });
  QObject::connect(Check, &TDrawingCheckForm::pinRequested, Main, [Main](const QString& APin) {
    if (!Main->SelectPinInPinList(APin)) UserPrompts().Beep();
  });
}

}  // namespace

std::unique_ptr<TForms> CreateForms() {
  auto Forms = std::make_unique<TForms>();
  Forms->Form1 = new TForm1();
  Forms->Form2 = new TForm2();
  Forms->Form3 = new TForm3();
  Forms->Form4 = new TForm4();
  Forms->Form5 = new TForm5();
  Forms->Form6 = new TForm6();
  // Closing the main window ends the program, whichever other windows are still open.
  for (QWidget* Window : std::initializer_list<QWidget*>{Forms->Form2, Forms->Form3, Forms->Form4,
                                                         Forms->Form5, Forms->Form6})
    Window->setAttribute(Qt::WA_QuitOnClose, false);
  Forms->Form1->ConnectForms(Forms->Form2, Forms->Form3, Forms->Form4, Forms->Form5);
  Forms->Form1->ConnectCompareForm(Forms->Form6);
  QObject::connect(Forms->Form6, &TForm6::netRequested, Forms->Form1, &TForm1::SelectNetInNetlist);
  QObject::connect(Forms->Form6, &TForm6::pinRequested, Forms->Form1, &TForm1::SelectPinInNetlist);
  QObject::connect(Forms->Form1, &TForm1::projectLoaded, Forms->Form6, &TForm6::FollowLoad);
  ConnectDrawingCheckForm(*Forms);
  return Forms;
}

}  // namespace wiremap
