#include "exchange/ease_text.h"

#include <cctype>

namespace tav {

std::vector<std::string_view> easeLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::string formatKeyLine(std::string_view key, std::string_view value) {
  std::string line = "\"";
  line += key;
  line += "\",";
  if (!value.empty()) {
    line += '"';
    line += value;
    line += '"';
  }
  return line;
}

bool easeKeyIs(std::string_view line, std::string_view key) {
  return line.size() > key.size() && line.substr(1, key.size()) == key;
}

std::string_view easeValueText(std::string_view line) {
  const std::size_t comma = line.find(',');
  return comma == std::string_view::npos ? std::string_view() : line.substr(comma + 1);
}

std::string_view easeQuotedValue(std::string_view line) {
  std::size_t open = line.find('"');
  for (int i = 0; i < 2 && open != std::string_view::npos; ++i) open = line.find('"', open + 1);
  if (open == std::string_view::npos) return {};
  const std::size_t close = line.find('"', open + 1);
  if (close == std::string_view::npos) return {};
  return line.substr(open + 1, close - open - 1);
}

bool easeBlank(std::string_view line) {
  for (char c : line)
    if (!std::isspace(static_cast<unsigned char>(c))) return false;
  return true;
}

std::string withEaseExtension(const std::string& path, std::string_view extension) {
  if (path.size() >= extension.size()) {
    bool same = true;
    const std::size_t at = path.size() - extension.size();
    for (std::size_t i = 0; i < extension.size(); ++i)
      if (std::tolower(static_cast<unsigned char>(path[at + i])) !=
          std::tolower(static_cast<unsigned char>(extension[i])))
        same = false;
    if (same) return path;
  }
  return path + std::string(extension);
}

}  // namespace tav
