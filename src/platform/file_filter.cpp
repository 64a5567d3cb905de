#include "platform/file_filter.h"

#include <cctype>

namespace tav {

namespace {

std::string trimmed(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return std::string(s.substr(b, e - b));
}

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Glob with '*' and '?', compared case-insensitively.
bool globMatch(std::string_view name, std::string_view pattern) {
  std::size_t n = 0;
  std::size_t p = 0;
  std::size_t starP = std::string_view::npos;
  std::size_t starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

std::vector<FileFilterEntry> parseFileFilter(std::string_view filter) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start < filter.size()) {
    std::size_t bar = filter.find('|', start);
    if (bar == std::string_view::npos) bar = filter.size();
    parts.emplace_back(filter.substr(start, bar - start));
    start = bar + 1;
  }
  std::vector<FileFilterEntry> entries;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    FileFilterEntry entry;
    entry.description = trimmed(parts[i]);
    std::string_view pats = parts[i + 1];
    std::size_t s = 0;
    while (s <= pats.size()) {
      std::size_t semi = pats.find(';', s);
      if (semi == std::string_view::npos) semi = pats.size();
      std::string pat = trimmed(pats.substr(s, semi - s));
      if (!pat.empty()) entry.patterns.push_back(std::move(pat));
      s = semi + 1;
    }
    if (entry.patterns.empty()) continue;
    entries.push_back(std::move(entry));
  }
  return entries;
}

bool matchesFilePattern(std::string_view fileName, std::string_view pattern) {
  // "*.*" means every file, also names without a dot.
  if (pattern == "*.*" || pattern == "*") return true;
  return globMatch(fileName, pattern);
}

std::string withDefaultExtension(std::string path, std::string_view extension) {
  if (extension.empty()) return path;
  const std::size_t slash = path.find_last_of('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  if (nameStart >= path.size()) return path;  // a folder, not a file name
  if (path.find('.', nameStart) != std::string::npos) return path;
  path += '.';
  path += extension;
  return path;
}

}  // namespace tav
