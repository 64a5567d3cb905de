// The services of the desktop: event pump for nested loops, message boxes,
// the one-line input, file dialogs, the progress window, dialogs, child
// windows, printing, clipboard and help. Qt and scripted implementations.
#pragma once

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/canvas.h"
#include "platform/child_window.h"
#include "platform/dialog.h"

namespace tav {

class AudioOutput;
class MainWindow;
class MainWindowEvents;

// OkCancelDefaultCancel: OK and Cancel with Cancel as the default button.
// SaveDiscardCancel: the unsaved-work question, Cancel as the default.
enum class MessageButtons {
  Ok,
  OkCancel,
  OkCancelDefaultCancel,
  YesNo,
  YesNoCancel,
  RetryCancel,
  SaveDiscardCancel
};
enum class MessageIcon { None, Information, Question, Warning, Stop };
enum class MessageResult { Ok, Cancel, Yes, No, Retry, Save, Discard };

// Caption of a message box shown without one (the classic desktop default).
constexpr const char* MESSAGE_DEFAULT_CAPTION = "Error";
inline std::string_view messageCaptionOrDefault(std::string_view caption) {
  return caption.empty() ? std::string_view(MESSAGE_DEFAULT_CAPTION) : caption;
}

struct FileDialogRequest {
  std::string title;
  // "Description|*.ext|Description 2|*.a;*.b|" (pairs, each part ended by '|').
  std::string filter;
  std::string folder;            // start folder; empty = current directory
  std::string fileName;          // proposed name (save) or preselected file
  std::string defaultExtension;  // appended on save when the name has none, e.g. "TPR"
  bool overwritePrompt = true;   // save: ask before replacing a file
};

// Progress window geometry: the bar is filled from x = 10 to 10 + width.
constexpr int PROGRESS_BAR_MAX = 140;
inline int progressBarWidth(int percent) {
  if (percent <= 0) return 0;
  if (percent >= 100) return PROGRESS_BAR_MAX;
  return percent * PROGRESS_BAR_MAX / 100;
}

// A print job from choosePrinter. Draw on canvas() between startPage and
// endPage; canvas() reports the page size in device pixels and the dpi.
class PrintJob {
 public:
  virtual ~PrintJob() = default;
  virtual bool startPage() = 0;
  virtual Canvas& canvas() = 0;
  virtual bool endPage() = 0;
  virtual bool endJob() = 0;  // also ends an open page
  virtual void abort() = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // The main window; the platform keeps a pointer to it as the owner of
  // message boxes and dialogs until it is destroyed.
  virtual std::unique_ptr<MainWindow> createMainWindow(MainWindowEvents& events) = 0;

  // Dispatches pending events; with wait, blocks until at least one arrived.
  // Returns false once the application is quitting.
  virtual bool processEvents(bool wait) = 0;
  virtual void quit() = 0;
  virtual bool quitting() const = 0;

  virtual MessageResult showMessage(std::string_view text, std::string_view caption = {},
                                    MessageButtons buttons = MessageButtons::Ok,
                                    MessageIcon icon = MessageIcon::None) = 0;
  // One-line input titled by the prompt, starting with text; OK returns at
  // most maxLength characters (0 = unlimited), Cancel nothing.
  virtual std::optional<std::string> inputLine(std::string_view prompt, std::string_view text,
                                               int maxLength) = 0;
  virtual std::optional<std::string> openFileName(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> saveFileName(const FileDialogRequest& request) = 0;

  // One progress window at a time; buttonText empty = no Cancel button.
  virtual void progressOpen(std::string_view title, std::string_view text,
                            std::string_view buttonText) = 0;
  // Dispatches pending events first; true when the user cancelled.
  virtual bool progressUpdate(int percent, std::string_view text) = 0;
  virtual void progressClose() = 0;

  // Modal dialog; nothing when it cannot be shown (see runDialogOrReport).
  virtual std::optional<int> runDialog(const DialogTemplate& dialog, DialogHandler& handler) = 0;
  // Modal child window until closed; false when it cannot be shown.
  virtual bool runWindow(const ChildWindowSpec& spec, ChildWindowHandler& handler) = 0;

  // The user picks a printer (PDF output available); nothing on Cancel.
  virtual std::unique_ptr<PrintJob> choosePrinter(std::string_view jobTitle) = 0;
  // Prints a picture of width x height pixels fitted to one page.
  virtual bool printPicture(std::string_view jobTitle, int width, int height,
                            const PaintFunction& paint) = 0;
  // Puts a picture of width x height pixels on the clipboard as an image.
  virtual bool copyPictureToClipboard(int width, int height, const PaintFunction& paint) = 0;

  // Shows a help document (local file path or URL) at an anchor (may be
  // empty): a local manual in the program's own help window, which offers
  // the system's web browser as a second choice. False when the document
  // cannot be found.
  virtual bool openHelp(std::string_view fileOrUrl, std::string_view anchor) = 0;

  // The wave-output device and the sound-file player (platform/audio.h).
  virtual AudioOutput& audio() = 0;
};

}  // namespace tav
