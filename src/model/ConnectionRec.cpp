#include "model/ConnectionRec.h"

namespace wiremap {

std::string ProjectName;

}  // namespace wiremap
