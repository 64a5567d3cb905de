#include "platform/dialog.h"

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

int runDialogOrReport(Platform& platform, const DialogTemplate& dialog, DialogHandler& handler) {
  const std::optional<int> result = platform.runDialog(dialog, handler);
  if (result) return *result;
  platform.showMessage(MSG_UNABLE_TO_DISPLAY_DIALOG, MSG_SYSTEM_ERROR, MessageButtons::Ok,
                       MessageIcon::Stop);
  return DLG_CANCEL;
}

}  // namespace tav
