#include "model/PinDescr.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "model/Exception.h"

namespace wiremap {
namespace {

using TParts = std::array<std::string, AspectCount>;

TParts Split(const std::string& AName, int32_t APage = 0) {
  TPinDescr Pin(AName, 0);
  Pin.Page = APage;
  TParts Parts;
  Pin.SplitName(Parts);
  return Parts;
}

TEST(PinDescr, SplitsDesignationsIntoTheirAspects) {
  EXPECT_EQ(Split("=OPT.00+MX0-XT3:10", 14), (TParts{"=OPT.00", "+MX0", "-XT3", ":10", "14"}));
  EXPECT_EQ(Split("+ZC-XS5:1", 3), (TParts{"", "+ZC", "-XS5", ":1", "3"}));
  // Plain words without a separator contribute nothing; an empty terminal gives ":".
  EXPECT_EQ(Split("Čerpadlo chladicí vody:", 5), (TParts{"", "", "", ":", "5"}));
  EXPECT_EQ(Split("Motor M1:PE"), (TParts{"", "", "", ":PE", "0"}));
  // A repeated separator: the last segment wins.
  EXPECT_EQ(Split("+KASK-K1-S4:1"), (TParts{"", "+KASK", "-S4", ":1", "0"}));
  // Separators inside a terminal name split it like any other text.
  EXPECT_EQ(Split("=OPT.00+MX0-U1:-"), (TParts{"=OPT.00", "+MX0", "-", ":", "0"}));
  EXPECT_EQ(Split("=OPT.00+MX0-U1:+"), (TParts{"=OPT.00", "+", "-U1", ":", "0"}));
  EXPECT_EQ(Split("+HR-AT1:+PWR1"), (TParts{"", "+PWR1", "-AT1", ":", "0"}));
  EXPECT_EQ(Split("+RM528.2-D1.5:PT0:+I"), (TParts{"", "+I", "-D1.5", ":", "0"}));
  EXPECT_EQ(Split("=AXS.X1+EXTm-BQ1.2:CN1:1"), (TParts{"=AXS.X1", "+EXTm", "-BQ1.2", ":1", "0"}));
  // Nothing is trimmed or folded; a NUL byte is an ordinary character.
  EXPECT_EQ(Split(" +a b -C :x "), (TParts{"", "+a b ", "-C ", ":x ", "0"}));
  EXPECT_EQ(Split(std::string("+A\0B-C:1", 8)),
            (TParts{"", std::string("+A\0B", 4), "-C", ":1", "0"}));
}

TEST(PinDescr, LinksRecordTargetWireAndTheLatestPage) {
  TPinDescr Pin("+ZC-XS5:1", 4);
  EXPECT_EQ(Pin.NextInNet, 4);
  EXPECT_EQ(Pin.Flags, 0);
  Pin.AddLink(7, 3, "W1");
  Pin.AddLink(7, 7, "W2");
  EXPECT_EQ(Pin.Links, (std::vector<int32_t>{7, 7}));
  EXPECT_EQ(Pin.LinkWires, (std::vector<std::string>{"W1", "W2"}));
  EXPECT_EQ(Pin.GetAspect(akPage), "7");
  EXPECT_EQ(Pin.GetAspect(akProduct), "-XS5");
  EXPECT_EQ(Pin.GetAspect(akFunction), "");
}

TEST(Assertion, MessageNamesTextUnitAndLine) {
  constexpr const char* kAssertUnit = "Wiremap";
  const int Line = __LINE__ + 1;
  EXPECT_THAT([&] { WIREMAP_ASSERT(1 + 1 == 3); },
              testing::ThrowsMessage<EAssertionFailed>("Assertion failure (Wiremap, line " +
                                                       std::to_string(Line) + ")"));
  EXPECT_THAT([&] { WIREMAP_ASSERT_MSG(false, "Point table full"); },
              testing::ThrowsMessage<EAssertionFailed>(
                  testing::StartsWith("Point table full (Wiremap, line ")));
  EXPECT_NO_THROW(WIREMAP_ASSERT(1 + 1 == 2));
  EXPECT_EQ(EAssertionFailed("x").ClassName(), "EAssertionFailed");
}

}  // namespace
}  // namespace wiremap
