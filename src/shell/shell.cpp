#include "shell/shell.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <random>

#include "model/history_file.h"
#include "model/number_text.h"
#include "model/project_file.h"
#include "resources/builtin_resources.h"
#include "shell/coordinate_text.h"
#include "shell/menu_table.h"
#include "shell/panel_template.h"
#include "speakers/speaker_shape.h"
#include "view/axis_cross.h"
#include "view/grid.h"
#include "view/view_render.h"
#include "view/view_zoom.h"

namespace tav {

namespace {

std::string defaultDataFolder() {
#ifdef TAVIRON_DATA_DIR
  return TAVIRON_DATA_DIR;
#else
  return "data";
#endif
}

// The manual lies beside the data when installed (share/taviron/docs) and
// beside the data folder in the source tree (docs/ next to data/).
std::string defaultHelpFile(const std::string& dataFolder) {
  const std::string installed = dataFolder + "/docs/manual.html";
  std::error_code ec;
  if (std::filesystem::exists(installed, ec)) return installed;
  return dataFolder + "/../docs/manual.html";
}

}  // namespace

Shell::Shell(Platform& platform, ShellOptions options)
    : platform_(platform), options_(std::move(options)) {
  session_.historyPath = options_.historyPath.empty() ? defaultHistoryPath() : options_.historyPath;
  session_.dataFolder = options_.dataFolder.empty() ? defaultDataFolder() : options_.dataFolder;
  session_.helpFile =
      options_.helpFile.empty() ? defaultHelpFile(session_.dataFolder) : options_.helpFile;
  project_.observer = &observer_;
  random_ = [engine = std::make_shared<std::mt19937>(std::random_device{}())](
                std::uint32_t bound) -> std::uint32_t {
    return bound == 0 ? 0 : std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(*engine);
  };
  registerOwnCommands();
}

Shell::~Shell() {
  project_.observer = nullptr;
  window_.reset();
}

bool Shell::start() {
  session_.undo.clearUndo();
  newProject(project_);
  project_.observer = &observer_;
  if (session_.hooks.projectReset) session_.hooks.projectReset(*this);
  session_.circleSegments = CIRCLE_SEGMENTS_DEFAULT;

  window_ = platform_.createMainWindow(*this);
  if (!window_) return false;
  closed_ = false;
  window_->setMenu(buildMenuBar(registry_));
  window_->show();
  setViewSize(view_, window_->viewWidth(), window_->viewHeight());
  resetViewForNewProject(view_, project_.objects);
  view_.hiddenBackfaces = false;

  // The stroke font of the text command.
  const std::span<const std::uint8_t> font = standardFontData();
  session_.strokeFont.assign(font.begin(), font.end());

  session_.history = loadHistory(session_.historyPath);
  session_.units.feet = session_.history.feet;

  session_.defaultSpeakerShape = &defaultSpeakerShape();
  session_.axisCross = loadAxisCross();

  selectView(view_, project_.objects, VIEW_XY);
  project_.settings.view = VIEW_XY;
  window_->createPanel(panelTemplate());
  window_->showStartupPicture();
  window_->setViewCursor(CursorShape::Hidden);
  window_->setOverlay([this](Canvas& canvas) { paintOverlay(canvas); });
  updateTitle();
  refreshStates();
  window_->requestRepaint();
  return true;
}

int Shell::run() {
  while (platform_.processEvents(true)) {
  }
  return 0;
}

// --- title, history, states ---

void Shell::updateTitle() {
  if (!window_) return;
  // The path as it is: file names are case-sensitive here, and an
  // upper-cased path would name a file that does not exist.
  window_->setTitle(std::string(TAVIRON_TITLE_PREFIX) + project_.name);
}

void Shell::updateHistory() {
  session_.history.feet = session_.units.feet;
  ::tav::updateHistory(session_.history, project_.name, session_.historyPath);
  refreshStates();
}

void Shell::setModified() { project_.modified = true; }

void Shell::setCommandName(std::string_view name) {
  commandName_ = std::string(name);
  showPrompt("");
}

void Shell::greyMenus(bool grey) {
  if (!canDraw()) return;
  for (int i = 0; i < GREYED_TOP_MENUS; ++i) window_->setTopMenuEnabled(i, !grey);
}

void Shell::refreshStates() {
  if (!canDraw()) return;
  MainWindow& w = *window_;
  std::map<int, bool> on;
  for (const CommandSpec& spec : commandSpecs()) on[spec.number] = true;
  auto set = [&](int n, bool v) { on[n] = v; };
  auto range = [&](int a, int b, bool v) {
    for (int n = a; n <= b; ++n) on[n] = v;
  };

  set(CMD_UNDO, session_.undo.canUndo());
  set(CMD_REDO, session_.undo.canRedo());

  std::size_t faceObjects = 0;
  const std::size_t room = project_.objects.countRoomObjects(&faceObjects);
  const std::size_t audience = project_.objects.countAudienceAreas();
  const std::size_t speakers = project_.objects.countLoudspeakers();
  const std::size_t aux = project_.objects.countAuxObjects();
  const bool result = project_.hasCalculationResult();

  // Save (106) follows Save as.
  if (room == 0 && audience == 0 && speakers == 0 && aux == 0) {
    for (int n : {CMD_SAVE_AS, CMD_SAVE, CMD_PRINT, CMD_ZOOM_ALL, CMD_ZOOM_WINDOW, CMD_EYE_POINT,
                  CMD_SHOW_LAST_MAP, CMD_SAVE_MAP, CMD_LOAD_MAP})
      set(n, false);
  } else {
    for (int n : {CMD_SAVE_AS, CMD_SAVE, CMD_PRINT, CMD_ZOOM_ALL, CMD_ZOOM_WINDOW, CMD_EYE_POINT})
      set(n, true);
  }
  if (room > 0) {
    range(CMD_ROOM_DELETE, CMD_ROOM_DELETE_FACE, true);
    const bool faces = faceObjects > 0;
    for (int n :
         {CMD_EXPORT_FACES_EASE3, CMD_ASSIGN_MATERIAL, CMD_FACE_LIST, CMD_BUILD_ONTOP_FACES})
      set(n, faces);
    range(CMD_RT60_SABINE, CMD_RT60_MEASURED, faces);
    set(CMD_CALCULATE_RAYS, faces && speakers > 0);
    set(CMD_LOAD_RAY_FILE, faces && speakers > 0);
    set(CMD_SHOW_LAST_MAP, faces && result);
    set(CMD_SAVE_MAP, faces && result);
  } else {
    for (int n : {CMD_EXPORT_FACES_EASE3, CMD_ASSIGN_MATERIAL, CMD_FACE_LIST, CMD_BUILD_ONTOP_FACES,
                  CMD_CALCULATE_RAYS, CMD_LOAD_RAY_FILE})
      set(n, false);
    range(CMD_ROOM_DELETE, CMD_ROOM_DELETE_FACE, false);
    range(CMD_RT60_SABINE, CMD_RT60_MEASURED, false);
  }
  if (audience > 0) {
    range(CMD_AUDIENCE_DELETE, CMD_AUDIENCE_MIRROR, true);
    set(CMD_AUDIENCE_MOVE_NODES, true);
    set(CMD_LOAD_MAP, true);
    set(CMD_LEVEL_TIME, speakers > 0);
    set(CMD_SHOW_LAST_MAP, speakers > 0 && result);
    set(CMD_SAVE_MAP, speakers > 0 && result);
  } else {
    range(CMD_AUDIENCE_DELETE, CMD_AUDIENCE_MIRROR, false);
    set(CMD_AUDIENCE_MOVE_NODES, false);
    set(CMD_LEVEL_TIME, false);
  }
  range(CMD_SPEAKER_EDIT, CMD_SPEAKER_TILT_ARRAY, speakers > 0);
  // Groups are built from objects of the menu's layer.
  set(CMD_ROOM_BUILD_GROUP, room > 0);
  set(CMD_ROOM_SPLIT_GROUP, room > 0);
  set(CMD_SPEAKER_BUILD_GROUP, speakers > 0);
  set(CMD_SPEAKER_SPLIT_GROUP, speakers > 0);
  set(CMD_EXPORT_SPEAKERS_EASE3, speakers > 0);
  range(CMD_AUX_DELETE, CMD_AUX_DELETE_FACE, aux > 0);
  set(CMD_SPEAKER_NEW, session_.speakerDatabase.loaded());

  for (auto& [number, enabled] : on) {
    if (number >= CMD_RECENT_FIRST && number <= CMD_RECENT_LAST) continue;
    const CommandInfo* info = registry_.find(number);
    const bool built = info != nullptr && static_cast<bool>(info->handler);
    bool v = enabled && built;
    if (v && info->enabled) v = info->enabled(*this);
    w.setMenuItemEnabled(number, v);
    // Follows the registry: the note goes once the command is registered.
    w.setMenuItemTip(number, built ? commandTip(number) : TIP_NOT_BUILT);
  }
  // "Undo Delete Face": the items name the command they take back or redo.
  for (const auto& [number, name] :
       {std::pair{201, session_.undo.undoName()}, std::pair{202, session_.undo.redoName()}}) {
    const CommandSpec* spec = commandSpec(number);
    const std::string text = spec != nullptr ? spec->text : "";
    w.setMenuItemText(number, name.empty() ? text : text + " " + name);
  }
  for (int i = 0; i < 4; ++i) {
    const std::string& path = session_.history.recent[static_cast<std::size_t>(i)];
    w.setMenuItemText(CMD_RECENT_FIRST + i, menuTextOfPath(path));
    w.setMenuItemEnabled(CMD_RECENT_FIRST + i, !path.empty());
    w.setMenuItemVisible(CMD_RECENT_FIRST + i, !path.empty());
    w.setMenuItemTip(CMD_RECENT_FIRST + i, path);
  }

  auto layerOn = [&](std::uint32_t layer) { return project_.layers[layer].visible != 0; };
  w.setMenuItemChecked(CMD_TOGGLE_ROOM, layerOn(LAYER_ROOM));
  w.setMenuItemChecked(CMD_TOGGLE_AUDIENCE, layerOn(LAYER_AUDIENCE));
  w.setMenuItemChecked(CMD_TOGGLE_SPEAKERS, layerOn(LAYER_SPEAKERS));
  w.setMenuItemChecked(CMD_TOGGLE_AUX, layerOn(LAYER_AUX));
  w.setMenuItemChecked(CMD_TOGGLE_GRID, layerOn(LAYER_GRID));
  w.setMenuItemChecked(CMD_TOGGLE_AIM_POINTS, layerOn(LAYER_AIM_LINES));
  w.setMenuItemChecked(CMD_TOGGLE_NODES, view_.nodeMarkers);
  w.setMenuItemChecked(CMD_WIREFRAME, !view_.hiddenBackfaces);
  w.setMenuItemChecked(CMD_HIDDEN_BACKFACES, view_.hiddenBackfaces);
  w.setMenuItemChecked(CMD_COORD_SNAP_OFF, !project_.settings.cursorSnapOn);
  w.setMenuItemChecked(CMD_COORD_SNAP_ON, project_.settings.cursorSnapOn);
  w.setMenuItemChecked(CMD_NODE_SNAP_OFF, !project_.settings.nodeSnapOn);
  w.setMenuItemChecked(CMD_NODE_SNAP_ON, project_.settings.nodeSnapOn);
  w.setMenuItemChecked(CMD_UNITS_METRES, !session_.units.feet);
  w.setMenuItemChecked(CMD_UNITS_FEET, session_.units.feet);
  refreshPanel();
}

void Shell::refreshPanel() {
  if (!canDraw()) return;
  DialogControls* panel = window_->panel();
  if (panel == nullptr) return;
  for (int id = PANEL_XY; id <= PANEL_3D; ++id) {
    panel->setChecked(id, view_.mode == id - PANEL_XY);
  }
  panel->setChecked(PANEL_HIDDEN, view_.hiddenBackfaces);
  panel->setChecked(PANEL_COORDINATE_SNAP, project_.settings.cursorSnapOn);
  panel->setChecked(PANEL_NODE_SNAP, project_.settings.nodeSnapOn);
  refreshCoordinates();
}

void Shell::refreshCoordinates() {
  if (!canDraw()) return;
  DialogControls* panel = window_->panel();
  if (panel == nullptr) return;
  const int decimals = session_.units.feet ? 2 : 3;
  const Node& p = input_.current;
  panel->setText(PANEL_FIELD_X, formatCoordinate(session_.units.lengthToDisplay(p.x), decimals));
  panel->setText(PANEL_FIELD_Y, formatCoordinate(session_.units.lengthToDisplay(p.y), decimals));
  panel->setText(PANEL_FIELD_Z, formatCoordinate(session_.units.lengthToDisplay(p.z), decimals));
}

// --- view services ---

ViewDrawContext Shell::drawContext() {
  nodeRefs_.clear();
  for (const SelectedNode& n : nodeList_) nodeRefs_.push_back({n.object, n.node});
  ViewDrawContext c;
  c.project = &project_;
  c.axisCross = session_.axisCross.get();
  c.nodeList = nodeRefs_;
  c.comment = session_.comment;
  c.aimBandHz = session_.aimBandHz;
  c.dragging = drag_ == DragMode::MoveObjects || drag_ == DragMode::MirrorPreview ||
               drag_ == DragMode::MoveNodes;
  return c;
}

void Shell::redrawAll() {
  if (canDraw()) window_->requestRepaint();
}

void Shell::drawObject(const ModelObject& object) {
  if (!canDraw()) return;
  window_->drawOnView([&](Canvas& canvas) {
    const ViewDrawContext c = drawContext();
    drawObjects(view_, canvas, c, &object, &object, ObjectDrawMode::Over);
  });
}

void Shell::eraseObject(const ModelObject& object) {
  if (!canDraw()) return;
  window_->drawOnView([&](Canvas& canvas) {
    const ViewDrawContext c = drawContext();
    drawObjects(view_, canvas, c, &object, &object, ObjectDrawMode::Erase);
  });
}

void Shell::drawOnView(const PaintFunction& paint) {
  if (canDraw()) window_->drawOnView(paint);
}

void Shell::zoomAll() {
  if (!::tav::zoomAll(view_, project_.objects)) return;
  redrawAll();
  retrackCursor();
}

void Shell::rebuildGrid() {
  ::tav::rebuildGrid(view_, project_);
  redrawAll();
}

PixelPoint Shell::pixelOf(const Node& point) {
  const ScreenPoint s = projectNode(view_, point);
  return {s.x, s.y};
}

// --- Interaction ---

void Shell::showPrompt(std::string_view utf8) {
  if (!canDraw()) return;
  if (active_ == 0 && commandName_.empty()) {
    window_->setPromptText(utf8);
    return;
  }
  window_->setPromptText(commandName_ + std::string(utf8));
}

InputOutcome Shell::waitForInput() {
  for (;;) {
    if (closeRequested_) return InputOutcome::Cancelled;
    if (!pending_.empty()) {
      const PendingInput next = pending_.front();
      pending_.pop_front();
      switch (next.kind) {
        case PendingKind::Point:
          // The point as it was when given, even if the cursor moved on
          // before the command came to read it.
          input_.current = input_.tracked = next.point;
          input_.cursor = next.pixel;
          input_.last = input_.current;
          return InputOutcome::PointGiven;
        case PendingKind::Finish:
          return InputOutcome::Finished;
        case PendingKind::Cancel:
          return InputOutcome::Cancelled;
      }
    }
    if (closed_ || !platform_.processEvents(true)) return InputOutcome::Cancelled;
  }
}

void Shell::queueInput(PendingKind kind, bool repeats) {
  if (active_ == 0) return;
  PendingInput in;
  in.kind = kind;
  in.point = input_.current;
  in.pixel = input_.cursor;
  in.repeats = repeats;
  pending_.push_back(in);
}

void Shell::settleLeftoverInput() {
  // Idle, a point or Escape does nothing; Enter, Space or the right button
  // repeats the last command, which then reads what followed.
  while (!pending_.empty() && !pending_.front().repeats) pending_.pop_front();
  if (pending_.empty()) return;
  pending_.pop_front();
  if (last_ != 0 && canDraw()) {
    replayFor_ = last_;
    window_->postCommand(last_);
  } else {
    pending_.clear();
  }
}

std::optional<std::string> Shell::inputLine(std::string_view prompt, std::string_view text,
                                            int maxLength) {
  return platform_.inputLine(prompt, text, maxLength);
}

MessageResult Shell::showMessage(std::string_view text, std::string_view caption,
                                 MessageButtons buttons, MessageIcon icon) {
  return platform_.showMessage(text, caption, buttons, icon);
}

std::optional<std::string> Shell::openFileName(const FileDialogRequest& request) {
  return platform_.openFileName(request);
}

std::optional<std::string> Shell::saveFileName(const FileDialogRequest& request) {
  return platform_.saveFileName(request);
}

void Shell::progressOpen(std::string_view title, std::string_view text,
                         std::string_view buttonText) {
  platform_.progressOpen(title, text, buttonText);
}

bool Shell::progressUpdate(int percent, std::string_view text) {
  const bool cancelled = platform_.progressUpdate(percent, text);
  return cancelled || closeRequested_ || closed_;
}

void Shell::progressClose() { platform_.progressClose(); }

// --- window events ---

void Shell::onResize(int width, int height) {
  resizeView(view_, width, height);
  redrawAll();
  retrackCursor();
}

void Shell::onScroll(const ScrollEvent& event) {
  scrollView(view_, event);
  redrawAll();
}

void Shell::onPaint(Canvas& canvas) {
  redrawView(view_, canvas, drawContext());
  if (!canDraw()) return;
  for (ScrollAxis axis : {ScrollAxis::Horizontal, ScrollAxis::Vertical}) {
    window_->setScrollRange(axis, SCROLL_MIN, SCROLL_MAX);
    window_->setScrollPosition(axis, 0);
  }
  refreshCoordinates();
}

void Shell::onCloseRequest() {
  if (active_ != 0) {
    // Closing during a command only cancels the command.
    closeRequested_ = true;
    return;
  }
  exitCommand();
}

void Shell::closeWindow() {
  if (!window_ || closed_) return;
  session_.history.feet = session_.units.feet;
  ::tav::updateHistory(session_.history, project_.name, session_.historyPath);
  window_->clearOverlay();
  window_->destroyPanel();
  window_->close();
  closed_ = true;
  platform_.quit();
}

}  // namespace tav
