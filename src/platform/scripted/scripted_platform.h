// The platform for tests. User actions are queued in advance and handed to
// the main window's sink one per processEvents; when the queue runs dry
// while something waits, the platform quits, so a test never hangs.
// Message boxes, the input line, file dialogs, dialogs and windows answer
// from per-kind scripts and are recorded.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/audio/null_audio_output.h"
#include "platform/platform.h"
#include "platform/scripted/scripted_canvas.h"
#include "platform/scripted/scripted_dialog.h"
#include "platform/scripted/scripted_main_window.h"
#include "platform/scripted/scripted_window.h"

namespace tav {

struct MessageRecord {
  std::string text;
  std::string caption;  // as shown (default caption filled in)
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;
  MessageResult answer = MessageResult::Ok;
};

struct InputLineRecord {
  std::string prompt;
  std::string text;
  int maxLength = 0;
  std::optional<std::string> answer;
};

struct FileDialogRecord {
  bool save = false;
  FileDialogRequest request;
  std::optional<std::string> answer;
};

struct DialogRecord {
  std::string title;
  std::optional<int> result;  // nothing: the dialog could not be shown
  std::map<int, ControlState> finalState;
  std::vector<std::string> problems;
};

struct WindowRecord {
  std::string title;
  RgbImage finalPicture;
  std::vector<DrawCall> finalCalls;
  std::vector<std::string> problems;
};

enum class ProgressEventKind { Open, Update, Close };

struct ProgressRecord {
  ProgressEventKind kind = ProgressEventKind::Open;
  std::string title;  // Open
  std::string text;
  std::string buttonText;  // Open
  int percent = 0;         // Update
  int barWidth = 0;        // Update: pixels of the bar after it
  bool cancelled = false;  // Update: what it returned
};

struct PrintRecord {
  std::string title;
  std::vector<ScriptedCanvas> pages;
};

struct HelpRecord {
  std::string file;
  std::string anchor;
};

class ScriptedPlatform : public Platform {
 public:
  explicit ScriptedPlatform(int viewWidth = 800, int viewHeight = 600);
  ~ScriptedPlatform() override;

  // --- user actions, in order ---
  // A menu choice: the menu opens (onMenuOpening), then the item is chosen
  // if it exists and it and its top-level menu are enabled; else it is
  // recorded in ignoredMenuChoices().
  void pushMenu(int id);
  // A standard key sequence (Ctrl+S, ...): chooses the item bound to it as
  // pushMenu does; a sequence no item is bound to is recorded as a problem.
  void pushShortcut(StandardShortcut shortcut);
  // A command delivered as is (command buttons, items without a menu entry).
  void pushCommand(int id);
  void pushKey(int key, bool ctrl = false);
  void pushMouseMove(PixelPoint at, bool ctrl = false);
  // Move to the pixel, press and release (three queued events).
  void pushClick(PixelPoint at, MouseButton button = MouseButton::Left, bool ctrl = false);
  // A double click as the desktop delivers it after the move: press,
  // release, double-click, release.
  void pushDoubleClick(PixelPoint at, MouseButton button = MouseButton::Left);
  void pushMouseLeave();
  // delta in eighths of a degree (+120: one notch away from the user).
  void pushWheel(PixelPoint at, int delta);
  // Middle button pressed at `from`, moved to `to` and released there.
  void pushMiddleDrag(PixelPoint from, PixelPoint to);
  void pushScroll(const ScrollEvent& event);
  void pushCloseRequest();
  void pushResize(int width, int height);
  // A click on a 3D-panel control (check boxes toggle, radio buttons check).
  void pushPanelClick(int id);
  // Any test code, run in turn (e.g. to look at the state mid-command).
  void pushAction(std::function<void()> action);
  // What is pushed between these two is handed over in one processEvents,
  // as events that piled up while the program was busy.
  void beginBatch();
  void endBatch();
  std::size_t pendingEvents() const { return queue_.size(); }

  // --- answers ---
  void answerMessage(MessageResult answer);
  void answerInputLine(std::optional<std::string> answer);
  void answerOpenFile(std::optional<std::string> path);
  void answerSaveFile(std::optional<std::string> path);
  // Scripts for dialogs and windows by title, used in order.
  void scriptDialog(const std::string& title, DialogScript script);
  void failDialog(const std::string& title);  // it cannot be shown
  void scriptWindow(const std::string& title, WindowScript script);
  // progressUpdate reports Cancel from the n-th update on (1 = first). It
  // repaints a pending view but leaves queued user actions for the waits
  // that follow the calculation.
  void cancelProgressAtUpdate(int n) { cancelAtUpdate_ = n; }
  void setPrinterAvailable(bool on) { printerAvailable_ = on; }
  void setHelpAvailable(bool on) { helpAvailable_ = on; }
  // Called with each message box while it is shown (to look at the screen
  // behind it).
  std::function<void(const MessageRecord&)> messageShown;

