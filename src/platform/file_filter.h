// File-dialog filters written as "desc|pattern|desc|pattern|".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tav {

struct FileFilterEntry {
  std::string description;
  std::vector<std::string> patterns;  // e.g. "*.TPR"
};

// Splits the pairs; patterns inside one entry are separated by ';'.
// A trailing description without a pattern is dropped.
std::vector<FileFilterEntry> parseFileFilter(std::string_view filter);

// Case-insensitive glob match of a file name (no folder) against "*.TPR"-like
// patterns, as the dialogs do on a case-sensitive file system.
bool matchesFilePattern(std::string_view fileName, std::string_view pattern);

// Appends ".ext" when the file name part has no extension; ext without dot.
std::string withDefaultExtension(std::string path, std::string_view extension);

}  // namespace tav
