#include "shell/menu_table.h"

#include <algorithm>
#include <array>

#include "shell/command_registry.h"

namespace tav {

namespace {

constexpr bool SNAP = true;
constexpr bool NONE = false;

// Sorted by number (commandSpec searches it).
constexpr CommandSpec COMMANDS[] = {
    {101, "&Open", NONE},
    {102, "&Save as...", NONE},
    {103, "&Print...", NONE},
    {104, "&New", NONE},
    {105, "E&xit", NONE},
    {106, "&Save", NONE},
    {110, "", NONE},  // recent projects: text is the path
    {111, "", NONE},
    {112, "", NONE},
    {113, "", NONE},
    {120, "Import &Room Faces from EASE3.x", SNAP},
    {121, "Export &Room Faces to EASE3.x", NONE},
    {122, "Import Room Faces from EASE2.x", SNAP},
    {123, "Export Room Faces to EASE2.x", NONE},
    {124, "Import &Loudspeaker Parameters from EASE3.x", SNAP},
    {125, "Export &Loudspeaker Parameters to EASE3.x", NONE},
    {126, "Import Loudspeaker Parameters from EASE2.x", SNAP},
    {127, "Export Loudspeaker Parameters to EASE2.x", NONE},
    {201, "&Undo", NONE},
    {202, "&Redo", NONE},
    {210, "&Copy to clipboard", NONE},
    {506, "&Circle Segments", NONE},
    {507, "", NONE},
    {508, "Of&f F11", NONE},
    {509, "O&n F11", NONE},
    {510, "&Distance", NONE},
    {511, "Of&f F9", NONE},
    {512, "O&n F9", NONE},
    {513, "&Distance", NONE},
    {514, "&Grid Size", NONE},
    {516, "1 Unit = 1 &m", NONE},
    {517, "1 Unit = 1 &ft", NONE},
    {601, "", NONE},  // zoom in by window (F6, the panel's "Z+")
    {602, "Zoom &All (F7)", NONE},
    {603, "Zoom &Window", NONE},
    {604, "&Wireframe (F8)", NONE},
    {605, "&Hidden Backfaces (F8)", NONE},
    {606, "", NONE},
    {608, "Loudspeaker Aim&points", NONE},
    {610, "&Room", NONE},
    {611, "&Audience Areas", NONE},
    {612, "&Loudspeakers", NONE},
    {613, "AUX &Drawing", NONE},
    {614, "&Grid", NONE},
    {615, "Nodes", NONE},
    {1002, "&New", SNAP},
    {1003, "&Edit", SNAP},
    {1004, "Listing...", SNAP},
    {1005, "&Move", SNAP},
    {1006, "&Copy", SNAP},
    {1007, "&Delete", SNAP},
    {1008, "&Switch On", SNAP},
    {1009, "&Switch Off", SNAP},
    {1010, "&Align to Target", SNAP},
    {1011, "&Set Delay Time", SNAP},
    {1012, "Aim at &Target", SNAP},
    {1013, "&Mirror", SNAP},
    {1014, "E&qualizer / Power", SNAP},
    {1015, "Aim by &Central Perspective", SNAP},
    {1016, "Calculate Cluster Balloons", NONE},
    {1017, "Turn array", SNAP},
    {1018, "Tilt array", SNAP},
    {1019, "", SNAP},  // build group
    {1020, "", SNAP},  // split group
    {1021, "&Select Database", NONE},
    {2201, "Poly&line", SNAP},
    {2202, "&Polygon", SNAP},
    {2203, "&Circle", SNAP},
    {2204, "&Rectangle", SNAP},
    {2206, "&Import Room Geometry", SNAP},
    {2301, "&Delete", SNAP},
    {2302, "&Move", SNAP},
    {2303, "&Copy", SNAP},
    {2304, "&Turn", SNAP},
    {2305, "&Scale", SNAP},
    {2306, "&Mirror", SNAP},
    {2307, "E&xtrude", SNAP},
    {2308, "&Rotate", SNAP},
    {2309, "&Dismantle Solid", SNAP},
    {2310, "&Assemble Solid", SNAP},
    {2311, "&Move Nodes", SNAP},
    {2312, "&Insert Nodes", SNAP},
    {2313, "&Split Face", SNAP},
    {2314, "&Invert Face", SNAP},
    {2315, "&Delete Face", SNAP},
    {2319, "", SNAP},  // build group
    {2320, "", SNAP},  // split group
    {2501, "&Assign Material", SNAP},
    {2502, "&Facelist", SNAP},
    {2601, "&Build Ontop Room Faces", SNAP},
    {2801, "&Select Material Database", NONE},
    {2802, "Edit Data&base", NONE},
    {2803, "Call Vestro...", SNAP},
    {3202, "Draw &Polygon", SNAP},
    {3203, "Draw &Circle", SNAP},
    {3204, "Draw &Rectangle", SNAP},
    {3301, "&Delete", SNAP},
    {3302, "&Move", SNAP},
    {3303, "&Copy", SNAP},
    {3304, "&Turn", SNAP},
    {3305, "&Scale", SNAP},
    {3306, "&Mirror", SNAP},
    {3311, "&Move Nodes", SNAP},
    {4201, "Draw &Lines", SNAP},
    {4202, "Draw &Polygon", SNAP},
    {4203, "Draw &Circle", SNAP},
    {4204, "Draw &Rectangle", SNAP},
    {4205, "Draw &Text", SNAP},
    {4206, "&Insert File", SNAP},
    {4301, "&Delete", SNAP},
    {4302, "&Move", SNAP},
    {4303, "&Copy", SNAP},
    {4304, "&Turn", SNAP},
    {4305, "&Scale", SNAP},
    {4306, "&Mirror", SNAP},
    {4307, "E&xtrude", SNAP},
    {4308, "&Rotate", SNAP},
    {4309, "&Dismantle Solid", SNAP},
    {4310, "&Assemble Solid", SNAP},
    {4311, "&Move Nodes", SNAP},
    {4312, "&Insert Nodes", SNAP},
    {4313, "&Split Face", SNAP},
    {4314, "&Invert Face", SNAP},
    {4315, "&Delete Face", SNAP},
    {5001, "&Level + Time", NONE},
    {5010, "RT60 &Sabine", NONE},
    {5011, "RT60 &Eyring", NONE},
    {5012, "RT60 &Fitzroy", NONE},
    {5013, "RT60 &Measurement", NONE},
    {5020, "Calculate &Rays", NONE},
    {5021, "Load Ray &File", NONE},
    {5030, "Select Audio Processing File", NONE},
    {5031, "Select WAV Input File", NONE},
    {5032, "Process and Play", NONE},
    {5033, "Play Input File", NONE},
    {5034, "Play Output File", NONE},
    {5101, "Show Last &Calulation", NONE},
    {5102, "Save Calculation", NONE},
    {5103, "Load Calculation", NONE},
    {11111, "&Help", NONE},
};

bool isKeyName(std::string_view word) {
  // F1 .. F12
  if (word.size() < 2 || word.size() > 3 || word[0] != 'F') return false;
  int n = 0;
  for (char c : word.substr(1)) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  return n >= 1 && n <= 12;
}

MenuEntry item(const CommandRegistry& registry, int number) {
  const CommandSpec* spec = commandSpec(number);
  MenuLabel label = splitKeyHint(spec != nullptr ? spec->text : "");
  MenuEntry e = menuItem(number, std::move(label.text), registry.contains(number));
  e.keyHint = std::move(label.keyHint);
  e.shortcut = commandShortcut(number);
  return e;
}

std::vector<MenuEntry> items(const CommandRegistry& registry, std::initializer_list<int> numbers) {
  std::vector<MenuEntry> out;
  for (int n : numbers) out.push_back(n == 0 ? menuSeparator() : item(registry, n));
  return out;
}

}  // namespace

std::span<const CommandSpec> commandSpecs() { return COMMANDS; }

StandardShortcut commandShortcut(int number) {
  switch (number) {
    case 104:
      return StandardShortcut::New;
    case 101:
      return StandardShortcut::Open;
    case 106:
      return StandardShortcut::Save;
    case 102:
      return StandardShortcut::SaveAs;
    case 103:
      return StandardShortcut::Print;
    case 201:
      return StandardShortcut::Undo;
    case 202:
      return StandardShortcut::Redo;
    case 105:
      return StandardShortcut::Quit;
    default:
      return StandardShortcut::None;
  }
}

const char* commandTip(int number) {
  switch (number) {
    case 2803:
      return "Room check: looks for gaps in the room's shell and for faces turned outwards";
    case 615:
      return "Marks every node of the drawing";
    case 608:
      return "Shows the lines from the loudspeakers to their aim points";
    default:
      return "";
  }
}

MenuLabel splitKeyHint(std::string_view text) {
  MenuLabel label{std::string(text), {}};
  const std::size_t space = text.rfind(' ');
  if (space == std::string_view::npos) return label;
  std::string_view word = text.substr(space + 1);
  if (word.size() > 2 && word.front() == '(' && word.back() == ')')
    word = word.substr(1, word.size() - 2);
  if (!isKeyName(word)) return label;
  label.text = std::string(text.substr(0, space));
  label.keyHint = std::string(word);
  return label;
}

std::string menuTextOfPath(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

const CommandSpec* commandSpec(int number) {
  const auto* end = std::end(COMMANDS);
  const auto* it = std::lower_bound(std::begin(COMMANDS), end, number,
                                    [](const CommandSpec& s, int n) { return s.number < n; });
  return it != end && it->number == number ? it : nullptr;
}

std::vector<MenuEntry> buildMenuBar(const CommandRegistry& r) {
  std::vector<MenuEntry> bar;
  // 0 is a separator in the lists below.
  std::vector<MenuEntry> file = items(r, {104, 101, 106, 102, 103, 0});
  file.push_back(submenu("&EASE", items(r, {120, 122, 121, 123, 0, 124, 126, 125, 127})));
  file.push_back(menuSeparator());
  for (int n = 110; n <= 113; ++n) file.push_back(menuItem(n, "", false));
  // The separator after them collapses with this one while they are hidden.
  file.push_back(menuSeparator());
  file.push_back(item(r, 105));
  bar.push_back(submenu("&File", std::move(file)));

  bar.push_back(submenu("&Edit", items(r, {201, 202, 0, 210})));
  bar.push_back(
      submenu("&View", items(r, {602, 603, 0, 604, 605, 0, 610, 611, 612, 613, 608, 0, 614, 615})));
  bar.push_back(
      submenu("&Room", items(r, {2201, 2202, 2203, 2204, 2206, 0,    2301, 2302, 2303, 2304,
                                 2305, 2306, 2307, 2308, 2309, 2310, 0,    2311, 2312, 2313,
                                 2314, 2315, 0,    2501, 2502, 0,    2801, 2802, 0,    2803})));
  bar.push_back(submenu("&Audience Areas", items(r, {3202, 3203, 3204, 0, 3301, 3302, 3303, 3304,
                                                     3305, 3306, 3311, 0, 2601})));
  bar.push_back(
      submenu("&Loudspeakers",
              items(r, {1021, 0,    1002, 1003, 1004, 0,    1005, 1006, 1013, 1007, 0, 1015, 1012,
                        0,    1008, 1009, 1014, 0,    1010, 1011, 0,    1017, 1018, 0, 1016})));
  bar.push_back(submenu("A&UX Drawing", items(r, {4201, 4202, 4203, 4204, 4205, 4206, 0,    4301,
                                                  4302, 4303, 4304, 4305, 4306, 4307, 4308, 4309,
                                                  4310, 0,    4311, 4312, 4313, 4314, 4315})));
  bar.push_back(submenu("&Calculate", items(r, {5001, 5101, 5102, 5103, 0, 5010, 5011, 5012, 5013,
                                                0, 5020, 5021, 0, 5030, 5031, 5032, 5033, 5034})));

  std::vector<MenuEntry> options;
  options.push_back(submenu("&Coordinate-Snap", items(r, {511, 512, 513})));
  options.push_back(submenu("&Node-Snap", items(r, {508, 509, 510})));
  options.push_back(item(r, 506));
  options.push_back(item(r, 514));
  options.push_back(menuSeparator());
  options.push_back(item(r, 516));
  options.push_back(item(r, 517));
  bar.push_back(submenu("&Options", std::move(options)));

  bar.push_back(submenu("&Help", items(r, {11111})));
  return bar;
}

}  // namespace tav
