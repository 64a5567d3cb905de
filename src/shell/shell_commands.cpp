// The shell's own commands: File, Edit, View and Options.
#include <pwd.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "model/layers.h"
#include "model/number_text.h"
#include "model/project_file.h"
#include "platform/keys.h"
#include "shell/shell.h"
#include "view/eye_view.h"
#include "view/grid.h"
#include "view/view_zoom.h"

namespace tav {

namespace {

inline constexpr const char* MSG_NOT_SAVED = "Current project status has not been saved";
inline constexpr const char* CAPTION_WARNING = "WARNING";
inline constexpr const char* FILTER_OPEN = "Taviron Project|*.tpr|";
inline constexpr const char* FILTER_SAVE = "*.Taviron Project|*.tpr|";

std::string folderOf(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
}

std::string fileNameOf(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

std::string userHomeFolder() {
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') {
    const passwd* pw = ::getpwuid(::getuid());
    home = pw != nullptr ? pw->pw_dir : nullptr;
  }
  return home != nullptr ? std::string(home) : std::string();
}

}  // namespace

void Shell::registerOwnCommands() {
  CommandRegistry& r = registry_;
  r.add(CMD_NEW, [this](CommandContext&) { newProjectCommand(); });
  r.add(CMD_OPEN, [this](CommandContext&) { openProjectCommand(); });
  r.add(CMD_SAVE_AS, [this](CommandContext&) { saveProjectAsCommand(); });
  r.add(CMD_SAVE, [this](CommandContext&) { saveProjectCommand(); });
  r.add(CMD_PRINT, [this](CommandContext&) { printView(); });
  r.add(CMD_EXIT, [this](CommandContext&) { exitCommand(); });
  for (int i = 0; i < 4; ++i)
    r.add(CMD_RECENT_FIRST + i, [this, i](CommandContext&) { openRecentProject(i); });
  r.add(CMD_UNDO, [this](CommandContext&) { undoRedo(false); });
  r.add(CMD_REDO, [this](CommandContext&) { undoRedo(true); });
  r.add(CMD_COPY_TO_CLIPBOARD, [this](CommandContext&) { copyViewToClipboard(); });
  r.add(CMD_HELP, [this](CommandContext&) { showHelp(); });
  r.add(
      CMD_ROOM_IMPORT_GEOMETRY, [this](CommandContext&) { importObjectsCommand(LAYER_ROOM); },
      "IMPORT > ");
  r.add(
      CMD_AUX_INSERT_FILE, [this](CommandContext&) { importObjectsCommand(LAYER_AUX); },
      "INSERT > ");

  r.add(CMD_ZOOM_ALL, [this](CommandContext&) { zoomAll(); });
  r.add(
      CMD_ZOOM_WINDOW, [this](CommandContext&) { zoomWindowCommand(); }, "ZOOM WINDOW > ");
  r.add(CMD_WIREFRAME, [this](CommandContext&) { toggleHiddenBackfaces(false); });
  r.add(CMD_HIDDEN_BACKFACES, [this](CommandContext&) { toggleHiddenBackfaces(true); });
  r.add(
      CMD_EYE_POINT, [this](CommandContext&) { eyePointCommand(); }, "EYE POINT > ");
  for (int n : {CMD_TOGGLE_AIM_POINTS, CMD_TOGGLE_ROOM, CMD_TOGGLE_AUDIENCE, CMD_TOGGLE_SPEAKERS,
                CMD_TOGGLE_AUX, CMD_TOGGLE_GRID, CMD_TOGGLE_NODES}) {
    r.add(n, [this, n](CommandContext&) { toggleLayer(n); });
  }
  r.add(CMD_SYNC_LAYERS, [this](CommandContext&) { syncLayerVisibility(project_); });
  r.add(CMD_COORD_SNAP_OFF, [this](CommandContext&) { setCoordinateSnap(false); });
  r.add(CMD_COORD_SNAP_ON, [this](CommandContext&) { setCoordinateSnap(true); });
  r.add(CMD_NODE_SNAP_OFF, [this](CommandContext&) { setNodeSnap(false); });
  r.add(CMD_NODE_SNAP_ON, [this](CommandContext&) { setNodeSnap(true); });
  for (int n : {CMD_COORD_SNAP_DISTANCE, CMD_NODE_SNAP_WIDTH, CMD_CIRCLE_SEGMENTS, CMD_GRID_SIZE})
    r.add(n, [this, n](CommandContext&) { optionInput(n); });
  r.add(CMD_UNITS_METRES, [this](CommandContext&) { setUnits(false); });
  r.add(CMD_UNITS_FEET, [this](CommandContext&) { setUnits(true); });
}

// --- File ---

bool Shell::confirmDiscard() {
  if (!confirmDiscardNeeded(project_)) return true;
  const MessageResult answer = showMessage(MSG_NOT_SAVED, CAPTION_WARNING,
                                           MessageButtons::SaveDiscardCancel, MessageIcon::Warning);
  if (answer == MessageResult::Save) {
    // A save that is cancelled or fails keeps the work open.
    if (!saveProjectCommand()) return false;
  } else if (answer != MessageResult::Discard && answer != MessageResult::Ok) {
    // (OK: a caller's plain confirmation, taken as Discard.)
    return false;
  }
  session_.undo.clearUndo();
  return true;
}

void Shell::newProjectCommand() {
  if (!project_.objects.empty() && !confirmDiscard()) return;
  session_.undo.clearUndo();
  newProject(project_);
  project_.observer = &observer_;
  if (session_.hooks.projectReset) session_.hooks.projectReset(*this);
  session_.circleSegments = CIRCLE_SEGMENTS_DEFAULT;
  nodeList_.clear();
  resetViewForNewProject(view_, project_.objects);
  ::tav::rebuildGrid(view_, project_);
  selectViewMode(VIEW_XY);
  input_.current = input_.tracked = input_.last = input_.base = Node{};
  input_.cursor = pixelOf(input_.current);
  updateTitle();
  redrawAll();
}

void Shell::applyLoadedProject(Project&& loaded) {
  session_.undo.clearUndo();
  nodeList_.clear();
  if (session_.hooks.projectReset) session_.hooks.projectReset(*this);
  project_ = std::move(loaded);
  project_.observer = &observer_;
  project_.modified = false;
  applyLoadedView(view_, project_);
  ::tav::rebuildGrid(view_, project_);
  if (session_.hooks.projectLoaded) session_.hooks.projectLoaded(*this);
  updateTitle();
  refreshStates();
  // The file keeps no zoom: show the whole model rather than a fixed scale.
  ::tav::zoomAll(view_, project_.objects);
  if (window_) window_->hideStartupPicture();
  redrawAll();
}

bool Shell::openProjectFile(const std::string& path) {
  ProjectLoadResult result = loadProject(path);
  if (!result.ok()) {
    showMessage(result.error.text, result.error.caption);
    return false;
  }
  applyLoadedProject(std::move(result.project));
  if (const UserMessage dropped = droppedEntriesMessage(result.droppedEntries); !dropped.empty()) {
    // The model is not what the file holds: closing it asks first.
    project_.modified = true;
    showMessage(dropped.text, dropped.caption);
  }
  return true;
}

void Shell::openProjectCommand() {
  if (!confirmDiscard()) return;
  session_.undo.clearUndo();
  FileDialogRequest request;
  request.title = "Open";
  request.filter = FILTER_OPEN;
  request.folder =
      session_.history.projectFolder.empty() ? session_.dataFolder : session_.history.projectFolder;
  request.overwritePrompt = false;
  const std::optional<std::string> path = openFileName(request);
  if (!path) return;
  session_.history.projectFolder = folderOf(*path);
  if (openProjectFile(*path)) updateHistory();
}

bool Shell::writeProjectTo(const std::string& path) {
  project_.settings.view = view_.mode <= VIEW_3D ? view_.mode : VIEW_3D;
  const UserMessage error = saveProjectAs(project_, path);
  if (!error.empty()) {
    showMessage(error.text, error.caption);
    return false;
  }
  session_.history.projectFolder = folderOf(project_.name);
  updateTitle();
  updateHistory();
  return true;
}

bool Shell::saveProjectAsCommand() {
  FileDialogRequest request;
  request.title = "Save as";
  request.filter = FILTER_SAVE;
  // The project's own folder; a new project starts in the user's home,
  // never among the program's data.
  const std::string own = folderOf(project_.name);
  if (!own.empty()) {
    request.folder = own;
  } else {
    request.folder = options_.homeFolder.empty() ? userHomeFolder() : options_.homeFolder;
  }
  request.fileName = fileNameOf(project_.name);
  request.defaultExtension = "TPR";
  request.overwritePrompt = true;
  const std::optional<std::string> path = saveFileName(request);
  if (!path) return false;
  return writeProjectTo(*path);
}

bool Shell::saveProjectCommand() {
  // A name without a folder is the name of a project never saved.
  if (folderOf(project_.name).empty()) return saveProjectAsCommand();
  return writeProjectTo(project_.name);
}

void Shell::openRecentProject(int index) {
  const std::string path = session_.history.recent[static_cast<std::size_t>(index)];
  if (path.empty() || !confirmDiscard()) return;
  // A file that moved away leaves the model as it was.
  if (openProjectFile(path)) updateHistory();
}

void Shell::exitCommand() {
  if (!confirmDiscard()) return;
  newProject(project_);
  project_.observer = &observer_;
  session_.strokeFont.clear();
  closeWindow();
}

void Shell::importObjectsCommand(std::uint32_t targetLayer) {
  FileDialogRequest request;
  request.title = targetLayer == LAYER_AUX ? "Insert File" : "Import Room Geometry";
  request.filter = FILTER_OPEN;
  request.folder =
      session_.history.projectFolder.empty() ? session_.dataFolder : session_.history.projectFolder;
  request.overwritePrompt = false;
  const std::optional<std::string> path = openFileName(request);
  if (!path) return;
  deselectAll(project_);
  const MergeResult merged = mergeProjectObjects(project_, *path, targetLayer);
  if (!merged.ok()) {
    showMessage(merged.error.text, merged.error.caption);
    return;
  }
  syncLayerVisibility(project_);
  redrawAll();
  if (const UserMessage dropped = droppedEntriesMessage(merged.droppedEntries); !dropped.empty())
    showMessage(dropped.text, dropped.caption);
  if (merged.added == 0) return;
  // The read objects follow the cursor from the base point to the offset
  // point; Escape at either leaves them where they were read.
  if (askBasePoint() == InputOutcome::PointGiven) {
    startDrag(DragMode::MoveObjects);
    const InputOutcome r = askPoint(PROMPT_OFFSET_POINT);
    stopDrag();
    if (r == InputOutcome::PointGiven) {
      for (ModelObject& o : project_.objects) {
        if (!o.isSelected()) continue;
        for (Node& n : o.nodes) n = dragMoveNode(n, input_.base, input_.current);
      }
    }
  }
  deselectAll(project_);
  setModified();
  redrawAll();
}

// --- Edit ---

void Shell::undoRedo(bool redo) {
  const bool done = redo ? session_.undo.redo(project_) : session_.undo.undo(project_);
  if (!done) return;
  project_.observer = &observer_;
  nodeList_.clear();
  project_.modified = true;
  ::tav::rebuildGrid(view_, project_);
  redrawAll();
}

void Shell::copyViewToClipboard() {
  if (!canDraw()) return;
  const RgbImage picture = window_->viewPicture();
  platform_.copyPictureToClipboard(picture.width, picture.height, [&picture](Canvas& c) {
    c.drawImage({0, 0}, picture);
  });
}

// --- View ---

void Shell::selectViewMode(int mode) {
  if (!selectView(view_, project_.objects, mode)) return;
  project_.settings.view = static_cast<std::int16_t>(mode);
  redrawAll();
  retrackCursor();
  refreshPanel();
}

void Shell::toggleHiddenBackfaces(std::optional<bool> on) {
  view_.hiddenBackfaces = on.value_or(!view_.hiddenBackfaces);
  redrawAll();
  refreshStates();
}

void Shell::setCoordinateSnap(bool on) {
  project_.settings.cursorSnapOn = on;
  refreshStates();
}

void Shell::setNodeSnap(bool on) {
  project_.settings.nodeSnapOn = on;
  refreshStates();
}

void Shell::setUnits(bool feet) {
  session_.units.feet = feet;
  session_.history.feet = feet;
  refreshCoordinates();
  updateHistory();
}

void Shell::toggleLayer(int command) {
  auto flip = [this](std::uint32_t layer) {
    LayerRecord& l = project_.layers[layer];
    l.visible = l.visible ? 0 : 1;
  };
  switch (command) {
    case CMD_TOGGLE_AIM_POINTS:
      flip(LAYER_AIM_LINES);
      if (session_.hooks.rebuildAimPoints) session_.hooks.rebuildAimPoints(*this);
      syncLayerVisibility(project_);
      break;
    case CMD_TOGGLE_ROOM:
    case CMD_TOGGLE_AUDIENCE:
    case CMD_TOGGLE_SPEAKERS:
      flip(static_cast<std::uint32_t>(command - CMD_TOGGLE_ROOM));
      syncLayerVisibility(project_);
      break;
    case CMD_TOGGLE_AUX:
      flip(LAYER_AUX);
      syncLayerVisibility(project_);
      break;
    case CMD_TOGGLE_GRID:
      flip(LAYER_GRID);
      rebuildGrid();
      break;
    case CMD_TOGGLE_NODES:
      view_.nodeMarkers = !view_.nodeMarkers;
      rebuildGrid();
      break;
    default:
      break;
  }
  redrawAll();
  refreshStates();
}

void Shell::zoomWindowCommand() {
  if (askPoint("First corner :") != InputOutcome::PointGiven) return;
  input_.windowCorner = input_.cursor;
  rubberWindow_ = true;
  updateOverlay();
  const InputOutcome r = askPoint("Second corner :");
  rubberWindow_ = false;
  updateOverlay();
  if (r != InputOutcome::PointGiven) return;
  const PixelPoint a = input_.windowCorner, b = input_.cursor;
  if (::tav::zoomWindow(view_, a.x, a.y, b.x, b.y)) redrawAll();
}

void Shell::zoomInByWindow() {
  if (!view_.is2D() || !(view_.zoom < ZOOM_IN_LIMIT)) return;
  auto loop = [this] {
    while (view_.zoom < ZOOM_IN_LIMIT) {
      if (askPoint("Zoom in :") != InputOutcome::PointGiven) break;
      if (::tav::zoomInAt(view_, input_.cursor.x, input_.cursor.y)) redrawAll();
      retrackCursor();
    }
  };
  if (active_ != 0) {
    // Nested in the running command's wait. The zoom reads only what comes
    // after F6; leaving it with Escape or Enter ends the zoom alone, and the
    // command then reads what came before F6, then what followed the zoom.
    std::deque<PendingInput> before = std::move(pending_);
    pending_.clear();
    loop();
    before.insert(before.end(), pending_.begin(), pending_.end());
    pending_ = std::move(before);
    showPrompt("");
    return;
  }
  CommandInfo zoomIn;
  zoomIn.number = CMD_ZOOM_IN;
  zoomIn.name = "ZOOM IN > ";
  zoomIn.handler = [loop](CommandContext&) { loop(); };
  dispatch(zoomIn.number, zoomIn);
}

void Shell::eyePointCommand() {
  if (askPoint("Eye point :") != InputOutcome::PointGiven) return;
  enterPerspective(view_, input_.current);
  project_.settings.cursorSnapOn = false;
  redrawAll();
  refreshStates();
}

// --- Options ---

void Shell::optionInput(int command) {
  const Units& u = session_.units;
  ProjectSettings& s = project_.settings;
  std::string prompt;
  std::string current;
  switch (command) {
    case CMD_COORD_SNAP_DISTANCE:
      prompt = "Set Cursor Snap ( 0 .. 1000 ):";
      current = formatNumber(u.feet ? "%0.2f" : "%0.3f", u.lengthToDisplay(s.cursorSnap));
      break;
    case CMD_NODE_SNAP_WIDTH:
      prompt = "Node Snap Width (1 - 100):";
      current = std::to_string(static_cast<int>(s.nodeSnapWidth));
      break;
    case CMD_CIRCLE_SEGMENTS:
      prompt = "Circle Resolution (3 - 360):";
      current = std::to_string(session_.circleSegments);
      break;
    case CMD_GRID_SIZE:
      prompt = "Grid size(0.1 - 100) :";
      current = formatNumber(u.feet ? "%0.2f" : "%0.3f", u.lengthToDisplay(s.gridSize));
      break;
    default:
      return;
  }
  const std::optional<std::string> answer = inputLine(prompt, current, 20);
  if (!answer) return;
  const std::optional<double> value = parseNumberStrict(*answer);
  auto invalid = [this] { showMessage(MSG_INVALID_ENTRY); };
  if (!value || !std::isfinite(*value)) {
    invalid();
    return;
  }
  switch (command) {
    case CMD_COORD_SNAP_DISTANCE: {
      const double d = u.lengthFromInput(*value);
      if (d < 0.001 || d > 1000.0) return invalid();
      s.cursorSnap = static_cast<float>(d);
      break;
    }
    case CMD_NODE_SNAP_WIDTH: {
      const double w = std::trunc(*value);
      if (w < 1 || w > 100) return invalid();
      s.nodeSnapWidth = static_cast<float>(w);
      break;
    }
    case CMD_CIRCLE_SEGMENTS: {
      const double n = std::trunc(*value);
      if (n < CIRCLE_SEGMENTS_MIN || n > CIRCLE_SEGMENTS_MAX) return invalid();
      session_.circleSegments = static_cast<int>(n);
      break;
    }
    case CMD_GRID_SIZE: {
      const double g = u.lengthFromInput(*value);
      if (g < 0.1 || g > 100.0) return invalid();
      s.gridSize = static_cast<float>(g);
      rebuildGrid();
      break;
    }
    default:
      break;
  }
}

void Shell::editComment() {
  const std::optional<std::string> answer =
      inputLine("Comment (80 chars max.):", session_.comment, COMMENT_MAX_LENGTH);
  if (!answer) return;
  session_.comment = *answer;
  redrawAll();
}

}  // namespace tav
