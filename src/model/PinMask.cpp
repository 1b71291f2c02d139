#include "model/PinMask.h"

#include <unicode/utf8.h>

#include <cstdint>
#include <optional>
#include <utility>

#include "model/TextCompare.h"

namespace wiremap {
namespace {

// More starred elements than this make a mask invalid.
constexpr int MaxStarred = 30;

// Bytes outside valid UTF-8 get values beyond Unicode, one per byte, so that such a byte
// equals only itself.
constexpr char32_t StrayByteBase = 0x110000;

// The character at APos; APos moves past it.
char32_t NextChar(std::string_view AText, std::size_t& APos) {
  const auto* Bytes = reinterpret_cast<const uint8_t*>(AText.data());
  const std::size_t Start = APos;
  UChar32 Char;
  U8_NEXT(Bytes, APos, AText.size(), Char);
  if (Char >= 0) return static_cast<char32_t>(Char);
  APos = Start + 1;
  return StrayByteBase + Bytes[Start];
}

char32_t Fold(char32_t AChar) {
  if (AChar >= 0x80) return AChar;
  return static_cast<unsigned char>(AsciiUpper(static_cast<char>(AChar)));
}

// Where the plain ASCII character AFolded (folded) next occurs from APos on, or the end.
// No byte of a longer UTF-8 character is ASCII, so every hit starts a character.
std::size_t FindAscii(std::string_view AText, std::size_t APos, char AFolded) {
  while (APos < AText.size() && AsciiUpper(AText[APos]) != AFolded) ++APos;
  return APos;
}

}  // namespace

// Turns the mask's characters into elements, one character after the other.
class TPinMask::TParser {
 public:
  TParser(const std::string& AMask, std::vector<TElement>& AElements)
      : FMask(AMask), FElements(AElements) {
    for (std::size_t Pos = 0; Pos < AMask.size();) FChars.push_back(NextChar(AMask, Pos));
  }

  void Run() {
    bool Star = false;
    for (; !AtEnd(); ++FAt) {
      const char32_t Char = FChars[FAt];
      if (Char == '*') {
        Star = true;
        continue;
      }
      // "*?" matches like "*".
      if (Char == '?' && Star) continue;
      TElement Element;
      if (Star) CountStar();
      Element.Starred = std::exchange(Star, false);
      if (Char == '?') {
        Element.Kind = TKind::Any;
      } else if (Char == '[') {
        ReadSet(Element);
      } else {
        Element.Kind = TKind::Literal;
        Element.Literal = Fold(Char);
      }
      FElements.push_back(std::move(Element));
    }
    if (Star) CountStar();
    FElements.push_back({TKind::End, Star, 0, false, {}});
  }

 private:
  bool AtEnd() const { return FAt >= FChars.size(); }

  void CountStar() {
    if (++FStarred > MaxStarred) Fail();
  }

  // FAt is on the "[" and ends on the "]".
  void ReadSet(TElement& AElement) {
    AElement.Kind = TKind::Set;
    ++FAt;
    if (!AtEnd() && FChars[FAt] == '!') {
      AElement.Negated = true;
      ++FAt;
    }
    std::optional<char32_t> Previous;
    // Whether Previous stands alone in the set; as the start of a range it belongs to the
    // range only, so "[z-a]" holds nothing.
    bool Alone = false;
    for (; !AtEnd() && FChars[FAt] != ']'; ++FAt) {
      if (FChars[FAt] != '-') {
        Previous = Fold(FChars[FAt]);
        AElement.Ranges.emplace_back(*Previous, *Previous);
        Alone = true;
        continue;
      }
      // A range needs a character on either side of the "-" inside the set.
      if (!Previous) Fail();
      ++FAt;
      if (AtEnd() || FChars[FAt] == ']') Fail();
      if (std::exchange(Alone, false)) AElement.Ranges.pop_back();
      const char32_t Last = Fold(FChars[FAt]);
      if (*Previous <= Last) AElement.Ranges.emplace_back(*Previous, Last);
      Previous = Last;
    }
    if (AtEnd() || AElement.Ranges.empty()) Fail();
  }

  [[noreturn]] void Fail() const {
    throw EInvalidMask("'" + FMask + "' is an invalid mask at (" + std::to_string(FAt + 1) + ")");
  }

  const std::string& FMask;
  std::vector<TElement>& FElements;
  std::vector<char32_t> FChars;
  std::size_t FAt = 0;
  int FStarred = 0;
};

TPinMask::TPinMask(const std::string& AMask) {
  TParser(AMask, FElements).Run();
  for (std::size_t I = 0; I < FElements.size(); ++I) {
    if (I == 0 || FElements[I].Starred)
      FSegments.push_back({I, I + 1});
    else
      FSegments.back().Last = I + 1;
  }
}

bool TPinMask::Matches(std::string_view AName) const {
  std::size_t Pos = 0;
  for (const TSegment& Segment : FSegments) {
    const bool Found = FElements[Segment.First].Starred ? MatchesFrom(Segment, AName, Pos)
                                                        : MatchesAt(Segment, AName, Pos);
    if (!Found) return false;
  }
  return true;
}

bool TPinMask::Accepts(const TElement& AElement, char32_t AChar) const {
  switch (AElement.Kind) {
    case TKind::Literal:
      return Fold(AChar) == AElement.Literal;
    case TKind::Any:
      return true;
    case TKind::Set: {
      const char32_t Char = Fold(AChar);
      bool In = false;
      for (const auto& [First, Last] : AElement.Ranges) In = In || (First <= Char && Char <= Last);
      return In != AElement.Negated;
    }
    case TKind::End:
      break;
  }
  return false;
}

// Every element but the end takes exactly one character.
bool TPinMask::MatchesAt(const TSegment& ASegment, std::string_view AName,
                         std::size_t& APos) const {
  std::size_t Pos = APos;
  for (std::size_t I = ASegment.First; I < ASegment.Last; ++I) {
    const TElement& Element = FElements[I];
    if (Element.Kind == TKind::End) {
      if (Pos != AName.size()) return false;
    } else if (Pos == AName.size() || !Accepts(Element, NextChar(AName, Pos))) {
      return false;
    }
  }
  APos = Pos;
  return true;
}

// A segment behind a "*" is taken at the first place where it fits. No later place can
// do better: the segment is as many characters long wherever it lies, so the first place
// leaves the most of the name to the segments after it. That keeps the work at name
// length times mask length, however many stars there are.
bool TPinMask::MatchesFrom(const TSegment& ASegment, std::string_view AName,
                           std::size_t& APos) const {
  const TElement& First = FElements[ASegment.First];
  const bool AsciiFirst = First.Kind == TKind::Literal && First.Literal < 0x80;
  for (std::size_t Start = APos;; NextChar(AName, Start)) {
    if (AsciiFirst) Start = FindAscii(AName, Start, static_cast<char>(First.Literal));
    std::size_t Pos = Start;
    if (MatchesAt(ASegment, AName, Pos)) {
      APos = Pos;
      return true;
    }
    if (Start == AName.size()) return false;
  }
}

}  // namespace wiremap
