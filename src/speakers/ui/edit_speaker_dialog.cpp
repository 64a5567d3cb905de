#include "speakers/ui/edit_speaker_dialog.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "model/le_io.h"
#include "model/number_text.h"
#include "model/text_encoding.h"
#include "shell/command_context.h"
#include "speakers/speaker_editing.h"
#include "speakers/speaker_power.h"
#include "speakers/ui/equalizer_dialog.h"
#include "speakers/ui/select_speaker_dialog.h"

namespace tav {

namespace {

constexpr const char* BAND_LABELS[BAND_COUNT] = {"125", "250", "500", "1k", "2k", "4k", "8kHz"};
constexpr int NAME_LENGTH = 10;
constexpr int TYPE_NAME_LENGTH = 8;

std::string fmt(const char* format, double v) { return formatNumber(format, v); }

// Number fields that take the comma rule.
bool isNumberField(int id) {
  return (id >= ESD_X && id <= ESD_DELAY) ||
         (id >= ESD_GAIN_FIRST && id < ESD_GAIN_FIRST + BAND_COUNT);
}

// Upper-case text of at most `n` characters in the record's code page.
std::string readUpper(const DialogControls& c, int id, std::size_t n) {
  std::string text = utf8ToCp1252(c.text(id));
  for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  if (text.size() > n) text.resize(n);
  return text;
}

class EditSpeakerDialog : public DialogHandler {
 public:
  EditSpeakerDialog(CommandContext& ctx, PlacedSpeaker& speaker, std::string& typeName)
      : ctx_(ctx), s_(speaker), typeName_(typeName) {}

  void onInit(DialogControls& c) override {
    const Units& u = ctx_.units();
    c.setText(ESD_TYPE, cp1252ToUtf8(typeName_));
    c.setText(ESD_GROUP, cp1252ToUtf8(fixedString(s_.group)));
    c.setText(ESD_NAME, cp1252ToUtf8(fixedString(s_.name)));
    c.setText(ESD_X, fmt("%3.3f", u.lengthToDisplay(s_.position.x)));
    c.setText(ESD_X + 1, fmt("%3.3f", u.lengthToDisplay(s_.position.y)));
    c.setText(ESD_X + 2, fmt("%3.3f", u.lengthToDisplay(s_.position.z)));
    c.setText(ESD_HORIZONTAL, fmt("%3.0f", radiansToDialogDegrees(s_.horizontal)));
    c.setText(ESD_HORIZONTAL + 1, fmt("%3.0f", radiansToDialogDegrees(s_.vertical)));
    c.setText(ESD_HORIZONTAL + 2, fmt("%3.0f", radiansToDialogDegrees(s_.rotation)));
    c.setText(ESD_DELAY, fmt("%3.3f", s_.delay));
    c.setChecked(s_.isOn() ? ESD_ON : ESD_OFF, true);
    c.setChecked(s_.polarity >= 0 ? ESD_PLUS : ESD_MINUS, true);
    showBands(c);
  }

  void onCommand(int id, DialogEventKind kind, DialogControls& c) override {
    if (kind == DialogEventKind::Changed && isNumberField(id)) {
      const std::string text = c.text(id);
      if (text.find(',') != std::string::npos) c.setText(id, commasToPoints(text));
      return;
    }
    if (kind != DialogEventKind::Clicked) return;
    switch (id) {
      case ESD_TYPE_BUTTON:
        chooseType(c);
        break;
      case ESD_EQ:
        equalize(c);
        break;
      case ESD_OK:
        accept(c);
        break;
      case ESD_CANCEL:
        c.endDialog(DLG_CANCEL);
        break;
      default:
        break;
    }
  }

  bool accepted() const { return accepted_; }

 private:
  // Gains, powers and both sums from the record.
  void showBands(DialogControls& c) {
    double sumW = 0;
    for (int b = 0; b < BAND_COUNT; ++b) {
      c.setText(ESD_GAIN_FIRST + b, fmt("%3.1f", s_.eqGain[b]));
      c.setText(ESD_POWER_FIRST + b, fmt("%3.2f", s_.electricalPower[b]));
      sumW += s_.electricalPower[b];
    }
    c.setText(ESD_SUM_DB, fmt("%3.2f", totalDrive(s_.eqGain)));
    c.setText(ESD_SUM_W, fmt("%3.2f", sumW));
  }

