#include "platform/main_window.h"

#include <utility>

namespace tav {

MenuEntry menuItem(int id, std::string text, bool enabled) {
  MenuEntry e;
  e.kind = MenuEntryKind::Item;
  e.id = id;
  e.text = std::move(text);
  e.enabled = enabled;
  return e;
}

MenuEntry menuSeparator() {
  MenuEntry e;
  e.kind = MenuEntryKind::Separator;
  return e;
}

MenuEntry submenu(std::string text, std::vector<MenuEntry> entries) {
  MenuEntry e;
  e.kind = MenuEntryKind::Submenu;
  e.text = std::move(text);
  e.entries = std::move(entries);
  return e;
}

}  // namespace tav
