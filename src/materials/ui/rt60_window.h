// The RT60 window: the reverberation time of the room per octave band as a
// graph with a table of absorption values, the room's volume and surface,
// the check of how well the faces close, and buttons to switch the method,
// print and copy. Commands 5010..5012 open it with Sabine, Eyring or
// Fitzroy; 5013 asks for the measured times first.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "materials/reverberation.h"
#include "shell/command_ids.h"

namespace tav {

class Canvas;
class CommandContext;
class Project;

inline constexpr const char* RT60_WINDOW_TITLE = "RT60";
inline constexpr const char* MSG_CANT_CREATE_RT60_WINDOW = "Can\u00B4t create RT60 window";
inline constexpr const char* RT60_LABEL_WITH_AIR = "inc. air absorbtion";
inline constexpr const char* RT60_LABEL_NO_AIR = "w/o air absorbtion";
// A band without a finite time is labelled with this instead of "%2.2lf s".
inline constexpr const char* RT60_INFINITE_LABEL = "\u221E s";

// Buttons of the window.
constexpr int RT60_BUTTON_CLOSE = 101;  // "<-"
constexpr int RT60_BUTTON_SABINE = 102;
constexpr int RT60_BUTTON_EYRING = 103;
constexpr int RT60_BUTTON_FITZROY = 104;
constexpr int RT60_BUTTON_MEASUREMENT = 105;
constexpr int RT60_BUTTON_PRINT = 106;
constexpr int RT60_BUTTON_COPY = 107;

// Palette entries of the two curves and their columns.
constexpr int RT60_COLOUR_WITH_AIR = 19;
constexpr int RT60_COLOUR_NO_AIR = 22;
// The graph's scale never exceeds this many seconds (a band without
// absorption would otherwise have no finite top).
constexpr int RT60_SCALE_LIMIT = 20;
// Pixels between the frame's right edge and the second labels of the scale.
constexpr int RT60_SCALE_LABEL_GAP = 4;

// Geometry of the picture for a client area of width x height pixels.
struct Rt60Layout {
  int left = 48;
  int right = 0;
  int top = 32;
  int bottom = 0;
  double spacing = 0;  // pixels between band lines
  int scaleSeconds = 1;
  double pixelsPerSecond = 0;

  int bandX(int band) const;
  // The pixel row of a time, limited to the frame.
  int timeY(double seconds) const;
};
Rt60Layout rt60Layout(int width, int height, const ReverbResult& result);

// Draws the whole picture (also for printing and the clipboard).
void paintRt60(Canvas& canvas, const ReverbResult& result, bool feet, std::string_view description);

// The project description in UTF-8 (empty when there is none).
std::string projectDescription(const Project& project);

// Asks for the measured reverberation times ("RT 60" dialog); on OK they
// become the project's and true is returned.
bool askMeasuredReverbTimes(CommandContext& ctx);

// Sets the project's reverberation method (the project is modified only
// when the method changes).
void setReverbMethod(CommandContext& ctx, ReverbMethod method);

// Opens the window with a method (which becomes the project's) and runs it
// until closed; the view is drawn again afterwards.
void showReverberation(CommandContext& ctx, ReverbMethod method);

// 5010..5013.
void runRt60Command(CommandContext& ctx);

}  // namespace tav