  // Electrical powers of the record's gains for the current type head.
  void recomputePowers() {
    const SpeakerType head = speakerTypeFromHead(ctx_.session().speakerDatabase.currentHead);
    BandValues gains{};
    for (int b = 0; b < BAND_COUNT; ++b) gains[b] = s_.eqGain[b];
    const BandValues w = electricalPowers(gains, head.maxPower, s_.nominalPower);
    for (int b = 0; b < BAND_COUNT; ++b) s_.electricalPower[b] = static_cast<float>(w[b]);
  }

  void chooseType(DialogControls& c) {
    SpeakerDatabaseIndex& index = ctx_.session().speakerDatabase;
    const int current = index.find(utf8ToCp1252(c.text(ESD_TYPE)));
    const std::optional<int> chosen = selectSpeakerType(ctx_, current > 0 ? current : 0);
    if (!chosen) return;
    c.setText(ESD_TYPE, cp1252ToUtf8(index.entries[static_cast<std::size_t>(*chosen)].name));
    const SpeakerType head = speakerTypeFromHead(index.currentHead);
    applyChosenType(s_, head.maxPower);
    recomputePowers();
    showBands(c);
  }

  void equalize(DialogControls& c) {
    std::array<double, BAND_COUNT> gains{};
    for (int b = 0; b < BAND_COUNT; ++b) gains[b] = s_.eqGain[b];
    // A setting beyond the maximum power is refused while the equalizer
    // stays open with what the user set.
    const EqualizerCheck check = [](const BandValues& values) {
      UserMessage refusal;
      driveAcceptable(values, &refusal);
      return refusal;
    };
    if (!equalizerDialog(ctx_.platform(), gains, EQ_MODE_GAIN, std::nullopt, check)) return;
    for (int b = 0; b < BAND_COUNT; ++b) s_.eqGain[b] = static_cast<float>(gains[b]);
    recomputePowers();
    showBands(c);
  }

  // A field's number, or the old value when its text does not parse.
  static double number(const DialogControls& c, int id, double old) {
    const std::optional<double> v = parseNumberStrict(commasToPoints(c.text(id)));
    return v ? *v : old;
  }

  void accept(DialogControls& c) {
    const std::string type = readTypeName(c, ESD_TYPE, TYPE_NAME_LENGTH);
    if (type.empty()) {
      ctx_.ui().showMessage(MSG_SPEAKER_TYPE_MISSING);
      return;
    }
    // Angles beyond any sane turn are refused before anything is taken.
    std::optional<double> degrees[3];
    for (int k = 0; k < 3; ++k) {
      degrees[k] = parseNumberStrict(commasToPoints(c.text(ESD_HORIZONTAL + k)));
      if (degrees[k] && !dialogAngleAcceptable(*degrees[k])) {
        ctx_.ui().showMessage(MSG_INVALID_ENTRY);
        c.setFocus(ESD_HORIZONTAL + k);
        return;
      }
    }
    typeName_ = type;
    setFixedString(s_.group, readUpper(c, ESD_GROUP, NAME_LENGTH));
    setFixedString(s_.name, readUpper(c, ESD_NAME, NAME_LENGTH));
    const Units& u = ctx_.units();
    s_.position.x =
        static_cast<float>(u.lengthFromInput(number(c, ESD_X, u.lengthToDisplay(s_.position.x))));
    s_.position.y = static_cast<float>(
        u.lengthFromInput(number(c, ESD_X + 1, u.lengthToDisplay(s_.position.y))));
    s_.position.z = static_cast<float>(
        u.lengthFromInput(number(c, ESD_X + 2, u.lengthToDisplay(s_.position.z))));
    float* angles[3] = {&s_.horizontal, &s_.vertical, &s_.rotation};
    for (int k = 0; k < 3; ++k)
      if (degrees[k]) *angles[k] = static_cast<float>(dialogDegreesToRadians(*degrees[k]));
    s_.delay = static_cast<float>(number(c, ESD_DELAY, s_.delay));
    s_.switchedOn = c.checked(ESD_ON) ? 1 : 0;
    s_.polarity = c.checked(ESD_PLUS) ? 1 : -1;
    // The gains as shown, so with one decimal.
    for (int b = 0; b < BAND_COUNT; ++b)
      s_.eqGain[b] = static_cast<float>(number(c, ESD_GAIN_FIRST + b, s_.eqGain[b]));
    accepted_ = true;
    c.endDialog(DLG_OK);
  }

  // The type name is a key compared with case: read as it stands, only the
  // blanks around it dropped.
  static std::string readTypeName(const DialogControls& c, int id, std::size_t n) {
    std::string text = utf8ToCp1252(c.text(id));
    const auto first = text.find_first_not_of(' ');
    text = first == std::string::npos ? std::string() : text.substr(first);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    if (text.size() > n) text.resize(n);
    return text;
  }

