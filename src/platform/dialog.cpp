#include "platform/dialog.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <utility>

#include "platform/platform.h"

namespace tav {

ControlTemplate gridControl(int id, ControlKind kind, std::string text, int row, int column,
                            int rowSpan, int columnSpan, unsigned flags) {
  ControlTemplate c;
  c.id = id;
  c.kind = kind;
  c.text = std::move(text);
  c.place.row = row;
  c.place.column = column;
  c.place.rowSpan = rowSpan;
  c.place.columnSpan = columnSpan;
  c.flags = flags;
  return c;
}

ControlTemplate rectControl(int id, ControlKind kind, std::string text, PixelRect rect,
                            unsigned flags) {
  ControlTemplate c;
  c.id = id;
  c.kind = kind;
  c.text = std::move(text);
  c.place.rect = rect;
  c.flags = flags;
  return c;
}

std::string checkDialogTemplate(const DialogTemplate& dialog) {
  if (dialog.controls.empty()) return "dialog has no controls";
  std::set<int> ids;
  int gridCount = 0;
  int rectCount = 0;
  for (const ControlTemplate& c : dialog.controls) {
    if (c.id > 0 && !ids.insert(c.id).second) {
      return "duplicate control id " + std::to_string(c.id);
    }
    const bool byRect = c.place.rect.width > 0 && c.place.rect.height > 0;
    const bool byGrid =
        c.place.row >= 0 && c.place.column >= 0 && c.place.rowSpan > 0 && c.place.columnSpan > 0;
    if (byRect) {
      ++rectCount;
    } else if (byGrid) {
      ++gridCount;
    } else {
      return "control " + std::to_string(c.id) + " has no placement";
    }
  }
  if (gridCount > 0 && rectCount > 0) return "grid and rectangle placement mixed";
  return {};
}

namespace {

std::string commaToPoint(std::string_view text) {
  std::string s(text);
  for (char& ch : s) {
    if (ch == ',') ch = '.';
  }
  return s;
}

}  // namespace

double parseNumber(std::string_view text) {
  const std::string s = commaToPoint(text);
  // strtod reads the longest valid prefix after leading blanks, 0 if none.
  return std::strtod(s.c_str(), nullptr);
}

std::optional<double> parseNumberStrict(std::string_view text) {
  const std::string s = commaToPoint(text);
  const char* begin = s.c_str();
  char* end = nullptr;
  const double value = std::strtod(begin, &end);
  if (end == begin) return std::nullopt;
  while (*end != '\0' && std::isspace(static_cast<unsigned char>(*end))) ++end;
  if (*end != '\0') return std::nullopt;
  // Reject "nan"/"inf" spellings that strtod accepts.
  for (const char* p = begin; p < end; ++p) {
    if (std::isalpha(static_cast<unsigned char>(*p)) && *p != 'e' && *p != 'E') {
      return std::nullopt;
    }
  }
  return value;
}

std::string formatNumber(const char* format, double value) {
  char buffer[64];
  const int n = std::snprintf(buffer, sizeof buffer, format, value);
  if (n < 0) return {};
  return std::string(buffer, static_cast<std::size_t>(std::min<int>(n, sizeof buffer - 1)));
}

int runDialogOrReport(Platform& platform, const DialogTemplate& dialog, DialogHandler& handler) {
  const std::optional<int> result = platform.runDialog(dialog, handler);
  if (result) return *result;
  platform.showMessage(MSG_UNABLE_TO_DISPLAY_DIALOG, MSG_SYSTEM_ERROR, MessageButtons::Ok,
                       MessageIcon::Stop);
  return DLG_CANCEL;
}

}  // namespace tav
