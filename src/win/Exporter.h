#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace wiremap {

// wiremap-export: retrieves the connection list of the project open in the CAD
// application and writes it as a connection list CSV, to the file named in AArgs or to
// AOut. Progress and errors go to AErr ("wiremap-export: <message>"). Gives the exit
// code: 0 success, 2 error.
int RunExport(const std::vector<std::string>& AArgs, std::ostream& AOut, std::ostream& AErr);

}  // namespace wiremap
