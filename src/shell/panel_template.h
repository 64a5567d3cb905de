// The 3D panel above the drawing view: view buttons, zoom buttons, the
// hidden-backface and snap check boxes, Print, Copy, the comment button and
// the coordinate fields of the current point.
#pragma once

#include "platform/dialog.h"

namespace tav {

constexpr int PANEL_XY = 101;  // radio buttons 101..104 act as F1..F4
constexpr int PANEL_YZ = 102;
constexpr int PANEL_XZ = 103;
constexpr int PANEL_3D = 104;
constexpr int PANEL_ZOOM_OUT = 105;         // F5
constexpr int PANEL_ZOOM_IN = 106;          // F6
constexpr int PANEL_ZOOM_ALL = 107;         // F7
constexpr int PANEL_HIDDEN = 108;           // F8
constexpr int PANEL_COORDINATE_SNAP = 109;  // F9
constexpr int PANEL_NODE_SNAP = 110;        // F11
constexpr int PANEL_PRINT = 111;
constexpr int PANEL_COPY = 112;
constexpr int PANEL_COMMENT = 113;
constexpr int PANEL_FIELD_X = 201;
constexpr int PANEL_FIELD_Y = 202;
constexpr int PANEL_FIELD_Z = 203;

DialogTemplate panelTemplate();

}  // namespace tav
