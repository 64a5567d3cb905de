#include "shell/command_set.h"

#include "auralization/ui/auralization_commands.h"
#include "edit/ui/edit_commands.h"
#include "exchange/ui/ease_commands.h"
#include "mapping/ui/mapping_commands.h"
#include "materials/ui/acoustics_commands.h"
#include "materials/ui/material_commands.h"
#include "reflections/ui/rays_command.h"
#include "shell/shell.h"
#include "speakers/ui/speaker_commands.h"

namespace tav {

void registerAllCommands(Shell& shell) {
  registerEditCommands(shell.registry());
  registerMaterialCommands(shell.registry());
  registerAcousticsCommands(shell.registry());
  registerReflectionCommands(shell.registry());
  installMaterialHooks(shell.session());
  registerSpeakerCommands(shell.registry());
  installSpeakerHooks(shell.session());
  registerMappingCommands(shell.registry());
  registerExchangeCommands(shell.registry());
  registerAuralizationCommands(shell.registry());
}

}  // namespace tav
