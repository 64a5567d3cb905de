// Text conversions at the Qt boundary. The program works in UTF-8; record
// fields hold Windows-1252 bytes.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tav {

inline QString toQString(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string toUtf8(const QString& s) { return s.toUtf8().toStdString(); }

// Every byte maps to one character; 0x81, 0x8D, 0x8F, 0x90 and 0x9D (not
// assigned) map to U+FFFD.
QString cp1252ToQString(std::string_view bytes);
// Characters without a Windows-1252 byte become '?'.
std::string qStringToCp1252(const QString& text);

}  // namespace tav
