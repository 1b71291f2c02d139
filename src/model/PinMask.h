#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/Exception.h"

namespace wiremap {

// A search mask that cannot be compiled.
class EInvalidMask : public Exception {
 public:
  using Exception::Exception;
  std::string ClassName() const override { return "EInvalidMask"; }
};

// A compiled pin search mask: "*" matches any run of characters, "?" exactly one, "[...]"
// one character of a set ("[!...]" one not in it; "a-z" ranges), anything else itself,
// with the letters a to z matched without case. The whole name must match.
//
// A character is one UTF-8 encoded code point, so "?" takes "Č" whole and "[ČŠ]" is a set
// of two letters; a byte that is not part of valid UTF-8 counts as a character of its own.
// Positions in error messages count characters the same way.
class TPinMask {
 public:
  // Raises EInvalidMask "'<mask>' is an invalid mask at (<position>)".
  explicit TPinMask(const std::string& AMask);

  bool Matches(std::string_view AName) const;

 private:
  enum class TKind { Literal, Any, Set, End };
  using TRange = std::pair<char32_t, char32_t>;

  struct TElement {
    TKind Kind = TKind::End;
    bool Starred = false;  // a "*" comes before it
    char32_t Literal = 0;  // folded
    bool Negated = false;
    std::vector<TRange> Ranges;  // folded; a lone character is a range of one
  };

  // Elements from First to Last (exclusive), of which only the first may be starred.
  struct TSegment {
    std::size_t First;
    std::size_t Last;
  };

  class TParser;

  bool Accepts(const TElement& AElement, char32_t AChar) const;
  bool MatchesAt(const TSegment& ASegment, std::string_view AName, std::size_t& APos) const;
  bool MatchesFrom(const TSegment& ASegment, std::string_view AName, std::size_t& APos) const;

  std::vector<TElement> FElements;
  std::vector<TSegment> FSegments;
};

}  // namespace wiremap
