#include "auralization/ui/point_listening_command.h"

#include "auralization/point_listening.h"
#include "auralization/ui/profile_commands.h"
#include "reflections/reflection_run.h"
#include "shell/command_context.h"

namespace tav {

void auralizeAtPoint(CommandContext& ctx, const Vec3d& point, double ldMinusLrDb) {
  if (ctx.session().auralization.busy) return;
  Interaction& ui = ctx.ui();
  PointListening listening;
  {
    AuralizationBusy busy(ctx.session().auralization);
    ui.progressOpen(REFLECTION_PROGRESS_TITLE, reflectionProgressText(0), "Cancel");
    listening = searchAtPoint(ctx.project(), point, ldMinusLrDb, [&](double percent) {
      return ui.progressUpdate(static_cast<int>(percent), reflectionProgressText(percent));
    });
    ui.progressClose();
  }
  for (const UserMessage& m : listening.messages) ui.showMessage(m.text, m.caption);
  if (listening.cancelled || listening.paths.empty()) return;
  writeRealtimeProfile(ctx, listening.paths, listening.stats);
}

}  // namespace tav
