#include "shell/shell.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <random>

#include "model/history_file.h"
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

  set(201, session_.undo.canUndo());
  set(202, session_.undo.canRedo());

  std::size_t faceObjects = 0;
  const std::size_t room = project_.objects.countRoomObjects(&faceObjects);
  const std::size_t audience = project_.objects.countAudienceAreas();
  const std::size_t speakers = project_.objects.countLoudspeakers();
  const std::size_t aux = project_.objects.countAuxObjects();
  const bool result = project_.hasCalculationResult();

  // Save (106) follows Save as.
  if (room == 0 && audience == 0 && speakers == 0 && aux == 0) {
    for (int n : {102, 106, 103, 602, 603, 5101, 5102, 5103}) set(n, false);
  } else {
    for (int n : {102, 106, 103, 602, 603}) set(n, true);
  }
  if (room > 0) {
    range(2301, 2315, true);
    const bool faces = faceObjects > 0;
    for (int n : {121, 2501, 2502, 2601}) set(n, faces);
    range(5010, 5013, faces);
    set(5020, faces && speakers > 0);
    set(5021, faces && speakers > 0);
    set(5101, faces && result);
    set(5102, faces && result);
  } else {
    for (int n : {121, 2501, 2502, 2601, 5020, 5021}) set(n, false);
    range(2301, 2315, false);
    range(5010, 5013, false);
  }
  if (audience > 0) {
    range(3301, 3306, true);
    set(3311, true);
    set(5103, true);
    set(5001, speakers > 0);
    set(5101, speakers > 0 && result);
    set(5102, speakers > 0 && result);
  } else {
    range(3301, 3306, false);
    set(3311, false);
    set(5001, false);
  }
  range(1003, 1018, speakers > 0);
  set(125, speakers > 0);
  range(4301, 4315, aux > 0);
  set(1002, session_.speakerDatabase.loaded());

  for (auto& [number, enabled] : on) {
    if (number >= 110 && number <= 113) continue;
    const CommandInfo* info = registry_.find(number);
    const bool built = info != nullptr && static_cast<bool>(info->handler);
    bool v = enabled && built;
    if (v && info->enabled) v = info->enabled(*this);
    w.setMenuItemEnabled(number, v);
    // Follows the registry: the note goes once the command is registered.
    w.setMenuItemTip(number, built ? commandTip(number) : TIP_NOT_BUILT);
  }
  for (int i = 0; i < 4; ++i) {
    const std::string& path = session_.history.recent[static_cast<std::size_t>(i)];
    w.setMenuItemText(110 + i, menuTextOfPath(path));
    w.setMenuItemEnabled(110 + i, !path.empty());
    w.setMenuItemVisible(110 + i, !path.empty());
    w.setMenuItemTip(110 + i, path);
  }

  auto layerOn = [&](std::uint32_t layer) { return project_.layers[layer].visible != 0; };
  w.setMenuItemChecked(610, layerOn(LAYER_ROOM));
  w.setMenuItemChecked(611, layerOn(LAYER_AUDIENCE));
  w.setMenuItemChecked(612, layerOn(LAYER_SPEAKERS));
  w.setMenuItemChecked(613, layerOn(LAYER_AUX));
  w.setMenuItemChecked(614, layerOn(LAYER_GRID));
  w.setMenuItemChecked(608, layerOn(LAYER_AIM_LINES));
  w.setMenuItemChecked(615, view_.nodeMarkers);
  w.setMenuItemChecked(604, !view_.hiddenBackfaces);
  w.setMenuItemChecked(605, view_.hiddenBackfaces);
  w.setMenuItemChecked(511, !project_.settings.cursorSnapOn);
  w.setMenuItemChecked(512, project_.settings.cursorSnapOn);
  w.setMenuItemChecked(508, !project_.settings.nodeSnapOn);
  w.setMenuItemChecked(509, project_.settings.nodeSnapOn);
  w.setMenuItemChecked(516, !session_.units.feet);
  w.setMenuItemChecked(517, session_.units.feet);
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
  if (closeRequested_) return InputOutcome::Cancelled;
  finish_ = cancel_ = false;
  for (;;) {
    pointGiven_ = rightButton_ = false;
    if (closed_ || !platform_.processEvents(true)) return InputOutcome::Cancelled;
    if (active_ == 0) continue;
    if (cancel_ || closeRequested_) return InputOutcome::Cancelled;
    if (finish_) return InputOutcome::Finished;
    if (pointGiven_) {
      input_.last = input_.current;
      return InputOutcome::PointGiven;
    }
    if (rightButton_) {
      finish_ = true;
      return InputOutcome::Finished;
    }
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
    cancel_ = true;
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
