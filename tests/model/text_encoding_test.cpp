// Windows-1252 bytes against their Unicode characters, both ways: the ASCII
// edge, the whole 0x80..0x9F block with its five unassigned bytes, the
// no-break space 0xA0 and the last byte.
#include "model/text_encoding.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

struct ByteCase {
  const char* name;
  unsigned char byte;
  const char* utf8;  // the character, as UTF-8
  bool reversible;   // the character comes back as the same byte
};

void PrintTo(const ByteCase& c, std::ostream* os) { *os << c.name; }

class Cp1252Byte : public ::testing::TestWithParam<ByteCase> {};

TEST_P(Cp1252Byte, BecomesItsCharacterAndBack) {
  const ByteCase& c = GetParam();
  const std::string byte(1, static_cast<char>(c.byte));
  EXPECT_EQ(cp1252ToUtf8(byte), c.utf8);
  EXPECT_EQ(utf8ToCp1252(c.utf8), c.reversible ? byte : "?");
}

INSTANTIATE_TEST_SUITE_P(Table, Cp1252Byte,
                         ::testing::Values(ByteCase{"Delete", 0x7F, "\x7F", true},
                                           ByteCase{"Euro", 0x80, "\u20AC", true},
                                           ByteCase{"Unassigned81", 0x81, "\uFFFD", false},
                                           ByteCase{"LowQuote", 0x82, "\u201A", true},
                                           ByteCase{"Unassigned8D", 0x8D, "\uFFFD", false},
                                           ByteCase{"ZCaron", 0x8E, "\u017D", true},
                                           ByteCase{"Unassigned8F", 0x8F, "\uFFFD", false},
                                           ByteCase{"Unassigned90", 0x90, "\uFFFD", false},
                                           ByteCase{"RightQuote", 0x92, "\u2019", true},
                                           ByteCase{"Unassigned9D", 0x9D, "\uFFFD", false},
                                           ByteCase{"SmallZCaron", 0x9E, "\u017E", true},
                                           ByteCase{"YDiaeresis", 0x9F, "\u0178", true},
                                           ByteCase{"NoBreakSpace", 0xA0, "\u00A0", true},
                                           ByteCase{"Acute", 0xB4, "\u00B4", true},
                                           ByteCase{"Squared", 0xB2, "\u00B2", true},
                                           ByteCase{"SmallYDiaeresis", 0xFF, "\u00FF", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextEncoding, EveryAssignedByteRoundTripsInOrder) {
  std::string all;
  for (int b = 1; b < 256; ++b)
    if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D) all += static_cast<char>(b);
  EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(TextEncoding, CharactersWithoutAByteAndBrokenUtf8BecomeQuestionMarks) {
  // U+0080 is a control character, not the euro sign; U+0100 and the emoji
  // have no byte; a lone continuation byte and a cut sequence are no text.
  EXPECT_EQ(utf8ToCp1252("a\u0080b\u0100c\U0001F600d"), "a?b?c?d");
  EXPECT_EQ(utf8ToCp1252("x\x80y"), "x?y");
  EXPECT_EQ(utf8ToCp1252("Can\xC2\xB4t \xE2\x82"), "Can\xB4t ?");
}

}  // namespace
}  // namespace tav
