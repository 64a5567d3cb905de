// Printing the current view to scale on one page, with a title block built
// from the print header.
#pragma once

#include <string>

#include "model/project.h"
#include "platform/canvas.h"
#include "view/view_drawing.h"
#include "view/view_state.h"

namespace tav {

// Scales offered for plots: 1:1, 1:2, 1:5, 1:10 ... 1:5 000 000.
// The smallest denominator at which a width x height metres area fits into
// pageWidth x pageHeight metres (at least 1).
double plotScaleDenominator(double width, double height, double pageWidth, double pageHeight);

// Height of the title block in pixels for a page resolution.
int titleBlockHeight(int dpi);

// Draws the part of the model shown in `view` (its centre stays the page's
// drawing-area centre) at the denominator's scale onto the page, with a frame
// and the title block at the bottom. Returns the denominator used.
double drawPlotPage(const ViewState& view, const ViewDrawContext& context, Canvas& page);

}  // namespace tav
