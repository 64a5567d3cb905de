#include "shell/command_registry.h"

#include "shell/menu_table.h"

namespace tav {

CommandInfo& CommandRegistry::add(int number, CommandHandler handler, std::string name) {
  CommandInfo info;
  info.number = number;
  info.handler = std::move(handler);
  info.name = std::move(name);
  if (const CommandSpec* spec = commandSpec(number)) {
    info.snapshot = spec->snapshot;
    info.menuText = spec->text;
  }
  return add(std::move(info));
}

CommandInfo& CommandRegistry::add(CommandInfo info) {
  const int number = info.number;
  CommandInfo& slot = commands_[number];
  slot = std::move(info);
  return slot;
}

const CommandInfo* CommandRegistry::find(int number) const {
  auto it = commands_.find(number);
  return it != commands_.end() ? &it->second : nullptr;
}

std::vector<int> CommandRegistry::numbers() const {
  std::vector<int> out;
  out.reserve(commands_.size());
  for (const auto& [number, info] : commands_) out.push_back(number);
  return out;
}

}  // namespace tav
