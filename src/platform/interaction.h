// What a command asks of the user. Commands are straight-line code: they
// write a prompt, wait for the next input and read dialogs through this
// interface. The shell implements it on top of Platform and MainWindow.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tav {

enum class InputOutcome { PointGiven, Finished, Cancelled };

class Interaction {
 public:
  virtual ~Interaction() = default;
  // Writes the active command's name followed by text on the prompt line.
  virtual void showPrompt(std::string_view utf8) = 0;
  // Runs the event loop until a point is given, the input is finished
  // (right button, Enter, Space, "OK") or cancelled (Escape, "STOP", close,
  // application quitting).
  virtual InputOutcome waitForInput() = 0;
  virtual std::optional<std::string> inputLine(std::string_view prompt, std::string_view text,
                                               int maxLength) = 0;
  virtual MessageResult showMessage(std::string_view text, std::string_view caption = {},
                                    MessageButtons buttons = MessageButtons::Ok,
                                    MessageIcon icon = MessageIcon::None) = 0;
  virtual std::optional<std::string> openFileName(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> saveFileName(const FileDialogRequest& request) = 0;
  virtual void progressOpen(std::string_view title, std::string_view text,
                            std::string_view buttonText) = 0;
  virtual bool progressUpdate(int percent, std::string_view text) = 0;
  virtual void progressClose() = 0;
  // Dialogs, child windows, printing and the clipboard.
  virtual Platform& platform() = 0;
};

}  // namespace tav
