// Text in records and files is Windows-1252; the program works in UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace tav {

// Every byte maps to a character (the five unassigned bytes map to U+FFFD).
std::string cp1252ToUtf8(std::string_view bytes);
// Characters without a Windows-1252 byte become '?'; invalid UTF-8 too.
std::string utf8ToCp1252(std::string_view text);

}  // namespace tav
