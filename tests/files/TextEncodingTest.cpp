#include "files/TextEncoding.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <random>
#include <string>
#include <vector>

namespace wiremap {
namespace {

// ICU's strict UTF-8 decoder is the reference for validity.
bool IcuAcceptsUtf8(const std::string& AText) {
  UErrorCode Status = U_ZERO_ERROR;
  int32_t Length = 0;
  u_strFromUTF8(nullptr, 0, &Length, AText.data(), static_cast<int32_t>(AText.size()), &Status);
  return Status != U_INVALID_CHAR_FOUND && Status != U_ILLEGAL_CHAR_FOUND;
}

// Random byte strings biased towards the bytes that make UTF-8 sequences and their edges.
TEST(TextEncodingTest, Utf8ValidityAgreesWithIcu) {
  const unsigned char Interesting[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0,
                                       0xC1, 0xC2, 0xDF, 0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
  std::mt19937 Random(19);
  int Valid = 0;
  for (int Round = 0; Round < 200000; ++Round) {
    std::string Text(Random() % 12, 'a');
    for (char& C : Text) C = static_cast<char>(Interesting[Random() % sizeof Interesting]);
    // Long ASCII runs take the eight-byte path; put the sequence under test after one.
    if (Round % 2 == 0) Text = std::string(Random() % 20, 'x') + Text;
    const bool Expected = IcuAcceptsUtf8(Text);
    ASSERT_EQ(IsValidUtf8(Text), Expected) << testing::PrintToString(Text);
    Valid += Expected;
  }
  EXPECT_GT(Valid, 1000);
}

TEST(TextEncodingTest, Windows1252AgreesWithIcu) {
  UErrorCode Status = U_ZERO_ERROR;
  UConverter* Converter = ucnv_open("windows-1252", &Status);
  ASSERT_TRUE(U_SUCCESS(Status));
  const std::string Undefined = "\x81\x8D\x8F\x90\x9D";
  for (int Byte = 1; Byte < 256; ++Byte) {
    const std::string Text(1, static_cast<char>(Byte));
    if (Undefined.find(Text) != std::string::npos) {
      // Windows gives the control character of the same number.
      EXPECT_EQ(Windows1252ToUtf8(Text), std::string({'\xC2', static_cast<char>(Byte)}));
      continue;
    }
    UChar Unit[4];
    Status = U_ZERO_ERROR;
    const int32_t Units = ucnv_toUChars(Converter, Unit, 4, Text.data(), 1, &Status);
    char Expected[8];
    int32_t Length = 0;
    u_strToUTF8(Expected, sizeof Expected, &Length, Unit, Units, &Status);
    ASSERT_TRUE(U_SUCCESS(Status));
    EXPECT_EQ(Windows1252ToUtf8(Text), std::string(Expected, static_cast<size_t>(Length))) << Byte;
  }
  ucnv_close(Converter);
}

}  // namespace
}  // namespace wiremap
