#include "shell/menu_table.h"

#include <algorithm>
#include <array>

#include "shell/command_ids.h"
#include "shell/command_registry.h"

namespace tav {

namespace {

constexpr bool SNAP = true;
constexpr bool NONE = false;
// A separator in the item lists of buildMenuBar.
constexpr int SEPARATOR = 0;

// Sorted by number (commandSpec searches it).
constexpr CommandSpec COMMANDS[] = {
    {CMD_OPEN, "&Open", NONE},
    {CMD_SAVE_AS, "&Save as...", NONE},
    {CMD_PRINT, "&Print...", NONE},
    {CMD_NEW, "&New", NONE},
    {CMD_EXIT, "E&xit", NONE},
    {CMD_SAVE, "&Save", NONE},
    {CMD_RECENT_FIRST, "", NONE},  // recent projects: text is the path
    {CMD_RECENT_FIRST + 1, "", NONE},
    {CMD_RECENT_FIRST + 2, "", NONE},
    {CMD_RECENT_LAST, "", NONE},
    {CMD_IMPORT_FACES_EASE3, "Import &Room Faces from EASE3.x", SNAP},
    {CMD_EXPORT_FACES_EASE3, "Export &Room Faces to EASE3.x", NONE},
    {CMD_IMPORT_FACES_EASE2, "Import Room Faces from EASE2.x", SNAP},
    {CMD_EXPORT_FACES_EASE2, "Export Room Faces to EASE2.x", NONE},
    {CMD_IMPORT_SPEAKERS_EASE3, "Import &Loudspeaker Parameters from EASE3.x", SNAP},
    {CMD_EXPORT_SPEAKERS_EASE3, "Export &Loudspeaker Parameters to EASE3.x", NONE},
    {CMD_IMPORT_SPEAKERS_EASE2, "Import Loudspeaker Parameters from EASE2.x", SNAP},
    {CMD_EXPORT_SPEAKERS_EASE2, "Export Loudspeaker Parameters to EASE2.x", NONE},
    {CMD_UNDO, "&Undo", NONE},
    {CMD_REDO, "&Redo", NONE},
    {CMD_COPY_TO_CLIPBOARD, "&Copy to clipboard", NONE},
    {CMD_CIRCLE_SEGMENTS, "&Circle Segments", NONE},
    {CMD_SYNC_LAYERS, "", NONE},
    {CMD_NODE_SNAP_OFF, "Of&f F11", NONE},
    {CMD_NODE_SNAP_ON, "O&n F11", NONE},
    {CMD_NODE_SNAP_WIDTH, "&Distance", NONE},
    {CMD_COORD_SNAP_OFF, "Of&f F9", NONE},
    {CMD_COORD_SNAP_ON, "O&n F9", NONE},
    {CMD_COORD_SNAP_DISTANCE, "&Distance", NONE},
    {CMD_GRID_SIZE, "&Grid Size", NONE},
    {CMD_UNITS_METRES, "1 Unit = 1 &m", NONE},
    {CMD_UNITS_FEET, "1 Unit = 1 &ft", NONE},
    {CMD_ZOOM_IN, "", NONE},  // zoom in by window (F6, the panel's "Z+")
    {CMD_ZOOM_ALL, "Zoom &All (F7)", NONE},
    {CMD_ZOOM_WINDOW, "Zoom &Window", NONE},
    {CMD_WIREFRAME, "&Wireframe (F8)", NONE},
    {CMD_HIDDEN_BACKFACES, "&Hidden Backfaces (F8)", NONE},
    {CMD_EYE_POINT, "&Eye Point", NONE},
    {CMD_TOGGLE_AIM_POINTS, "Loudspeaker Aim&points", NONE},
    {CMD_TOGGLE_ROOM, "&Room", NONE},
    {CMD_TOGGLE_AUDIENCE, "&Audience Areas", NONE},
    {CMD_TOGGLE_SPEAKERS, "&Loudspeakers", NONE},
    {CMD_TOGGLE_AUX, "AUX &Drawing", NONE},
    {CMD_TOGGLE_GRID, "&Grid", NONE},
    {CMD_TOGGLE_NODES, "Nodes", NONE},
    {CMD_SPEAKER_NEW, "&New", SNAP},
    {CMD_SPEAKER_EDIT, "&Edit", SNAP},
    {CMD_SPEAKER_LISTING, "Listing...", SNAP},
    {CMD_SPEAKER_MOVE, "&Move", SNAP},
    {CMD_SPEAKER_COPY, "&Copy", SNAP},
    {CMD_SPEAKER_DELETE, "&Delete", SNAP},
    {CMD_SPEAKER_SWITCH_ON, "&Switch On", SNAP},
    {CMD_SPEAKER_SWITCH_OFF, "&Switch Off", SNAP},
    {CMD_SPEAKER_ALIGN, "&Align to Target", SNAP},
    {CMD_SPEAKER_DELAY, "&Set Delay Time", SNAP},
    {CMD_SPEAKER_AIM_TARGET, "Aim at &Target", SNAP},
    {CMD_SPEAKER_MIRROR, "&Mirror", SNAP},
    {CMD_SPEAKER_EQUALIZER, "E&qualizer / Power", SNAP},
    {CMD_SPEAKER_AIM_PERSPECTIVE, "Aim by &Central Perspective", SNAP},
    {CMD_CLUSTER_BALLOONS, "Calculate Cluster Balloons", NONE},
    {CMD_SPEAKER_TURN_ARRAY, "Turn array", SNAP},
    {CMD_SPEAKER_TILT_ARRAY, "Tilt array", SNAP},
    {CMD_SPEAKER_BUILD_GROUP, "Build &Group", SNAP},
    {CMD_SPEAKER_SPLIT_GROUP, "Split Gro&up", SNAP},
    {CMD_SPEAKER_DATABASE, "&Select Database", NONE},
    {CMD_ROOM_POLYLINE, "Poly&line", SNAP},
    {CMD_ROOM_POLYGON, "&Polygon", SNAP},
    {CMD_ROOM_CIRCLE, "&Circle", SNAP},
    {CMD_ROOM_RECTANGLE, "&Rectangle", SNAP},
    {CMD_ROOM_IMPORT_GEOMETRY, "&Import Room Geometry", SNAP},
    {CMD_ROOM_DELETE, "&Delete", SNAP},
    {CMD_ROOM_MOVE, "&Move", SNAP},
    {CMD_ROOM_COPY, "&Copy", SNAP},
    {CMD_ROOM_TURN, "&Turn", SNAP},
    {CMD_ROOM_SCALE, "&Scale", SNAP},
    {CMD_ROOM_MIRROR, "&Mirror", SNAP},
    {CMD_ROOM_EXTRUDE, "E&xtrude", SNAP},
    {CMD_ROOM_ROTATE, "&Rotate", SNAP},
    {CMD_ROOM_DISMANTLE_SOLID, "&Dismantle Solid", SNAP},
    {CMD_ROOM_ASSEMBLE_SOLID, "&Assemble Solid", SNAP},
    {CMD_ROOM_MOVE_NODES, "&Move Nodes", SNAP},
    {CMD_ROOM_INSERT_NODES, "&Insert Nodes", SNAP},
    {CMD_ROOM_SPLIT_FACE, "&Split Face", SNAP},
    {CMD_ROOM_INVERT_FACE, "&Invert Face", SNAP},
    {CMD_ROOM_DELETE_FACE, "&Delete Face", SNAP},
    {CMD_ROOM_BUILD_GROUP, "Build &Group", SNAP},
    {CMD_ROOM_SPLIT_GROUP, "Split Gro&up", SNAP},
    {CMD_ASSIGN_MATERIAL, "&Assign Material", SNAP},
    {CMD_FACE_LIST, "&Facelist", SNAP},
    {CMD_BUILD_ONTOP_FACES, "&Build Ontop Room Faces", SNAP},
    {CMD_MATERIAL_DATABASE, "&Select Material Database", NONE},
    {CMD_EDIT_MATERIAL_DATABASE, "Edit Data&base", NONE},
    {CMD_ROOM_CHECK, "Call Vestro...", SNAP},
    {CMD_AUDIENCE_POLYGON, "Draw &Polygon", SNAP},
    {CMD_AUDIENCE_CIRCLE, "Draw &Circle", SNAP},
    {CMD_AUDIENCE_RECTANGLE, "Draw &Rectangle", SNAP},
    {CMD_AUDIENCE_DELETE, "&Delete", SNAP},
    {CMD_AUDIENCE_MOVE, "&Move", SNAP},
    {CMD_AUDIENCE_COPY, "&Copy", SNAP},
    {CMD_AUDIENCE_TURN, "&Turn", SNAP},
    {CMD_AUDIENCE_SCALE, "&Scale", SNAP},
    {CMD_AUDIENCE_MIRROR, "&Mirror", SNAP},
    {CMD_AUDIENCE_MOVE_NODES, "&Move Nodes", SNAP},
    {CMD_AUX_LINES, "Draw &Lines", SNAP},
    {CMD_AUX_POLYGON, "Draw &Polygon", SNAP},
    {CMD_AUX_CIRCLE, "Draw &Circle", SNAP},
    {CMD_AUX_RECTANGLE, "Draw &Rectangle", SNAP},
    {CMD_AUX_TEXT, "Draw &Text", SNAP},
    {CMD_AUX_INSERT_FILE, "&Insert File", SNAP},
    {CMD_AUX_DELETE, "&Delete", SNAP},
    {CMD_AUX_MOVE, "&Move", SNAP},
    {CMD_AUX_COPY, "&Copy", SNAP},
    {CMD_AUX_TURN, "&Turn", SNAP},
    {CMD_AUX_SCALE, "&Scale", SNAP},
    {CMD_AUX_MIRROR, "&Mirror", SNAP},
    {CMD_AUX_EXTRUDE, "E&xtrude", SNAP},
    {CMD_AUX_ROTATE, "&Rotate", SNAP},
    {CMD_AUX_DISMANTLE_SOLID, "&Dismantle Solid", SNAP},
    {CMD_AUX_ASSEMBLE_SOLID, "&Assemble Solid", SNAP},
    {CMD_AUX_MOVE_NODES, "&Move Nodes", SNAP},
    {CMD_AUX_INSERT_NODES, "&Insert Nodes", SNAP},
    {CMD_AUX_SPLIT_FACE, "&Split Face", SNAP},
    {CMD_AUX_INVERT_FACE, "&Invert Face", SNAP},
    {CMD_AUX_DELETE_FACE, "&Delete Face", SNAP},
    {CMD_LEVEL_TIME, "&Level + Time", NONE},
    {CMD_RT60_SABINE, "RT60 &Sabine", NONE},
    {CMD_RT60_EYRING, "RT60 &Eyring", NONE},
    {CMD_RT60_FITZROY, "RT60 &Fitzroy", NONE},
    {CMD_RT60_MEASURED, "RT60 &Measurement", NONE},
    {CMD_CALCULATE_RAYS, "Calculate &Rays", NONE},
    {CMD_LOAD_RAY_FILE, "Load Ray &File", NONE},
    {CMD_SELECT_AUDIO_PROFILE, "Select Audio Processing File", NONE},
    {CMD_SELECT_WAV_INPUT, "Select WAV Input File", NONE},
    {CMD_PROCESS_AND_PLAY, "Process and Play", NONE},
    {CMD_PLAY_INPUT, "Play Input File", NONE},
    {CMD_PLAY_OUTPUT, "Play Output File", NONE},
    {CMD_SHOW_LAST_MAP, "Show Last &Calulation", NONE},
    {CMD_SAVE_MAP, "Save Calculation", NONE},
    {CMD_LOAD_MAP, "Load Calculation", NONE},
    {CMD_HELP, "&Help", NONE},
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
    case CMD_NEW:
      return StandardShortcut::New;
    case CMD_OPEN:
      return StandardShortcut::Open;
    case CMD_SAVE:
      return StandardShortcut::Save;
    case CMD_SAVE_AS:
      return StandardShortcut::SaveAs;
    case CMD_PRINT:
      return StandardShortcut::Print;
    case CMD_UNDO:
      return StandardShortcut::Undo;
    case CMD_REDO:
      return StandardShortcut::Redo;
    case CMD_EXIT:
      return StandardShortcut::Quit;
    default:
      return StandardShortcut::None;
  }
}

const char* commandTip(int number) {
  switch (number) {
    case CMD_ROOM_CHECK:
      return "Room check: looks for gaps in the room's shell and for faces turned outwards";
    case CMD_TOGGLE_NODES:
      return "Marks every node of the drawing";
    case CMD_TOGGLE_AIM_POINTS:
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
  std::vector<MenuEntry> file =
      items(r, {CMD_NEW, CMD_OPEN, CMD_SAVE, CMD_SAVE_AS, CMD_PRINT, SEPARATOR});
  file.push_back(submenu(
      "&EASE",
      items(r, {CMD_IMPORT_FACES_EASE3, CMD_IMPORT_FACES_EASE2, CMD_EXPORT_FACES_EASE3,
                CMD_EXPORT_FACES_EASE2, SEPARATOR, CMD_IMPORT_SPEAKERS_EASE3,
                CMD_IMPORT_SPEAKERS_EASE2, CMD_EXPORT_SPEAKERS_EASE3, CMD_EXPORT_SPEAKERS_EASE2})));
  file.push_back(menuSeparator());
  for (int n = CMD_RECENT_FIRST; n <= CMD_RECENT_LAST; ++n) file.push_back(menuItem(n, "", false));
  // The separator after them collapses with this one while they are hidden.
  file.push_back(menuSeparator());
  file.push_back(item(r, CMD_EXIT));
  bar.push_back(submenu("&File", std::move(file)));

  bar.push_back(submenu("&Edit", items(r, {CMD_UNDO, CMD_REDO, SEPARATOR, CMD_COPY_TO_CLIPBOARD})));
  bar.push_back(submenu(
      "&View", items(r, {CMD_ZOOM_ALL, CMD_ZOOM_WINDOW, CMD_EYE_POINT, SEPARATOR, CMD_WIREFRAME,
                         CMD_HIDDEN_BACKFACES, SEPARATOR, CMD_TOGGLE_ROOM, CMD_TOGGLE_AUDIENCE,
                         CMD_TOGGLE_SPEAKERS, CMD_TOGGLE_AUX, CMD_TOGGLE_AIM_POINTS, SEPARATOR,
                         CMD_TOGGLE_GRID, CMD_TOGGLE_NODES})));
  bar.push_back(submenu("&Room", items(r, {CMD_ROOM_POLYLINE,
                                           CMD_ROOM_POLYGON,
                                           CMD_ROOM_CIRCLE,
                                           CMD_ROOM_RECTANGLE,
                                           CMD_ROOM_IMPORT_GEOMETRY,
                                           SEPARATOR,
                                           CMD_ROOM_DELETE,
                                           CMD_ROOM_MOVE,
                                           CMD_ROOM_COPY,
                                           CMD_ROOM_TURN,
                                           CMD_ROOM_SCALE,
                                           CMD_ROOM_MIRROR,
                                           CMD_ROOM_EXTRUDE,
                                           CMD_ROOM_ROTATE,
                                           CMD_ROOM_DISMANTLE_SOLID,
                                           CMD_ROOM_ASSEMBLE_SOLID,
                                           CMD_ROOM_BUILD_GROUP,
                                           CMD_ROOM_SPLIT_GROUP,
                                           SEPARATOR,
                                           CMD_ROOM_MOVE_NODES,
                                           CMD_ROOM_INSERT_NODES,
                                           CMD_ROOM_SPLIT_FACE,
                                           CMD_ROOM_INVERT_FACE,
                                           CMD_ROOM_DELETE_FACE,
                                           SEPARATOR,
                                           CMD_ASSIGN_MATERIAL,
                                           CMD_FACE_LIST,
                                           SEPARATOR,
                                           CMD_MATERIAL_DATABASE,
                                           CMD_EDIT_MATERIAL_DATABASE,
                                           SEPARATOR,
                                           CMD_ROOM_CHECK})));
  bar.push_back(
      submenu("&Audience Areas",
              items(r, {CMD_AUDIENCE_POLYGON, CMD_AUDIENCE_CIRCLE, CMD_AUDIENCE_RECTANGLE,
                        SEPARATOR, CMD_AUDIENCE_DELETE, CMD_AUDIENCE_MOVE, CMD_AUDIENCE_COPY,
                        CMD_AUDIENCE_TURN, CMD_AUDIENCE_SCALE, CMD_AUDIENCE_MIRROR,
                        CMD_AUDIENCE_MOVE_NODES, SEPARATOR, CMD_BUILD_ONTOP_FACES})));
  bar.push_back(submenu("&Loudspeakers", items(r, {CMD_SPEAKER_DATABASE,
                                                   SEPARATOR,
                                                   CMD_SPEAKER_NEW,
                                                   CMD_SPEAKER_EDIT,
                                                   CMD_SPEAKER_LISTING,
                                                   SEPARATOR,
                                                   CMD_SPEAKER_MOVE,
                                                   CMD_SPEAKER_COPY,
                                                   CMD_SPEAKER_MIRROR,
                                                   CMD_SPEAKER_DELETE,
                                                   SEPARATOR,
                                                   CMD_SPEAKER_AIM_PERSPECTIVE,
                                                   CMD_SPEAKER_AIM_TARGET,
                                                   SEPARATOR,
                                                   CMD_SPEAKER_SWITCH_ON,
                                                   CMD_SPEAKER_SWITCH_OFF,
                                                   CMD_SPEAKER_EQUALIZER,
                                                   SEPARATOR,
                                                   CMD_SPEAKER_ALIGN,
                                                   CMD_SPEAKER_DELAY,
                                                   SEPARATOR,
                                                   CMD_SPEAKER_TURN_ARRAY,
                                                   CMD_SPEAKER_TILT_ARRAY,
                                                   SEPARATOR,
                                                   CMD_SPEAKER_BUILD_GROUP,
                                                   CMD_SPEAKER_SPLIT_GROUP,
                                                   SEPARATOR,
                                                   CMD_CLUSTER_BALLOONS})));
  bar.push_back(submenu(
      "A&UX Drawing",
      items(
          r,
          {CMD_AUX_LINES,          CMD_AUX_POLYGON,     CMD_AUX_CIRCLE,     CMD_AUX_RECTANGLE,
           CMD_AUX_TEXT,           CMD_AUX_INSERT_FILE, SEPARATOR,          CMD_AUX_DELETE,
           CMD_AUX_MOVE,           CMD_AUX_COPY,        CMD_AUX_TURN,       CMD_AUX_SCALE,
           CMD_AUX_MIRROR,         CMD_AUX_EXTRUDE,     CMD_AUX_ROTATE,     CMD_AUX_DISMANTLE_SOLID,
           CMD_AUX_ASSEMBLE_SOLID, SEPARATOR,           CMD_AUX_MOVE_NODES, CMD_AUX_INSERT_NODES,
           CMD_AUX_SPLIT_FACE,     CMD_AUX_INVERT_FACE, CMD_AUX_DELETE_FACE})));
  bar.push_back(submenu(
      "&Calculate",
      items(r, {CMD_LEVEL_TIME, CMD_SHOW_LAST_MAP, CMD_SAVE_MAP, CMD_LOAD_MAP, SEPARATOR,
                CMD_RT60_SABINE, CMD_RT60_EYRING, CMD_RT60_FITZROY, CMD_RT60_MEASURED, SEPARATOR,
                CMD_CALCULATE_RAYS, CMD_LOAD_RAY_FILE, SEPARATOR, CMD_SELECT_AUDIO_PROFILE,
                CMD_SELECT_WAV_INPUT, CMD_PROCESS_AND_PLAY, CMD_PLAY_INPUT, CMD_PLAY_OUTPUT})));

  std::vector<MenuEntry> options;
  options.push_back(submenu("&Coordinate-Snap", items(r, {CMD_COORD_SNAP_OFF, CMD_COORD_SNAP_ON,
                                                          CMD_COORD_SNAP_DISTANCE})));
  options.push_back(
      submenu("&Node-Snap", items(r, {CMD_NODE_SNAP_OFF, CMD_NODE_SNAP_ON, CMD_NODE_SNAP_WIDTH})));
  options.push_back(item(r, CMD_CIRCLE_SEGMENTS));
  options.push_back(item(r, CMD_GRID_SIZE));
  options.push_back(menuSeparator());
  options.push_back(item(r, CMD_UNITS_METRES));
  options.push_back(item(r, CMD_UNITS_FEET));
  bar.push_back(submenu("&Options", std::move(options)));

  bar.push_back(submenu("&Help", items(r, {CMD_HELP})));
  return bar;
}

}  // namespace tav
