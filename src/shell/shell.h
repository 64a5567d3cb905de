// The application shell: start-up and exit, the main window's events, the
// message loop with its nested waits, command dispatch with the menu-state
// rules, keys, mouse tracking with both snaps, typed points, the selection
// services and the drag previews. It is the CommandContext every command
// receives and the Interaction commands talk through.
//
// A test drives it like a user through the scripted platform:
//
//   ScriptedPlatform platform;
//   Shell shell(platform, {.historyPath = tempDir / "HISTORY.TVX"});
//   registerEditCommands(shell.registry());
//   shell.start();
//   platform.pushMenu(CMD_ROOM_RECTANGLE);
//   platform.pushClick(shell.pixelOf({0, 0, 0}));
//   platform.pushClick(shell.pixelOf({10, 5, 0}));
//   shell.run();  // returns when the script has run dry
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/model_observer.h"
#include "model/project.h"
#include "platform/interaction.h"
#include "platform/main_window.h"
#include "platform/platform.h"
#include "shell/command_context.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/session.h"
#include "view/view_state.h"

namespace tav {

// The version in the title: "Taviron 2.90 > NAME".
inline constexpr const char* TAVIRON_TITLE_PREFIX = "Taviron 2.90 > ";

struct ShellOptions {
  std::string historyPath;      // empty: defaultHistoryPath()
  std::string dataFolder;       // empty: the bundled data folder
  std::string helpFile;         // empty: the bundled manual (docs/manual.html)
  std::string homeFolder = {};  // where Save as starts for a new project; empty: $HOME
};

class Shell final : public CommandContext, public Interaction, public MainWindowEvents {
 public:
  explicit Shell(Platform& platform, ShellOptions options = {});
  ~Shell() override;
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  // The shell's own commands (File, Edit, View, Options) are registered on
  // construction; subsystems add theirs here, before or after start().
  CommandRegistry& registry() { return registry_; }

  // Start-up: new project, main window with menu bar and 3D panel, history,
  // built-in resources, XY view, title. False when no window can be made.
  bool start();
  // Opens a project as File > Open does after its dialog (no discard
  // question). False with the message shown when it cannot be read.
  bool openProjectFile(const std::string& path);
  // The message loop until the application quits. Returns the exit code.
  int run();

  // --- state for the program and tests ---
  MainWindow* mainWindow() const { return window_.get(); }
  int activeCommand() const { return active_; }
  int lastCommand() const { return last_; }
  const std::string& commandName() const { return commandName_; }
  // Pixel of a model point in the current view (for scripted clicks).
  PixelPoint pixelOf(const Node& point);
  // Injects the random source of face selection.
  void setRandomSource(RandomSource source) { random_ = std::move(source); }
  // True once the main window has been destroyed.
  bool closed() const { return closed_; }
  // Sends the menu and panel states to the window (as when a menu opens).
  void refreshStates() override;

  // --- CommandContext ---
  Project& project() override { return project_; }
  Session& session() override { return session_; }
  Interaction& ui() override { return *this; }
  int command() const override { return active_; }
  void setCommandName(std::string_view name) override;
  InputState& input() override { return input_; }
  InputOutcome askBasePoint() override;
  int selectObjects() override;
  std::size_t selectNodes() override;
  std::vector<SelectedNode>& nodeList() override { return nodeList_; }
  std::optional<FaceSelection> selectFace() override;
  void startDrag(DragMode mode, PreviewBuilder builder = {}) override;
  void stopDrag() override;
  void setLineMode(bool on) override;
  ViewState& view() override { return view_; }
  void redrawAll() override;
  void drawObject(const ModelObject& object) override;
  void eraseObject(const ModelObject& object) override;
  void drawOnView(const PaintFunction& paint) override;
  void zoomAll() override;
  void rebuildGrid() override;
  ViewDrawContext drawContext() override;
  void setModified() override;
  void updateTitle() override;
  void updateHistory() override;

  // --- Interaction ---
  void showPrompt(std::string_view utf8) override;
  InputOutcome waitForInput() override;
  std::optional<std::string> inputLine(std::string_view prompt, std::string_view text,
                                       int maxLength) override;
  MessageResult showMessage(std::string_view text, std::string_view caption = {},
                            MessageButtons buttons = MessageButtons::Ok,
                            MessageIcon icon = MessageIcon::None) override;
  std::optional<std::string> openFileName(const FileDialogRequest& request) override;
  std::optional<std::string> saveFileName(const FileDialogRequest& request) override;
  void progressOpen(std::string_view title, std::string_view text,
                    std::string_view buttonText) override;
  bool progressUpdate(int percent, std::string_view text) override;
  void progressClose() override;
  Platform& platform() override { return platform_; }

