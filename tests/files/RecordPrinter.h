#pragma once

#include <ostream>

#include "model/ConnectionRec.h"

namespace wiremap {

// Records in failure messages as a reader would write them, not as bytes.
inline void PrintTo(const TConnectionRec& ARec, std::ostream* AOut) {
  *AOut << '{' << ARec.DesignationA << ':' << ARec.PinA << " p" << ARec.PageA << " -- "
        << ARec.DesignationB << ':' << ARec.PinB << " p" << ARec.PageB << " \"" << ARec.WireName
        << "\"}";
}

}  // namespace wiremap
