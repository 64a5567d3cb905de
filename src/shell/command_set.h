// Every subsystem's commands and hooks, joined to a shell: what the program
// runs with. Tests register only what they exercise.
#pragma once

namespace tav {

class Shell;

void registerAllCommands(Shell& shell);

}  // namespace tav
