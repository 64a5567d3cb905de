// Every command number of the program with its menu text and whether it
// takes an undo snapshot, and the menu bar built from them: File, Edit,
// View, Room, Audience Areas, Loudspeakers, AUX Drawing, Calculate, Options
// and Help.
#pragma once

#include <span>
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

// The menu bar. Items of unregistered commands are disabled; the recent
// project items 110..113 start empty and disabled (the shell fills them).
std::vector<MenuEntry> buildMenuBar(const CommandRegistry& registry);

}  // namespace tav
