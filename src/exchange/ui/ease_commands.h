// The EASE commands of the File menu: room faces and loudspeaker
// parameters imported from and exported to EASE 2.x and 3.x files.
#pragma once

namespace tav {

class CommandContext;
class CommandRegistry;
struct PlacedSpeaker;

void registerExchangeCommands(CommandRegistry& registry);

void importEaseFacesV2(CommandContext& ctx);
void importEaseFacesV3(CommandContext& ctx);
void exportEaseFacesV2(CommandContext& ctx);
void exportEaseFacesV3(CommandContext& ctx);
void importEaseSpeakersV2(CommandContext& ctx);
void importEaseSpeakersV3(CommandContext& ctx);
void exportEaseSpeakersV2(CommandContext& ctx);
void exportEaseSpeakersV3(CommandContext& ctx);

// Finds the type named in an imported record's group field (project, then
// database); on a miss the Edit Loudspeaker dialog lets the user choose one,
// and a second miss says "Loudspeaker not available in database". True when
// the loudspeaker was entered into the model.
bool resolveImportedSpeaker(CommandContext& ctx, PlacedSpeaker& speaker);

}  // namespace tav
