// Draw Text: strokes of the built-in font on the view's in-plane axes.
#include <cmath>
#include <numbers>

#include "edit/edit_geometry.h"
#include "edit/edit_limits.h"
#include "edit/stroke_font.h"
#include "edit/ui/edit_commands.h"
#include "edit/ui/edit_support.h"
#include "edit/ui/text_dialog.h"
#include "model/text_encoding.h"

namespace tav {

namespace {

// Texts lower than this (metres) are not drawn.
constexpr double TEXT_MIN_HEIGHT = 0.001;

}  // namespace

void runDrawText(CommandContext& ctx, EditMemory& memory) {
  ctx.setCommandName("TEXT > ");
  const std::optional<StrokeFont> font =
      ctx.session().strokeFont.empty() ? std::nullopt : StrokeFont::load(ctx.session().strokeFont);
  if (!font) {
    ctx.ui().showMessage(MSG_NO_FONT);
    endEdit(ctx);
    return;
  }
  if (ctx.askPoint("Start-point :") != InputOutcome::PointGiven) {
    endEdit(ctx);
    return;
  }
  const Vec3d start = currentPoint(ctx);
  const Units& units = ctx.units();
  TextDialogHandler handler(units.lengthToDisplay(memory.textHeight), memory.textAngle);
  if (runDialogOrReport(ctx.platform(), textDialogTemplate(), handler) != DLG_OK ||
      !handler.result()) {
    endEdit(ctx);
    return;
  }
  const TextRequest& request = *handler.result();
  const double height = units.lengthFromInput(request.height);
  memory.textHeight = height;
  memory.textAngle = request.angle;
  if (!(height >= TEXT_MIN_HEIGHT)) {
    endEdit(ctx);
    return;
  }
  const PlaneAxes axes = viewPlaneAxes(ctx.view().mode, request.angle * std::numbers::pi / 180.0);
  auto text = textToStrokes(*font, utf8ToCp1252(request.text), start, axes.u, axes.w, height);
  if (text && !text->nodes.empty()) {
    // Strokes keep one node per entry: no compaction.
    text->layer = ctx.project().currentLayer;
    text->colour = ctx.project().currentColour;
    ctx.project().objects.insertAtHead(std::move(text));
    ctx.setModified();
  }
  endEdit(ctx);
}

}  // namespace tav
