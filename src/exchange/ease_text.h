// The line-oriented text of EASE exchange files: splitting into lines (line
// feed or carriage return and line feed), the keyed lines of the 3.x
// formats, and the checks on their keys.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tav {

// The lines of a text, each without its line end. A last line without a
// line feed counts; an empty text has no lines.
std::vector<std::string_view> easeLines(std::string_view text);

// One keyed line of the 3.x formats: a double quote, the key, a double
// quote, a comma, and, only when the value is not empty, the value in
// double quotes. The caller appends any further text and the line feed.
std::string formatKeyLine(std::string_view key, std::string_view value);

// True when the text after the line's first character begins with `key`
// (the first character being the key's opening quote).
bool easeKeyIs(std::string_view line, std::string_view key);

// A comment line of the 3.x formats (starts with ';').
inline bool easeComment(std::string_view line) { return !line.empty() && line.front() == ';'; }

// What follows the first comma of a keyed line (empty when it has none).
std::string_view easeValueText(std::string_view line);

// The text between the second pair of double quotes of a keyed line
// (`"Speaker","NAME"` gives NAME); empty when there is none.
std::string_view easeQuotedValue(std::string_view line);

// True for a line of blanks only.
bool easeBlank(std::string_view line);

// The chosen path with `extension` (e.g. ".xfc") appended unless it already
// ends so, letters compared without case.
std::string withEaseExtension(const std::string& path, std::string_view extension);

}  // namespace tav
