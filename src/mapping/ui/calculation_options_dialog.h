// The "Calculation options" dialog of Level + Time: phase relation, room
// shading and first reflection, grid size. Every click is stored at once in
// the project's calculation options; "Start" confirms the run.
#pragma once

#include "model/project_settings.h"
#include "platform/dialog.h"

namespace tav {

class CommandContext;

inline constexpr const char* CALCULATION_OPTIONS_TITLE = "Calculation options";

// Control ids.
constexpr int COD_ENERGY = 101;  // 101..103: phase relation = id - 100
constexpr int COD_OCTAVE = 102;
constexpr int COD_SINGLE = 103;
constexpr int COD_SHADING = 104;     // include-room bit 0
constexpr int COD_REFLECTION = 105;  // include-room bit 1
constexpr int COD_GRID_MINIMUM = 301;
constexpr int COD_GRID_FIRST = 302;  // 302..307: grid index = id - 302 (0.25 .. 10 m)
constexpr int COD_GRID_LAST = 307;
constexpr int COD_START = 501;
constexpr int COD_CANCEL = 502;

// The template; with feet the grid labels read in feet (the spacings stay
// 0.25 .. 10 m).
DialogTemplate calculationOptionsTemplate(bool feet);

// Shows the dialog on the project's options. True when "Start" was pressed;
// choices made before a cancel stay stored.
bool askCalculationOptions(CommandContext& ctx);

}  // namespace tav
