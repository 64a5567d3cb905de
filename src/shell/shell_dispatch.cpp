// Command dispatch, keys and the 3D panel.
#include <string>

#include "model/layers.h"
#include "platform/keys.h"
#include "shell/panel_template.h"
#include "shell/shell.h"
#include "view/view_render.h"
#include "view/view_zoom.h"

namespace tav {

namespace {

constexpr int CMD_FIRST_BUTTON = 20000;
// Commands that set a layer, take the command buttons and are repeated.
bool isDrawingCommand(int id) { return layerForCommand(id).has_value(); }

// What Edit > Undo names a command by: its menu text without the mnemonic
// and the dots ("&Delete Face" -> "Delete Face").
std::string undoLabel(const CommandInfo& info) {
  std::string label;
  for (char c : info.menuText)
    if (c != '&') label += c;
  while (!label.empty() && (label.back() == '.' || label.back() == ' ')) label.pop_back();
  return label;
}

}  // namespace

void Shell::onCommand(int id) {
  if (id == CMD_HELP) {
    // Also during a command: the topic of the running command.
    showHelp();
    return;
  }
  if (active_ != 0) {
    if (id == CMD_BUTTON_OK) {
      queueInput(PendingKind::Finish);
    } else if (id == CMD_BUTTON_STOP) {
      queueInput(PendingKind::Cancel);
    } else if (id >= CMD_FIRST_BUTTON) {
      queueInput(PendingKind::Point);
    }
    // Any other command while one runs is ignored.
    return;
  }
  if (id >= CMD_FIRST_BUTTON || closed_) return;
  const CommandInfo* info = registry_.find(id);
  if (info == nullptr || !info->handler) return;
  CommandInfo copy = *info;  // the handler may change the registry
  dispatch(id, copy);
}

void Shell::dispatch(int id, const CommandInfo& info) {
  // Inputs kept from the last command belong only to its repetition.
  if (id != replayFor_) pending_.clear();
  replayFor_ = 0;
  greyMenus(true);
  active_ = id;
  commandName_ = info.name;
  applyCommandLayer(project_, id);
  const bool buttons = isDrawingCommand(id) && id != CMD_SPEAKER_LISTING && id != CMD_FACE_LIST;
  if (buttons && canDraw()) window_->showCommandButtons(true);
  if (info.snapshot && !session_.undo.beginStep(project_, undoLabel(info))) {
    // The command runs all the same, without a way back.
    showMessage("Insufficient memory for UNDO-buffer", "Warning !");
  }
  showPrompt("");
  info.handler(*this);
  // A command that left the model as it was takes no undo step.
  if (info.snapshot) session_.undo.endStep(project_);
  if (isDrawingCommand(id)) last_ = id;

  active_ = 0;
  drag_ = DragMode::None;
  builder_ = nullptr;
  lineMode_ = false;
  rubberWindow_ = false;
  face_.reset();
  // The node list points into the model, which the next command may change.
  nodeList_.clear();
  input_.selection = SelectionMode::None;
  closeRequested_ = false;
  settleLeftoverInput();
  if (canDraw()) {
    if (buttons) window_->showCommandButtons(false);
    greyMenus(false);
    commandName_.clear();
    window_->setPromptText("");
    updateOverlay();
    refreshStates();
  } else {
    commandName_.clear();
  }
}

void Shell::onMenuOpening() { refreshStates(); }

void Shell::showHelp() {
  const std::string anchor = active_ != 0 ? "cmd-" + std::to_string(active_) : std::string();
  if (!platform_.openHelp(session_.helpFile, anchor)) {
    showMessage("The manual " + session_.helpFile + " cannot be opened.");
  }
}

void Shell::onKeyDown(int key, bool ctrl) {
  (void)ctrl;
  switch (key) {
    case KEY_RETURN:
    case KEY_SPACE:
      if (active_ != 0) {
        queueInput(PendingKind::Finish, true);
      } else if (last_ != 0 && canDraw()) {
        window_->postCommand(last_);
      }
      return;
    case KEY_ESCAPE:
      queueInput(PendingKind::Cancel);
      return;
    case KEY_A:
    case KEY_R:
    case KEY_P:
      if (active_ != 0) typedPoint(key);
      return;
    default:
      break;
  }
  if (key >= keyF(1) && key <= keyF(4)) {
    selectViewMode(key - keyF(1));
    return;
  }
  if (key == keyF(5)) {
    if (::tav::zoomOut(view_)) redrawAll();
    retrackCursor();
    return;
  }
  if (key == keyF(6)) {
    zoomInByWindow();
    return;
  }
  if (key == keyF(7)) {
    zoomAll();
    return;
  }
  if (key == keyF(8)) {
    toggleHiddenBackfaces();
    return;
  }
  if (key == keyF(9)) {
    setCoordinateSnap(!project_.settings.cursorSnapOn);
    return;
  }
  if (key == keyF(11)) {
    setNodeSnap(!project_.settings.nodeSnapOn);
    return;
  }
  if (const auto arrow = arrowKeyOf(key)) {
    if (turnView(view_, project_.objects, *arrow)) redrawAll();
  }
}

void Shell::onPanelCommand(int id, DialogEventKind kind, DialogControls& panel) {
  (void)panel;
  if (kind != DialogEventKind::Clicked || !canDraw()) return;
  // The panel's buttons act as the keys of the main window.
  switch (id) {
    case PANEL_XY:
    case PANEL_YZ:
    case PANEL_XZ:
    case PANEL_3D:
      window_->postKey(keyF(1 + id - PANEL_XY));
      break;
    case PANEL_ZOOM_OUT:
      window_->postKey(keyF(5));
      break;
    case PANEL_ZOOM_IN:
      window_->postKey(keyF(6));
      break;
    case PANEL_ZOOM_ALL:
      window_->postKey(keyF(7));
      break;
    case PANEL_HIDDEN:
      window_->postKey(keyF(8));
      break;
    case PANEL_COORDINATE_SNAP:
      window_->postKey(keyF(9));
      break;
    case PANEL_NODE_SNAP:
      window_->postKey(keyF(11));
      break;
    case PANEL_PRINT:
      window_->postCommand(CMD_PRINT);
      break;
    case PANEL_COPY:
      window_->postCommand(CMD_COPY_TO_CLIPBOARD);
      break;
    case PANEL_COMMENT:
      editComment();
      break;
    default:
      break;
  }
}

}  // namespace tav
