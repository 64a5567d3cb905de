// The table from command numbers to handlers. Each subsystem registers its
// commands from its own files, e.g.
//
//   void registerEditCommands(CommandRegistry& registry) {
//     registry.add(CMD_ROOM_MOVE, runMove);
//     registry.add(CMD_AUDIENCE_MOVE, runMove);
//     registry.add(CMD_AUX_MOVE, runMove);
//   }
//
// The menu text and the snapshot flag come from the menu table (menu_table.h)
// unless given explicitly. A menu item whose command is not registered is
// present and disabled.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tav {

class CommandContext;

using CommandHandler = std::function<void(CommandContext&)>;
// An extra condition for enabling a menu item (e.g. "a database is
// loaded"), checked whenever the menu opens, after the shell's own rules.
using CommandEnabled = std::function<bool(CommandContext&)>;

struct CommandInfo {
  int number = 0;
  CommandHandler handler;
  bool snapshot = false;  // an undo snapshot is taken before the handler runs
  std::string menuText;   // empty: no menu item
  std::string name;       // prompt prefix the command starts with, e.g. "MOVE > "
  CommandEnabled enabled;
};

class CommandRegistry {
 public:
  // Registers (or replaces) a handler; snapshot flag and menu text from the
  // menu table. The returned entry may be adjusted (name, enabled, snapshot).
  CommandInfo& add(int number, CommandHandler handler, std::string name = {});
  // Registers (or replaces) an entry as given.
  CommandInfo& add(CommandInfo info);
  void remove(int number) { commands_.erase(number); }

  const CommandInfo* find(int number) const;
  bool contains(int number) const { return commands_.count(number) != 0; }
  std::vector<int> numbers() const;

 private:
  std::map<int, CommandInfo> commands_;
};

}  // namespace tav
