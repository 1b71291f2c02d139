#include <QStringList>

#include "ui/Application.h"
#include "ui/Forms.h"
#include "ui/NetForm.h"

// `wiremap FILE` opens FILE instead of sample 1.
int main(int AArgc, char** AArgv) {
  wiremap::TApplication Application(AArgc, AArgv);
  const std::unique_ptr<wiremap::TForms> Forms = wiremap::CreateForms();
  const QStringList Arguments = Application.arguments();
  if (Arguments.size() > 1) Forms->Form1->SetStartFile(Arguments.at(1));
  Forms->Form1->show();
  return Application.exec();
}
