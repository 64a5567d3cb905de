// The room-acoustics commands: the RT60 window (5010..5013), the face
// listing (2502) and the room check (2803).
#pragma once

namespace tav {

class CommandRegistry;

void registerAcousticsCommands(CommandRegistry& registry);

}  // namespace tav
