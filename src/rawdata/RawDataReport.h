#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/Dpscad_TLB.h"
#include "rawdata/PointTable.h"
#include "rawdata/RawData.h"

namespace wiremap {

class TRawDataRun;

// Writes the texts of the raw data window: the symbols with their pins, the lines with
// their vertices and the nets with their pins, one text per line. Symbol and pin names
// come from the host, looked up by handle for every symbol and every net member.
// Coordinates and times use the decimal separator it is given.
class TRawDataReport {
 public:
  TRawDataReport(std::shared_ptr<IPCsApplication> AHost, std::string ADecimalSeparator);

  std::vector<std::string> SymbolLines(const TSymbols& ASymbols) const;
  std::vector<std::string> PolylineLines(const TPolylines& APolylines) const;
  std::vector<std::string> NetlistLines(const TRawDataRun& ARun) const;

  // The window caption after a run.
  static std::string Caption(const TRawDataRun& ARun, std::string_view ADecimalSeparator);

  // A coordinate in thousandths as drawing units with one decimal, rounded half away
  // from zero ("-1.3" for -1250).
  static std::string CoordinateText(int32_t AValue, std::string_view ADecimalSeparator);

  // Milliseconds as seconds with three decimals.
  static std::string SecondsText(uint32_t AMilliseconds, std::string_view ADecimalSeparator);

 private:
  std::shared_ptr<IHostSymbol> FindSymbol(int32_t AHandle) const;
  std::string PointText(const TRawPoint& APoint) const;

  std::shared_ptr<IPCsApplication> FHost;
  std::string FDecimalSeparator;
};

}  // namespace wiremap
