#include "shell/command_set.h"

#include "edit/ui/edit_commands.h"
#include "materials/ui/material_commands.h"
#include "shell/shell.h"

namespace tav {

void registerAllCommands(Shell& shell) {
  registerEditCommands(shell.registry());
  registerMaterialCommands(shell.registry());
  installMaterialHooks(shell.session());
}

}  // namespace tav