  CommandContext& ctx_;
  PlacedSpeaker& s_;
  std::string& typeName_;
  bool accepted_ = false;
};

ControlTemplate numberEdit(int id, int row, int column) {
  ControlTemplate e = gridControl(id, ControlKind::Edit, "", row, column, 1, 1, CTL_NUMERIC);
  e.maxLength = 12;
  e.minWidth = 70;
  return e;
}

}  // namespace

DialogTemplate editSpeakerDialogTemplate() {
  DialogTemplate t;
  t.title = EDIT_SPEAKER_DIALOG_TITLE;
  auto& c = t.controls;
  int label = -1;
  auto text = [&](std::string s, int row, int column, int span = 1) {
    c.push_back(gridControl(label--, ControlKind::Label, std::move(s), row, column, 1, span));
  };
  c.push_back(gridControl(ESD_TYPE_BUTTON, ControlKind::PushButton, "Speaker Type", 0, 0, 1, 2));
  c.push_back(gridControl(ESD_TYPE, ControlKind::ReadOnlyEdit, "", 0, 2, 1, 2));
  text("Group :", 1, 0);
  c.push_back(gridControl(ESD_GROUP, ControlKind::Edit, "", 1, 1, 1, 2, CTL_UPPERCASE));
  c.back().maxLength = 10;
  text("Name :", 1, 3);
  c.push_back(gridControl(ESD_NAME, ControlKind::Edit, "", 1, 4, 1, 2, CTL_UPPERCASE));
  c.back().maxLength = 10;

  text("Coordinates", 2, 0, 2);
  text("Angles", 2, 3, 2);
  const char* axes[3] = {"X", "Y", "Z"};
  const char* angles[3] = {"Horiz.", "Vert.", "Rot."};
  for (int k = 0; k < 3; ++k) {
    text(axes[k], 3 + k, 0);
    c.push_back(numberEdit(ESD_X + k, 3 + k, 1));
    text(angles[k], 3 + k, 3);
    c.push_back(numberEdit(ESD_HORIZONTAL + k, 3 + k, 4));
  }
  text("Delay (ms)", 6, 0);
  c.push_back(numberEdit(ESD_DELAY, 6, 1));
  c.push_back(gridControl(ESD_ON, ControlKind::RadioButton, "On", 6, 3));
  c.back().group = 1;
  c.push_back(gridControl(ESD_OFF, ControlKind::RadioButton, "Off", 6, 4));
  c.back().group = 1;
  c.push_back(gridControl(ESD_PLUS, ControlKind::RadioButton, " +", 6, 5));
  c.back().group = 2;
  c.push_back(gridControl(ESD_MINUS, ControlKind::RadioButton, " -", 6, 6));
  c.back().group = 2;

  for (int b = 0; b < BAND_COUNT; ++b) {
    text(BAND_LABELS[b], 7, 1 + b);
    c.push_back(gridControl(ESD_GAIN_FIRST + b, ControlKind::ReadOnlyEdit, "", 8, 1 + b));
    c.back().minWidth = 52;
    c.push_back(gridControl(ESD_POWER_FIRST + b, ControlKind::ReadOnlyEdit, "", 9, 1 + b));
    c.back().minWidth = 52;
  }
  text("sum", 7, 8);
  text("dB", 8, 0);
  text("W", 9, 0);
  c.push_back(gridControl(ESD_SUM_DB, ControlKind::ReadOnlyEdit, "", 8, 8));
  c.back().minWidth = 60;
  c.push_back(gridControl(ESD_SUM_W, ControlKind::ReadOnlyEdit, "", 9, 8));
  c.back().minWidth = 60;
  c.push_back(gridControl(ESD_EQ, ControlKind::PushButton, "EQ", 10, 0));
  c.push_back(gridControl(ESD_OK, ControlKind::DefaultButton, "OK", 10, 5, 1, 2));
  c.push_back(gridControl(ESD_CANCEL, ControlKind::PushButton, "Cancel", 10, 7, 1, 2));
  return t;
}

bool editSpeakerDialog(CommandContext& ctx, PlacedSpeaker& speaker, std::string& typeName) {
  EditSpeakerDialog handler(ctx, speaker, typeName);
  runDialogOrReport(ctx.platform(), editSpeakerDialogTemplate(), handler);
  return handler.accepted();
}

}  // namespace tav
