#include "ui/Application.h"
#include "ui/Forms.h"
#include "ui/NetForm.h"

int main(int AArgc, char** AArgv) {
  wiremap::TApplication Application(AArgc, AArgv);
  const std::unique_ptr<wiremap::TForms> Forms = wiremap::CreateForms();
  Forms->Form1->show();
  return Application.exec();
}
