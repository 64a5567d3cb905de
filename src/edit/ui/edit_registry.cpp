// The command numbers of the drawing and editing commands.
#include <memory>

#include "edit/ui/edit_commands.h"
#include "shell/command_registry.h"

namespace tav {

void registerEditCommands(CommandRegistry& registry) {
  auto memory = std::make_shared<EditMemory>();
  // The last three digits choose the command, the thousands digit the layer.
  struct Entry {
    int number;
    void (*run)(CommandContext&);
    bool room, audience, aux;
  };
  const Entry entries[] = {
      {201, runDrawLines, true, false, true},
      {202, runDrawPolygon, true, true, true},
      {203, runDrawCircle, true, true, true},
      {204, runDrawRectangle, true, true, true},
      {301, runDelete, true, true, true},
      {302, runMove, true, true, true},
      {303, runCopy, true, true, true},
      {304, runTurn, true, true, true},
      {305, runScale, true, true, true},
      {306, runMirror, true, true, true},
      {307, runExtrude, true, false, true},
      {308, runRotate, true, false, true},
      {309, runDismantleSolid, true, false, true},
      {310, runAssembleSolid, true, false, true},
      {311, runMoveNodes, true, true, true},
      {312, runInsertNodes, true, false, true},
      {313, runSplitFace, true, false, true},
      {314, runInvertFace, true, false, true},
      {315, runDeleteFace, true, false, true},
  };
  for (const Entry& e : entries) {
    if (e.room) registry.add(2000 + e.number, e.run);
    if (e.audience) registry.add(3000 + e.number, e.run);
    if (e.aux) registry.add(4000 + e.number, e.run);
  }
  registry.add(4205, [memory](CommandContext& ctx) { runDrawText(ctx, *memory); });
  for (int number : {2319, 1019}) registry.add(number, runBuildGroup);
  for (int number : {2320, 1020}) registry.add(number, runSplitGroup);
  registry.add(2601, runBuildOntopRoomFaces);
}

}  // namespace tav
