// Every command number of the program with its menu text and whether it
// takes an undo snapshot, and the menu bar built from them: File, Edit,
// View, Room, Audience Areas, Loudspeakers, AUX Drawing, Calculate, Options
// and Help.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/main_window.h"

namespace tav {

class CommandRegistry;

// Positions of the top-level menus. The nine from File to Options are
// greyed while a command runs; Help stays.
constexpr int TOP_MENU_FILE = 0;
constexpr int TOP_MENU_OPTIONS = 8;
constexpr int TOP_MENU_HELP = 9;
constexpr int TOP_MENU_COUNT = 10;
constexpr int GREYED_TOP_MENUS = 9;

struct CommandSpec {
  int number = 0;
  const char* text = "";  // menu text; "" for commands without a menu item
  bool snapshot = false;
};

// All known commands (menu items and the commands without one).
std::span<const CommandSpec> commandSpecs();
// Null for an unknown number.
const CommandSpec* commandSpec(int number);

// The desktop's standard key sequence of a command (File and Edit items).
StandardShortcut commandShortcut(int number);
// Tooltip of an item whose text does not say what it does ("" when none).
const char* commandTip(int number);
// Tooltip and status text of an item whose command is not built yet.
inline constexpr const char* TIP_NOT_BUILT = "Not available yet: this command is still being built";

// A menu text with the key it names split off for the shortcut column:
// "Of&f F9" -> "Of&f" + "F9", "Zoom &All (F7)" -> "Zoom &All" + "F7".
struct MenuLabel {
  std::string text;
  std::string keyHint;
};
MenuLabel splitKeyHint(std::string_view text);
// A file path as a menu text: '&' doubled so that it shows as itself.
std::string menuTextOfPath(std::string_view path);

// The menu bar. Items of unregistered commands are disabled; the recent
// project items 110..113 start empty, disabled and hidden (the shell fills
// them).
std::vector<MenuEntry> buildMenuBar(const CommandRegistry& registry);

}  // namespace tav
