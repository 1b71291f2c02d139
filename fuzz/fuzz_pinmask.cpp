// A mask and a name. On short inputs the compiled mask must agree with a plain recursive
// matcher written from the mask rules; an invalid mask must raise EInvalidMask with the
// position the rules give, and no other error may come out. Long inputs only have to
// finish without touching memory outside the texts.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "model/PinMask.h"

namespace wiremap {
namespace {

// Masks and names of at most this many characters are checked against the reference.
constexpr size_t kReferenceLimit = 24;

// Length of the well-formed UTF-8 sequence at AText[AAt], or 0: a byte that starts none
// is a character of its own.
size_t SequenceLength(const std::string& AText, size_t AAt) {
  const auto Byte = [&](size_t AOffset) {
    return AAt + AOffset < AText.size() ? static_cast<unsigned char>(AText[AAt + AOffset]) : 0u;
  };
  const unsigned Lead = Byte(0);
  const auto Trail = [&](size_t AOffset, unsigned ALow = 0x80, unsigned AHigh = 0xBF) {
    return Byte(AOffset) >= ALow && Byte(AOffset) <= AHigh;
  };
  if (Lead < 0x80) return 1;
  if (Lead >= 0xC2 && Lead <= 0xDF) return Trail(1) ? 2 : 0;
  if (Lead == 0xE0) return Trail(1, 0xA0) && Trail(2) ? 3 : 0;
  if (Lead == 0xED) return Trail(1, 0x80, 0x9F) && Trail(2) ? 3 : 0;
  if (Lead >= 0xE1 && Lead <= 0xEF) return Trail(1) && Trail(2) ? 3 : 0;
  if (Lead == 0xF0) return Trail(1, 0x90) && Trail(2) && Trail(3) ? 4 : 0;
  if (Lead == 0xF4) return Trail(1, 0x80, 0x8F) && Trail(2) && Trail(3) ? 4 : 0;
  if (Lead >= 0xF1 && Lead <= 0xF3) return Trail(1) && Trail(2) && Trail(3) ? 4 : 0;
  return 0;
}

// The text as characters: a sequence's bytes, or one stray byte marked by a leading 0xFF
// (which no well-formed sequence holds), so that a stray byte equals only itself.
std::vector<std::string> Characters(const std::string& AText) {
  std::vector<std::string> Chars;
  for (size_t At = 0; At < AText.size();) {
    const size_t Length = SequenceLength(AText, At);
    Chars.push_back(Length == 0 ? std::string("\xFF") + AText[At] : AText.substr(At, Length));
    At += Length == 0 ? 1 : Length;
  }
  return Chars;
}

std::string Fold(std::string AChar) {
  if (AChar.size() == 1 && AChar[0] >= 'a' && AChar[0] <= 'z') AChar[0] += 'A' - 'a';
  return AChar;
}

// Characters compare by their code points; stray bytes after all of them, by value.
uint32_t CodeOf(const std::string& AChar) {
  if (AChar[0] == '\xFF') return 0x110000 + static_cast<unsigned char>(AChar[1]);
  const auto B = [&](size_t I) {
    return static_cast<uint32_t>(static_cast<unsigned char>(AChar[I]));
  };
  switch (AChar.size()) {
    case 1:
      return B(0);
    case 2:
      return (B(0) & 0x1F) << 6 | (B(1) & 0x3F);
    case 3:
      return (B(0) & 0x0F) << 12 | (B(1) & 0x3F) << 6 | (B(2) & 0x3F);
    default:
      return (B(0) & 0x07) << 18 | (B(1) & 0x3F) << 12 | (B(2) & 0x3F) << 6 | (B(3) & 0x3F);
  }
}

// One element of a mask read by the rules: what one character must be, with a "*" in
// front or not. End stands for the end of the name.
struct TElement {
  enum { Literal, Any, Set, End } Kind;
  bool Starred;
  uint32_t Code = 0;
  bool Negated = false;
  std::vector<std::pair<uint32_t, uint32_t>> Ranges{};
};

// The mask's elements, or the 1-based character position where the mask is invalid.
struct TCompiled {
  std::vector<TElement> Elements;
  size_t InvalidAt = 0;
};

// A set from the "[" at C[AAt] on; AAt ends on its "]". False when the set is invalid,
// with the position in AInvalidAt.
bool ReadSet(const std::vector<std::string>& C, size_t& AAt, TElement& ASet, size_t& AInvalidAt) {
  ASet.Kind = TElement::Set;
  size_t J = AAt + 1;
  if (J < C.size() && C[J] == "!") {
    ASet.Negated = true;
    ++J;
  }
  std::optional<uint32_t> Previous;
  // The start of a range belongs to the range only; it was taken alone first.
  bool Alone = false;
  for (; J < C.size() && C[J] != "]"; ++J) {
    if (C[J] != "-") {
      Previous = CodeOf(Fold(C[J]));
      ASet.Ranges.push_back({*Previous, *Previous});
      Alone = true;
      continue;
    }
    // A range needs a character on both sides of the "-", inside the set.
    if (!Previous || J + 1 == C.size() || C[J + 1] == "]") {
      AInvalidAt = Previous ? J + 2 : J + 1;
      return false;
    }
    if (Alone) ASet.Ranges.pop_back();
    Alone = false;
    const uint32_t Last = CodeOf(Fold(C[++J]));
    if (*Previous <= Last) ASet.Ranges.push_back({*Previous, Last});
    Previous = Last;
  }
  if (J == C.size() || ASet.Ranges.empty()) {
    AInvalidAt = J + 1;
    return false;
  }
  AAt = J;
  return true;
}

TCompiled Compile(const std::string& AMask) {
  const std::vector<std::string> C = Characters(AMask);
  TCompiled Result;
  size_t Starred = 0;
  bool Star = false;
  // The thirty-first starred element makes the mask invalid at its character.
  const auto Counted = [&](size_t AAt) {
    if (Star && ++Starred > 30) Result.InvalidAt = AAt + 1;
    return Result.InvalidAt == 0;
  };
  for (size_t I = 0; I < C.size(); ++I) {
    if (C[I] == "*") {
      Star = true;
      continue;
    }
    if (C[I] == "?" && Star) continue;  // "*?" matches like "*"
    if (!Counted(I)) return Result;
    TElement Element{TElement::Literal, Star};
    Star = false;
    if (C[I] == "?")
      Element.Kind = TElement::Any;
    else if (C[I] != "[")
      Element.Code = CodeOf(Fold(C[I]));
    else if (!ReadSet(C, I, Element, Result.InvalidAt))
      return Result;
    Result.Elements.push_back(std::move(Element));
  }
  if (Counted(C.size())) Result.Elements.push_back({TElement::End, Star});
  return Result;
}

bool Accepts(const TElement& AElement, const std::string& AChar) {
  const uint32_t Code = CodeOf(Fold(AChar));
  switch (AElement.Kind) {
    case TElement::Literal:
      return Code == AElement.Code;
    case TElement::Any:
      return true;
    case TElement::Set:
      return std::any_of(AElement.Ranges.begin(), AElement.Ranges.end(), [&](const auto& R) {
               return R.first <= Code && Code <= R.second;
             }) != AElement.Negated;
    default:
      return false;
  }
}

// The plain recursive matcher, remembering what it worked out: can the elements from AE
// on take the name from character AN on?
class TMatcher {
 public:
  TMatcher(const std::vector<TElement>& AElements, const std::vector<std::string>& AName)
      : FElements(AElements), FName(AName), FKnown(AElements.size() * (AName.size() + 1), -1) {}

