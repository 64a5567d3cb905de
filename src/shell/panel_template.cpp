#include "shell/panel_template.h"

namespace tav {

DialogTemplate panelTemplate() {
  DialogTemplate t;
  t.title = "3DPANEL";
  int col = 0;
  auto add = [&](int id, ControlKind kind, const char* text, const char* tip, unsigned flags = 0) {
    ControlTemplate c = gridControl(id, kind, text, 0, col++, 1, 1, flags);
    if (kind == ControlKind::RadioButton) c.group = 1;
    c.tooltip = tip;
    t.controls.push_back(std::move(c));
  };
  // The captions are short; the tooltips say what each does and its key.
  add(PANEL_XY, ControlKind::RadioButton, "XY", "Plan view from above (F1)", CTL_CHECKED);
  add(PANEL_YZ, ControlKind::RadioButton, "YZ", "Elevation seen along the x axis (F2)");
  add(PANEL_XZ, ControlKind::RadioButton, "XZ", "Elevation seen along the y axis (F3)");
  add(PANEL_3D, ControlKind::RadioButton, "3D", "3D view; the arrow keys turn it (F4)");
  add(PANEL_ZOOM_OUT, ControlKind::PushButton, "Z-", "Zoom out (F5)");
  add(PANEL_ZOOM_IN, ControlKind::PushButton, "Z+", "Zoom in where you click (F6)");
  add(PANEL_ZOOM_ALL, ControlKind::PushButton, "<>", "Zoom all: fit the drawing (F7)");
  add(PANEL_HIDDEN, ControlKind::CheckBox, "V", "Hide back faces (F8)");
  add(PANEL_COORDINATE_SNAP, ControlKind::CheckBox, "K",
      "Coordinate snap: points fall on the snap distance (F9)", CTL_CHECKED);
  add(PANEL_NODE_SNAP, ControlKind::CheckBox, "P",
      "Node snap: points jump to the nearest node (F11)");
  add(PANEL_PRINT, ControlKind::PushButton, "Print", "Print the current view");
  add(PANEL_COPY, ControlKind::PushButton, "Copy", "Copy the current view to the clipboard");
  add(PANEL_COMMENT, ControlKind::PushButton, "Cmt.", "Comment shown in the view");
  const char* labels[] = {"X", "Y", "Z"};
  for (int i = 0; i < 3; ++i) {
    add(-(i + 1), ControlKind::Label, labels[i], "");
    ControlTemplate field =
        gridControl(PANEL_FIELD_X + i, ControlKind::ReadOnlyEdit, "0.000", 0, col++);
    field.minWidth = 70;
    field.tooltip = "The point under the cross-hair";
    t.controls.push_back(std::move(field));
  }
  return t;
}

}  // namespace tav
