#include "rawdata/RawDataReport.h"

#include "rawdata/RawDataRun.h"

namespace wiremap {

namespace {

const std::string PointIndent(8, ' ');

std::string TypeName(int32_t ASymbolType) {
  return SymbolTypeName(static_cast<uint8_t>(ASymbolType & 0xFF));
}

// AScaled / 10^ADecimals written exactly, with ADecimals places after the separator.
std::string DecimalText(int64_t AScaled, int ADecimals, std::string_view ASeparator) {
  const size_t Places = static_cast<size_t>(ADecimals);
  std::string Digits = std::to_string(AScaled < 0 ? -AScaled : AScaled);
  if (Digits.size() <= Places) Digits.insert(Digits.begin(), Places + 1 - Digits.size(), '0');
  const size_t Point = Digits.size() - Places;
  std::string Text;
  if (AScaled < 0) Text += '-';
  Text.append(Digits, 0, Point);
  Text.append(ASeparator);
  Text.append(Digits, Point, std::string::npos);
  return Text;
}

}  // namespace

TRawDataReport::TRawDataReport(std::shared_ptr<IPCsApplication> AHost,
                               std::string ADecimalSeparator)
    : FHost(std::move(AHost)), FDecimalSeparator(std::move(ADecimalSeparator)) {}

std::string TRawDataReport::CoordinateText(int32_t AValue, std::string_view ADecimalSeparator) {
  // Whole tenths, computed on integers so that no binary fraction tips a half.
  const int64_t Value = AValue;
  const int64_t Tenths = Value < 0 ? -((-Value + 50) / 100) : (Value + 50) / 100;
  return DecimalText(Tenths, 1, ADecimalSeparator);
}

std::string TRawDataReport::SecondsText(uint32_t AMilliseconds,
                                        std::string_view ADecimalSeparator) {
  return DecimalText(AMilliseconds, 3, ADecimalSeparator);
}

std::string TRawDataReport::Caption(const TRawDataRun& ARun, std::string_view ADecimalSeparator) {
  return "Raw Data (Retrieval Time = " + SecondsText(ARun.RetrievalTime(), ADecimalSeparator) +
         " s, Computation = " + SecondsText(ARun.ComputationTime(), ADecimalSeparator) + " s)";
}

std::shared_ptr<IHostSymbol> TRawDataReport::FindSymbol(int32_t AHandle) const {
  return FHost->Project()->Document()->SymbolByHandle(-1, AHandle);
}

std::string TRawDataReport::PointText(const TRawPoint& APoint) const {
  return PointIndent + "x=" + CoordinateText(APoint.X, FDecimalSeparator) +
         " y=" + CoordinateText(APoint.Y, FDecimalSeparator) +
         " z=" + CoordinateText(APoint.Z, FDecimalSeparator);
}

std::vector<std::string> TRawDataReport::SymbolLines(const TSymbols& ASymbols) const {
  std::vector<std::string> Lines;
  Lines.push_back("total (electric) symbols = " + std::to_string(ASymbols.size()));
  for (const TSymbol& Symbol : ASymbols) {
    const std::shared_ptr<IHostSymbol> Host = FindSymbol(Symbol.Handle);
    Lines.push_back("handle=" + std::to_string(Symbol.Handle) + " page=" +
                    std::to_string(Symbol.Page) + " layer=" + std::to_string(Symbol.Layer) + " " +
                    TypeName(Symbol.SymbolType) + "   " + Host->Name());
    const int32_t Type = Symbol.SymbolType & 0xFF;
    std::shared_ptr<IHostPinList> HostPins;
    for (size_t K = 0; K < Symbol.Pins.size(); ++K) {
      std::string Label;
      if (Type == st_Signal) {
        Label = Symbol.Name;
      } else if (Type == st_Branch) {
        if (static_cast<int32_t>(K) == Symbol.SymbolType >> 8) Label = "common ";
      } else {
        if (!HostPins) HostPins = Host->Pins();
        Label = HostPins->Item(static_cast<int32_t>(K))->Name();
      }
      Lines.push_back(PointText(Symbol.Pins[K]) + " " + Label);
    }
  }
  return Lines;
}

std::vector<std::string> TRawDataReport::PolylineLines(const TPolylines& APolylines) const {
  std::vector<std::string> Lines;
  Lines.push_back("total (electric) polylines = " + std::to_string(APolylines.size()));
  for (const TPolyline& Line : APolylines) {
    Lines.push_back("handle=" + std::to_string(Line.Handle) + " page=" + std::to_string(Line.Page) +
                    " layer=" + std::to_string(Line.Layer) + " " +
                    (Line.IsJumper ? "JUMPER " : "") + " " + (Line.IsCable ? "CABLE " : ""));
    for (const TRawPoint& Vertex : Line.Vertices) Lines.push_back(PointText(Vertex));
  }
  return Lines;
}

std::vector<std::string> TRawDataReport::NetlistLines(const TRawDataRun& ARun) const {
  const TPointTable& Table = *ARun.Table;
  std::vector<std::string> Lines;
  Lines.push_back("point table entries = " + std::to_string(Table.Count) +
                  ", collisions = " + std::to_string(Table.Collisions));
  Lines.push_back("table computation time = " + SecondsText(ARun.TableTime(), FDecimalSeparator) +
                  " s");
  Lines.push_back("netlist computation time = " +
                  SecondsText(ARun.ComputationTime(), FDecimalSeparator) + " s");
  Lines.push_back("nets found = " + std::to_string(ARun.Nets.size()));
  Lines.push_back("signals found = " + std::to_string(Table.SignalCount));
  for (size_t N = 0; N < ARun.Nets.size(); ++N) {
    Lines.push_back("net #" + std::to_string(N));
    for (const TPinRef& Pin : ARun.Nets[N]) {
      const std::shared_ptr<IHostSymbol> Host = FindSymbol(Pin.Handle);
      Lines.push_back(PointIndent + Host->Name() + ":" + Host->Pins()->Item(Pin.PinIndex)->Name() +
                      "   " + TypeName(Pin.SymbolType) + " handle=" + std::to_string(Pin.Handle) +
                      " pin_index=" + std::to_string(Pin.PinIndex));
    }
  }
  return Lines;
}

}  // namespace wiremap
