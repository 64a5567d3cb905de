// The drawing and editing commands of the Room, Audience Areas and AUX
// Drawing menus, Build Ontop Room Faces, and the group commands, registered
// by their command numbers.
#pragma once

namespace tav {

class CommandRegistry;

// Title of the point dialog that asks Scale for its factors.
inline constexpr const char* TITLE_SCALE_FACTORS = "Factors X,Y,Z :";
class CommandContext;

// Registers every command of this folder: 2201..2204, 3202..3204,
// 4201..4205, the editing commands 2301..2315, 3301..3306, 3311,
// 4301..4315, the groups 2319, 2320, 1019, 1020, and 2601.
void registerEditCommands(CommandRegistry& registry);

// Values a command remembers from one run to the next (size and angle of
// the last text). One per registry, so a new shell starts afresh.
struct EditMemory {
  double textHeight = 0.0;  // metres; 0 is offered as 1 m
  double textAngle = 0.0;   // degrees
};

// Drawing commands.
void runDrawLines(CommandContext& ctx);
void runDrawPolygon(CommandContext& ctx);
void runDrawCircle(CommandContext& ctx);
void runDrawRectangle(CommandContext& ctx);
void runDrawText(CommandContext& ctx, EditMemory& memory);

// Transform commands on the selected objects.
void runDelete(CommandContext& ctx);
void runMove(CommandContext& ctx);
void runCopy(CommandContext& ctx);
void runMirror(CommandContext& ctx);
void runTurn(CommandContext& ctx);
void runScale(CommandContext& ctx);
void runMoveNodes(CommandContext& ctx);

// Solids.
void runExtrude(CommandContext& ctx);
void runRotate(CommandContext& ctx);
void runDismantleSolid(CommandContext& ctx);
void runAssembleSolid(CommandContext& ctx);

// Faces and edges.
void runInsertNodes(CommandContext& ctx);
void runSplitFace(CommandContext& ctx);
void runInvertFace(CommandContext& ctx);
void runDeleteFace(CommandContext& ctx);

// Groups.
void runBuildGroup(CommandContext& ctx);
void runSplitGroup(CommandContext& ctx);

// Audience areas laid on room faces (2601).
void runBuildOntopRoomFaces(CommandContext& ctx);

}  // namespace tav
