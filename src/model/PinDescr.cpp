#include "model/PinDescr.h"

namespace wiremap {

TPinDescr::TPinDescr(std::string AName, int32_t ANumber)
    : Name(std::move(AName)), Number(ANumber), NextInNet(ANumber) {}

void TPinDescr::AddLink(int32_t ATarget, int32_t APage, const std::string& AWire) {
  Links.push_back(ATarget);
  LinkWires.push_back(AWire);
  Page = APage;
}

namespace {

// Aspect index of a separator character, -1 for any other character.
int SeparatorIndex(char C) {
  switch (C) {
    case '=':
      return akFunction;
    case '+':
      return akLocation;
    case '-':
      return akProduct;
    case ':':
      return akPin;
    default:
      return -1;
  }
}

}  // namespace

void SplitPinName(std::string_view AName, std::array<std::string_view, AspectCount>& AParts) {
  AParts.fill(std::string_view());
  const size_t End = AName.size();
  // Text in front of the first separator belongs to no aspect.
  size_t SegmentStart = End;
  for (size_t I = 0; I <= End; ++I) {
    if (I < End && SeparatorIndex(AName[I]) < 0) continue;
    if (SegmentStart < End) {
      const int Aspect = SeparatorIndex(AName[SegmentStart]);
      if (Aspect >= 0) AParts[Aspect] = AName.substr(SegmentStart, I - SegmentStart);
    }
    SegmentStart = I;
  }
}

void SplitPinName(const std::string& AName, std::array<std::string, AspectCount>& AParts) {
  std::array<std::string_view, AspectCount> Views;
  SplitPinName(AName, Views);
  for (int K = 0; K < AspectCount; ++K) AParts[K].assign(Views[K]);
}

void TPinDescr::SplitName(std::array<std::string, AspectCount>& AParts) const {
  SplitPinName(Name, AParts);
  AParts[akPage] = std::to_string(Page);
}

std::string TPinDescr::GetAspect(TAspectKind AAspect) const {
  if (AAspect == akPage) return std::to_string(Page);
  std::array<std::string, AspectCount> Parts;
  SplitName(Parts);
  return Parts[AAspect];
}

}  // namespace wiremap