  bool Match(size_t AE, size_t AN) {
    int8_t& Known = FKnown[AE * (FName.size() + 1) + AN];
    if (Known < 0) {
      bool Result = Here(AE, AN);
      // A starred element may also begin any number of characters later.
      for (size_t Later = AN + 1; !Result && FElements[AE].Starred && Later <= FName.size();
           ++Later)
        Result = Here(AE, Later);
      Known = Result;
    }
    return Known != 0;
  }

 private:
  bool Here(size_t AE, size_t AN) {
    const TElement& E = FElements[AE];
    if (E.Kind == TElement::End) return AN == FName.size();
    return AN < FName.size() && Accepts(E, FName[AN]) && Match(AE + 1, AN + 1);
  }

  const std::vector<TElement>& FElements;
  const std::vector<std::string>& FName;
  std::vector<int8_t> FKnown;
};

}  // namespace
}  // namespace wiremap

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
  using namespace wiremap;
  TFuzzInput Input(AData, ASize);
  const std::string Mask = Input.Bytes(Input.Byte());
  const std::string Name = Input.Rest();
  const bool Short =
      Characters(Mask).size() <= kReferenceLimit && Characters(Name).size() <= kReferenceLimit;
  std::optional<TPinMask> Compiled;
  std::string Error;
  try {
    Compiled.emplace(Mask);
  } catch (const EInvalidMask& E) {
    FUZZ_CHECK(E.ClassName() == "EInvalidMask");
    Error = E.Message();
  }
  const TCompiled Reference = Compile(Mask);
  if (Compiled) {
    FUZZ_CHECK(Reference.InvalidAt == 0);
    const bool Matched = Compiled->Matches(Name);
    const std::vector<std::string> Chars = Characters(Name);
    if (Short) FUZZ_CHECK(Matched == TMatcher(Reference.Elements, Chars).Match(0, 0));
  } else {
    FUZZ_CHECK(Error == "'" + Mask + "' is an invalid mask at (" +
                            std::to_string(Reference.InvalidAt) + ")");
  }
  return 0;
}
