// The "Text" dialog.
#include "edit/ui/text_dialog.h"

#include "model/number_text.h"

namespace tav {

DialogTemplate textDialogTemplate() {
  DialogTemplate t;
  t.title = TITLE_TEXT_DIALOG;
  t.controls.push_back(gridControl(-1, ControlKind::Label, "Text Size", 0, 0));
  ControlTemplate size =
      gridControl(TEXT_FIELD_SIZE, ControlKind::Edit, "", 0, 1, 1, 1, CTL_NUMERIC);
  size.maxLength = 20;
  t.controls.push_back(size);
  t.controls.push_back(gridControl(-2, ControlKind::Label, " Angle \u00B0", 1, 0));
  ControlTemplate angle =
      gridControl(TEXT_FIELD_ANGLE, ControlKind::Edit, "", 1, 1, 1, 1, CTL_NUMERIC);
  angle.maxLength = 20;
  t.controls.push_back(angle);
  t.controls.push_back(gridControl(-3, ControlKind::Label, "Your Text :", 2, 0));
  ControlTemplate text = gridControl(TEXT_FIELD_TEXT, ControlKind::Edit, "", 2, 1);
  text.maxLength = TEXT_MAX_LENGTH;
  text.minWidth = 240;
  t.controls.push_back(text);
  t.controls.push_back(gridControl(DLG_OK, ControlKind::DefaultButton, "OK", 3, 0));
  t.controls.push_back(gridControl(DLG_CANCEL, ControlKind::PushButton, "Cancel", 3, 1));
  return t;
}

void TextDialogHandler::onInit(DialogControls& c) {
  c.setText(TEXT_FIELD_SIZE, formatNumber("%3.2f", height_ == 0.0 ? 1.0 : height_));
  c.setText(TEXT_FIELD_ANGLE, formatNumber("%3.2f", angle_));
  c.setText(TEXT_FIELD_TEXT, "");
  c.setFocus(TEXT_FIELD_TEXT);
}

void TextDialogHandler::onCommand(int id, DialogEventKind kind, DialogControls& c) {
  if (kind != DialogEventKind::Clicked) return;
  if (id == DLG_OK) {
    TextRequest r;
    r.height = parseNumber(c.text(TEXT_FIELD_SIZE));
    r.angle = parseNumber(c.text(TEXT_FIELD_ANGLE));
    r.text = c.text(TEXT_FIELD_TEXT);
    result_ = r;
    c.endDialog(DLG_OK);
  } else if (id == DLG_CANCEL) {
    result_.reset();
    c.endDialog(DLG_CANCEL);
  }
}

}  // namespace tav
