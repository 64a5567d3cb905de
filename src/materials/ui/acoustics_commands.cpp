#include "materials/ui/acoustics_commands.h"

#include "materials/ui/face_listing_dialog.h"
#include "materials/ui/rt60_window.h"
#include "reflections/ui/room_check_command.h"
#include "shell/command_registry.h"

namespace tav {

void registerAcousticsCommands(CommandRegistry& registry) {
  for (int id = CMD_RT60_SABINE; id <= CMD_RT60_MEASURED; ++id) registry.add(id, runRt60Command);
  registry.add(CMD_FACE_LIST, runFaceListing);
  registry.add(CMD_ROOM_CHECK, runRoomCheckCommand);
}

}  // namespace tav
