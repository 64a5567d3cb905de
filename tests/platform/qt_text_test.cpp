#include "platform/qt/qt_text.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(QtText, Cp1252BytesBecomeTheirCharacters) {
  // "Can´t" with the acute accent byte 0xB4, the euro sign 0x80, ² 0xB2.
  const QString s = cp1252ToQString(std::string("Can\xB4t \x80 m\xB2 \x92", 12));
  EXPECT_EQ(s, QString::fromUtf8("Can\u00B4t \u20AC m\u00B2 \u2019"));
  EXPECT_EQ(cp1252ToQString("\x81"), QString(QChar(0xFFFD)));
  EXPECT_EQ(cp1252ToQString(std::string("a\0b", 3)).size(), 3);
}

TEST(QtText, QStringBackToCp1252) {
  EXPECT_EQ(qStringToCp1252(QString::fromUtf8("Can\u00B4t \u20AC \u00F8")),
            std::string("Can\xB4t \x80 \xF8"));
  // Characters outside the code page, including one beyond 16 bits.
  EXPECT_EQ(qStringToCp1252(QString::fromUtf8("\u0142\U0001F600x")), "??x");
  // Every byte survives the round trip except the five unassigned ones.
  for (int b = 1; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const bool unassigned = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
    EXPECT_EQ(qStringToCp1252(cp1252ToQString(byte)), unassigned ? std::string("?") : byte) << b;
  }
}

}  // namespace
}  // namespace tav
