// Command 2803 "Call Vestro...": the room check with its progress window,
// the view following the scans, error markers and the result message.
#pragma once

#include "model/model_object.h"
#include "platform/canvas.h"
#include "shell/command_ids.h"

namespace tav {

class CommandContext;
struct ViewState;

// Half size of an error marker's square, pixels, and its colour.
constexpr int ROOM_ERROR_MARKER_HALF = 2;
constexpr int ROOM_ERROR_MARKER_COLOUR = 23;

// Draws the marker of a leaking scan line at its first face.
void drawRoomErrorMarker(Canvas& canvas, const ViewState& view, const Node& point);

void runRoomCheckCommand(CommandContext& ctx);

}  // namespace tav
