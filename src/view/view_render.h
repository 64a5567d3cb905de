// Whole-view passes built from the pieces of the view: the drawing part of a
// redraw, and a fitted picture of a project for images and printing.
#pragma once

#include <optional>

#include "model/project.h"
#include "platform/canvas.h"
#include "platform/input_events.h"
#include "view/view_drawing.h"
#include "view/view_state.h"
#include "view/view_zoom.h"

namespace tav {

// The view's part of a redraw: takes the canvas size as the view size, the
// pending shift into the offsets, recomputes the origin, the view angles and
// the matrix, and draws everything. Laying the window out, resetting the
// scroll bars and the prompt line are the window's part.
void redrawView(ViewState& state, Canvas& canvas, const ViewDrawContext& context);

// A scroll bar action: pans the parallel views (pending shift) or turns the
// perspective view. The caller redraws.
void scrollView(ViewState& state, const ScrollEvent& event);

// The arrow key of a key code (keys.h), if it is one.
std::optional<ArrowKey> arrowKeyOf(int key);

// Draws a project in view 0..3 onto a canvas of its own size: wireframe,
// fitted with zoom all, with the axis indicator (the 3D view uses the
// built-in axis cross). Returns false for another mode.
bool renderFittedView(const Project& project, int mode, Canvas& canvas);

}  // namespace tav
