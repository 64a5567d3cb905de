// The map window: the last Level + Time result as coloured cells over the
// model view, with buttons for the band, the quantity and the colour step,
// labelled single points, printing, and the STI export to CSV files.
#pragma once

#include <array>

namespace tav {

class CommandContext;

inline constexpr const char* MAP_WINDOW_TITLE = "Level + Time";
inline constexpr const char* MSG_CANT_CREATE_MAP_WINDOW = "Can\u00B4t create SPL window";
inline constexpr const char* MSG_EXPORT_NEEDS_ALL_BANDS =
    "For the export, set the octave band analysis to average. ";
inline constexpr const char* MSG_EXPORT_FINISHED =
    "STI-Export finished.\nThe export file is located in the folder of the Taviron "
    "model.\nPress the 'STI'-Button to exist the export mode. ";
inline constexpr const char* CAPTION_EXPORT = "Export";

// Button ids.
constexpr int MAP_BUTTON_BAND_FIRST = 20000;  // 20000..20006 the bands, 20007 all
constexpr int MAP_BUTTON_MODE_FIRST = 20010;  // the mode buttons in their order
constexpr int MAP_BUTTON_STEP_FIRST = 20020;  // Auto and the three fixed steps
constexpr int MAP_BUTTON_CLOSE = 20030;
constexpr int MAP_BUTTON_PRINT = 20031;
constexpr int MAP_BUTTON_CLEAR = 20032;

// The mode buttons, left to right: "Ld(Z)", "Time", "Lt(Z)", "Ld-Lr", "STI",
// "--> exp" and the display modes they choose.
constexpr std::array<int, 6> MAP_MODE_BUTTON_MODES = {0, 3, 1, 6, 4, 5};

// Whether the model has room faces (the window then offers every mode,
// otherwise only "Ld(Z)" and "Time").
class Project;
bool mapHasRoomFaces(const Project& project);

// Opens the window on the project's map and runs it until "<-" or close;
// the view is drawn again afterwards. Nothing happens without a valid map.
void openMapWindow(CommandContext& ctx);

}  // namespace tav
