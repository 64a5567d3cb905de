// The "Text" dialog of Draw Text: height, angle and the text itself.
#pragma once

#include <optional>
#include <string>

#include "platform/dialog.h"

namespace tav {

inline constexpr const char* TITLE_TEXT_DIALOG = "Text";
constexpr int TEXT_FIELD_SIZE = 101;
constexpr int TEXT_FIELD_ANGLE = 102;
constexpr int TEXT_FIELD_TEXT = 103;
constexpr int TEXT_MAX_LENGTH = 79;

DialogTemplate textDialogTemplate();

struct TextRequest {
  double height = 0.0;  // in the display unit
  double angle = 0.0;   // degrees
  std::string text;     // UTF-8
};

// Offers the height (in the display unit; 0 is offered as 1) and the angle,
// "%3.2f" each; the text starts empty. Nothing on Cancel.
class TextDialogHandler : public DialogHandler {
 public:
  TextDialogHandler(double height, double angle) : height_(height), angle_(angle) {}
  void onInit(DialogControls& c) override;
  void onCommand(int id, DialogEventKind kind, DialogControls& c) override;
  const std::optional<TextRequest>& result() const { return result_; }

 private:
  double height_;
  double angle_;
  std::optional<TextRequest> result_;
};

}  // namespace tav
