#include "cli/CommandLine.h"

int main(int AArgc, char** AArgv) {
  return wiremap::TCommandLine().Run(AArgc, AArgv);
}