  // --- records ---
  const std::vector<MessageRecord>& messages() const { return messages_; }
  const std::vector<InputLineRecord>& inputLines() const { return inputLines_; }
  const std::vector<FileDialogRecord>& fileDialogs() const { return fileDialogs_; }
  const std::vector<DialogRecord>& dialogs() const { return dialogs_; }
  const std::vector<WindowRecord>& windows() const { return windows_; }
  const std::vector<ProgressRecord>& progress() const { return progress_; }
  bool progressOpen() const { return progressOpen_; }
  const std::vector<PrintRecord>& prints() const { return prints_; }
  const std::vector<RgbImage>& clipboard() const { return clipboard_; }
  const std::vector<HelpRecord>& helpRequests() const { return help_; }
  const std::vector<int>& ignoredMenuChoices() const { return ignoredMenu_; }
  // Script steps that a user could not have done, and events with no window.
  const std::vector<std::string>& problems() const { return problems_; }
  // True when a wait found the queue empty and the platform quit.
  bool ranDry() const { return ranDry_; }
  ScriptedMainWindow* mainWindow() const { return window_; }

  // --- Platform ---
  std::unique_ptr<MainWindow> createMainWindow(MainWindowEvents& events) override;
  bool processEvents(bool wait) override;
  void quit() override { quitting_ = true; }
  bool quitting() const override { return quitting_; }
  MessageResult showMessage(std::string_view text, std::string_view caption = {},
                            MessageButtons buttons = MessageButtons::Ok,
                            MessageIcon icon = MessageIcon::None) override;
  std::optional<std::string> inputLine(std::string_view prompt, std::string_view text,
                                       int maxLength) override;
  std::optional<std::string> openFileName(const FileDialogRequest& request) override;
  std::optional<std::string> saveFileName(const FileDialogRequest& request) override;
  void progressOpen(std::string_view title, std::string_view text,
                    std::string_view buttonText) override;
  bool progressUpdate(int percent, std::string_view text) override;
  void progressClose() override;
  std::optional<int> runDialog(const DialogTemplate& dialog, DialogHandler& handler) override;
  bool runWindow(const ChildWindowSpec& spec, ChildWindowHandler& handler) override;
  std::unique_ptr<PrintJob> choosePrinter(std::string_view jobTitle) override;
  bool printPicture(std::string_view jobTitle, int width, int height,
                    const PaintFunction& paint) override;
  bool copyPictureToClipboard(int width, int height, const PaintFunction& paint) override;
  bool openHelp(std::string_view fileOrUrl, std::string_view anchor) override;
  AudioOutput& audio() override { return audio_; }
  // The sound output of the script (setDeviceAvailable(false): no card).
  NullAudioOutput& nullAudio() { return audio_; }

  // Page size of scripted printers: A4 at 100 dpi.
  static constexpr int PAGE_WIDTH = 827;
  static constexpr int PAGE_HEIGHT = 1169;
  static constexpr int PAGE_DPI = 100;

 private:
  friend class ScriptedPrintJob;
  void deliver(std::function<void(ScriptedMainWindow&)> action, const char* what);
  void enqueue(std::function<void()> action);

  int viewWidth_;
  int viewHeight_;
  ScriptedMainWindow* window_ = nullptr;
  std::deque<std::function<void()>> queue_;
  bool batching_ = false;
  std::vector<std::function<void()>> batch_;
  bool quitting_ = false;
  bool ranDry_ = false;

  std::deque<MessageResult> messageAnswers_;
  std::deque<std::optional<std::string>> inputAnswers_;
  std::deque<std::optional<std::string>> openAnswers_;
  std::deque<std::optional<std::string>> saveAnswers_;
  std::map<std::string, std::deque<DialogScript>> dialogScripts_;
  std::map<std::string, int> failingDialogs_;
  std::map<std::string, std::deque<WindowScript>> windowScripts_;
  int cancelAtUpdate_ = 0;
  int updates_ = 0;
  bool progressOpen_ = false;
  bool printerAvailable_ = true;
  bool helpAvailable_ = true;

  std::vector<MessageRecord> messages_;
  std::vector<InputLineRecord> inputLines_;
  std::vector<FileDialogRecord> fileDialogs_;
  std::vector<DialogRecord> dialogs_;
  std::vector<WindowRecord> windows_;
  std::vector<ProgressRecord> progress_;
  std::vector<PrintRecord> prints_;
  std::vector<RgbImage> clipboard_;
  std::vector<HelpRecord> help_;
  std::vector<int> ignoredMenu_;
  std::vector<std::string> problems_;
  NullAudioOutput audio_;
};

}  // namespace tav
