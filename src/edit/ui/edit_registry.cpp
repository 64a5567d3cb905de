// The command numbers of the drawing and editing commands.
#include <memory>

#include "edit/ui/edit_commands.h"
#include "shell/command_ids.h"
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
      {CMD_DRAW_LINES, runDrawLines, true, false, true},
      {CMD_DRAW_POLYGON, runDrawPolygon, true, true, true},
      {CMD_DRAW_CIRCLE, runDrawCircle, true, true, true},
      {CMD_DRAW_RECTANGLE, runDrawRectangle, true, true, true},
      {CMD_EDIT_DELETE, runDelete, true, true, true},
      {CMD_EDIT_MOVE, runMove, true, true, true},
      {CMD_EDIT_COPY, runCopy, true, true, true},
      {CMD_EDIT_TURN, runTurn, true, true, true},
      {CMD_EDIT_SCALE, runScale, true, true, true},
      {CMD_EDIT_MIRROR, runMirror, true, true, true},
      {CMD_EDIT_EXTRUDE, runExtrude, true, false, true},
      {CMD_EDIT_ROTATE, runRotate, true, false, true},
      {CMD_EDIT_DISMANTLE_SOLID, runDismantleSolid, true, false, true},
      {CMD_EDIT_ASSEMBLE_SOLID, runAssembleSolid, true, false, true},
      {CMD_EDIT_MOVE_NODES, runMoveNodes, true, true, true},
      {CMD_EDIT_INSERT_NODES, runInsertNodes, true, false, true},
      {CMD_EDIT_SPLIT_FACE, runSplitFace, true, false, true},
      {CMD_EDIT_INVERT_FACE, runInvertFace, true, false, true},
      {CMD_EDIT_DELETE_FACE, runDeleteFace, true, false, true},
  };
  for (const Entry& e : entries) {
    if (e.room) registry.add(CMD_LAYER_ROOM + e.number, e.run);
    if (e.audience) registry.add(CMD_LAYER_AUDIENCE + e.number, e.run);
    if (e.aux) registry.add(CMD_LAYER_AUX + e.number, e.run);
  }
  registry.add(CMD_AUX_TEXT, [memory](CommandContext& ctx) { runDrawText(ctx, *memory); });
  for (int number : {CMD_ROOM_BUILD_GROUP, CMD_SPEAKER_BUILD_GROUP})
    registry.add(number, runBuildGroup);
  for (int number : {CMD_ROOM_SPLIT_GROUP, CMD_SPEAKER_SPLIT_GROUP})
    registry.add(number, runSplitGroup);
  registry.add(CMD_BUILD_ONTOP_FACES, runBuildOntopRoomFaces);
}

}  // namespace tav