  // --- MainWindowEvents ---
  void onCommand(int id) override;
  void onMenuOpening() override;
  void onKeyDown(int key, bool ctrl) override;
  void onMouse(const MouseEvent& event) override;
  void onMouseLeave() override;
  void onWheel(const WheelEvent& event) override;
  void onScroll(const ScrollEvent& event) override;
  void onResize(int width, int height) override;
  void onCloseRequest() override;
  void onPaint(Canvas& canvas) override;
  void onPanelCommand(int id, DialogEventKind kind, DialogControls& panel) override;

  // --- the shell's own operations (File, View, Options; shell_commands.cpp) ---
  // "Current project status has not been saved" with Save, Discard and
  // Cancel: true to go on (saved, or discarded), false to stay.
  bool confirmDiscard();
  void newProjectCommand();
  void openProjectCommand();
  // Save as; true once the file is written.
  bool saveProjectAsCommand();
  // Save: writes to the current name (backup and atomic replacement as Save
  // as does); a project that has no file yet goes through Save as. True once
  // the file is written.
  bool saveProjectCommand();
  void openRecentProject(int index);
  void exitCommand();
  void importObjectsCommand(std::uint32_t targetLayer);
  void printView();
  void copyViewToClipboard();
  void selectViewMode(int mode);
  void toggleHiddenBackfaces(std::optional<bool> on = std::nullopt);
  void setCoordinateSnap(bool on);
  void setNodeSnap(bool on);
  void setUnits(bool feet);
  void editComment();
  void zoomInByWindow();
  void zoomWindowCommand();
  void eyePointCommand();
  void optionInput(int command);
  void toggleLayer(int command);
  void undoRedo(bool redo);
  void showHelp();
  // Fills the 3D panel's buttons from the states (private command 400) and
  // its coordinate fields from the current point (private command 300).
  void refreshPanel();
  void refreshCoordinates();

 private:
  class Observer : public ModelObserver {
   public:
    explicit Observer(Shell& shell) : shell_(shell) {}
    void objectChanged(const ModelObject& object) override { shell_.drawObject(object); }
    void modelChanged() override { shell_.redrawAll(); }

   private:
    Shell& shell_;
  };

  void registerOwnCommands();
  void dispatch(int id, const CommandInfo& info);
  void greyMenus(bool grey);
  void applyLoadedProject(Project&& loaded);
  void trackMouse(PixelPoint pixel);
  void afterPointInput();
  void typedPoint(int key);
  void paintOverlay(Canvas& canvas);
  void updateOverlay();
  void closeWindow();
  bool canDraw() const { return window_ && !closed_; }
  // Navigation beside the described keys (shell_navigation.cpp): true when
  // the event was a middle-button pan.
  bool panWithMiddleButton(const MouseEvent& event);
  // After the view moved under a resting mouse: the point under the
  // cross-hair and the coordinate fields follow, as after a mouse move.
  void retrackCursor();
  // Writes the project to a path and tells the title and the history.
  bool writeProjectTo(const std::string& path);

  Platform& platform_;
  ShellOptions options_;
  CommandRegistry registry_;
  Project project_;
  Session session_;
  ViewState view_;
  InputState input_;
  Observer observer_{*this};
  std::unique_ptr<MainWindow> window_;

  int active_ = 0;  // running command, 0 when idle
  int last_ = 0;    // last finished command of 1000..4999
  std::string commandName_;
  std::vector<SelectedNode> nodeList_;
  std::vector<NodeRef> nodeRefs_;  // nodeList_ as the drawing code takes it
  RandomSource random_;
  bool closed_ = false;

  // Inputs the running command has yet to read, in the order the user gave
  // them: a batch of events dispatched together (a busy moment, a double
  // click) still gives every press its own point.
  enum class PendingKind { Point, Finish, Cancel };
  struct PendingInput {
    PendingKind kind = PendingKind::Point;
    Node point;            // Point: the current point when it was given
    PixelPoint pixel;      // Point: the cross-hair position then
    bool repeats = false;  // Enter, Space or the right button: when idle, repeats the last command
  };
  void queueInput(PendingKind kind, bool repeats = false);
  // After a command: inputs it left unread count as given while idle.
  void settleLeftoverInput();
  std::deque<PendingInput> pending_;
  int replayFor_ = 0;  // the repeated command the kept inputs belong to
  // The window was asked to close while the command runs: waits and the
  // progress window report Cancel until the command ends.
  bool closeRequested_ = false;
  // Previews and the cross-hair.
  DragMode drag_ = DragMode::None;
  PreviewBuilder builder_;
  bool lineMode_ = false;
  bool rubberWindow_ = false;          // zoom window: rectangle from windowCorner
  bool crossHidden_ = false;           // Ctrl held or a typed-point dialog open
  std::optional<FaceSelection> face_;  // highlighted by face selection
  // The last mouse pixel in the view (before any snap) and a middle-button
  // pan in progress with the pixel it last moved from.
  PixelPoint mousePixel_{};
  bool panning_ = false;
  PixelPoint panFrom_{};
};

}  // namespace tav
