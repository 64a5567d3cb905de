// The commands of the Level + Time calculation and its map: 5001 (Level +
// Time), 5101 (Show Last Calculation), 5102 (Save Calculation) and 5103
// (Load Calculation).
#pragma once

namespace tav {

class CommandContext;
class CommandRegistry;

inline constexpr const char* LEVEL_TIME_PROGRESS_TITLE = "Calculation Status :";
inline constexpr const char* MAP_FILE_FILTER = "Taviron Map File|*.tmf|";
inline constexpr const char* MAP_FILE_OPEN_FILTER = "*.Taviron Map File|*.tmf|";
inline constexpr const char* PROMPT_MAP_DESCRIPTION = "Description :";
inline constexpr const char* CAPTION_MAP_DESCRIPTION = "Description :";

void registerMappingCommands(CommandRegistry& registry);

void runLevelTime(CommandContext& ctx);
void showLastCalculation(CommandContext& ctx);
void saveCalculation(CommandContext& ctx);
void loadCalculation(CommandContext& ctx);

}  // namespace tav
