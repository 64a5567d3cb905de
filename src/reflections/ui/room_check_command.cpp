#include "reflections/ui/room_check_command.h"

#include <cmath>
#include <string>

#include "reflections/room_check.h"
#include "shell/command_context.h"
#include "view/view_zoom.h"

namespace tav {

void drawRoomErrorMarker(Canvas& canvas, const ViewState& view, const Node& point) {
  const ScreenPoint s = projectNode(view, point);
  if (!s.front) return;
  canvas.setDrawMode(DrawMode::Copy);
  canvas.setPen(ROOM_ERROR_MARKER_COLOUR);
  canvas.setBrush(Brush::none());
  canvas.rectangle({s.x - ROOM_ERROR_MARKER_HALF, s.y - ROOM_ERROR_MARKER_HALF,
                    2 * ROOM_ERROR_MARKER_HALF + 1, 2 * ROOM_ERROR_MARKER_HALF + 1});
}

void runRoomCheckCommand(CommandContext& ctx) {
  Project& project = ctx.project();
  Interaction& ui = ctx.ui();

  bool progressShown = false;
  auto openProgress = [&] {
    if (progressShown) return;
    ui.progressOpen(ROOM_SCAN_PROGRESS_TITLE, "0 %", "Cancel");
    progressShown = true;
  };

  RoomCheckCallbacks callbacks;
  callbacks.progress = [&](double percent) {
    openProgress();
    return ui.progressUpdate(static_cast<int>(percent), roomScanProgressText(percent));
  };
  callbacks.viewChanged = [&](std::int16_t view) {
    // The first scan announces itself here: the table has at least two faces.
    openProgress();
    if (selectView(ctx.view(), project.objects, view)) project.settings.view = view;
    ctx.redrawAll();
    ctx.refreshStates();
  };
  callbacks.errorFound = [&](const Node& point) {
    ctx.drawOnView([&](Canvas& canvas) { drawRoomErrorMarker(canvas, ctx.view(), point); });
  };

  const RoomCheckResult result = runRoomCheck(project, callbacks);
  if (progressShown) ui.progressClose();
  if (result.inverted > 0) ctx.setModified();
  if (!result.tableMessage.empty())
    ui.showMessage(result.tableMessage.text, result.tableMessage.caption);

  switch (result.status) {
    case RoomCheckStatus::Cancelled:
      // Faces turned before Cancel stay turned; the picture shows them.
      ctx.redrawAll();
      return;
    case RoomCheckStatus::NoBoundaries:
    case RoomCheckStatus::TooLarge:
      // "Too many room faces" already said why the table is empty.
      if (result.tableMessage.empty() || result.status == RoomCheckStatus::TooLarge)
        ui.showMessage(result.message.text, result.message.caption);
      return;
    case RoomCheckStatus::Completed:
      break;
  }
  ctx.redrawAll();
  if (!result.errorPoints.empty()) {
    ctx.drawOnView([&](Canvas& canvas) {
      for (const Node& p : result.errorPoints) drawRoomErrorMarker(canvas, ctx.view(), p);
    });
  }
  ui.showMessage(result.message.text, result.message.caption);
  // The markers illustrate the message only; the picture after the command
  // shows the model alone.
  if (!result.errorPoints.empty()) ctx.redrawAll();
}

}  // namespace tav
