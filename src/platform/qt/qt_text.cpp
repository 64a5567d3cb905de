#include "platform/qt/qt_text.h"

namespace tav {

namespace {

// Code points of the bytes 0x80..0x9F; 0xFFFD where the code page has none.
constexpr char16_t HIGH_CONTROL[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

}  // namespace

QString cp1252ToQString(std::string_view bytes) {
  QString out;
  out.reserve(static_cast<qsizetype>(bytes.size()));
  for (char c : bytes) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b >= 0x80 && b < 0xA0) {
      out.append(QChar(HIGH_CONTROL[b - 0x80]));
    } else {
      out.append(QChar(static_cast<char16_t>(b)));
    }
  }
  return out;
}

std::string qStringToCp1252(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t u = text.at(i).unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      out.push_back(static_cast<char>(u));
      continue;
    }
    char mapped = '?';
    if (u != 0xFFFD) {
      for (int k = 0; k < 32; ++k) {
        if (HIGH_CONTROL[k] == u) {
          mapped = static_cast<char>(0x80 + k);
          break;
        }
      }
    }
    // A surrogate pair is one character outside the code page.
    if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ++i;
    out.push_back(mapped);
  }
  return out;
}

}  // namespace tav
