#include <gtest/gtest.h>

#include "ui/Application.h"

// The window tests need the application object; they run on the offscreen platform
// unless another one is asked for.
int main(int AArgc, char** AArgv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&AArgc, AArgv);
  wiremap::TApplication Application(AArgc, AArgv);
  return RUN_ALL_TESTS();
}
