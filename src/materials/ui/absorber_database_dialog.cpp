#include "materials/ui/absorber_database_dialog.h"

#include <algorithm>
#include <optional>

#include "materials/ui/absorber_database_files.h"
#include "materials/ui/absorber_dialog_common.h"
#include "model/number_text.h"
#include "platform/interaction.h"

namespace tav {

namespace {

constexpr const char* TEXT_NEW = "New";
constexpr const char* TEXT_EDIT = "Edit";
constexpr const char* TEXT_OK = "OK";
constexpr const char* TEXT_CANCEL = "Cancel";
constexpr const char* TEXT_QUIT = "Quit";

// The first n characters (code points) of a UTF-8 text.
std::string firstChars(const std::string& s, int n) {
  int count = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 && count++ == n) return s.substr(0, i);
  }
  return s;
}

// A coefficient field as stored: its first four characters read as a number
// (decimal comma allowed); nothing for text that is no number or lies
// outside 0..1.
std::optional<float> readCoefficient(const std::string& text) {
  const std::optional<double> v = parseNumberStrict(firstChars(text, ADB_COEFFICIENT_MAX));
  if (!v || !(*v >= 0.0 && *v <= 1.0)) return std::nullopt;
  return static_cast<float>(*v);
}

}  // namespace

DialogTemplate absorberDatabaseDialogTemplate() {
  DialogTemplate t;
  t.title = ABSORBER_DB_DIALOG_TITLE;
  auto add = [&](ControlTemplate c) { t.controls.push_back(std::move(c)); };

  ControlTemplate list = gridControl(ADB_LIST, ControlKind::ListBox, "", 0, 0, 13, 1);
  list.minWidth = 190;
  list.minHeight = 300;
  add(list);

  add(gridControl(0, ControlKind::Label, "Material", 0, 1));
  ControlTemplate name = gridControl(ADB_NAME, ControlKind::Edit, "", 0, 2, 1, 3, CTL_DISABLED);
  name.maxLength = ADB_NAME_MAX;
  add(name);
  add(gridControl(0, ControlKind::Label, "Category", 1, 1));
  ControlTemplate category = gridControl(ADB_CATEGORY, ControlKind::MultilineEdit, "", 1, 2, 2, 3);
  category.maxLength = ADB_TEXT_MAX;
  category.minHeight = 40;
  add(category);
  add(gridControl(0, ControlKind::Label, "Description", 3, 1));
  ControlTemplate description =
      gridControl(ADB_DESCRIPTION, ControlKind::MultilineEdit, "", 3, 2, 2, 3, CTL_DISABLED);
  description.maxLength = ADB_TEXT_MAX;
  description.minHeight = 40;
  add(description);

  add(gridControl(0, ControlKind::Label, "Absorption", 5, 1));
  add(gridControl(0, ControlKind::Label, "Coefficients", 6, 1));
  for (int band = 0; band < 7; ++band) {
    add(gridControl(0, ControlKind::Label, ABSORBER_BAND_LABELS[static_cast<std::size_t>(band)],
                    5 + band, 2, 1, 1, CTL_RIGHT));
    ControlTemplate alpha = gridControl(ADB_ALPHA_FIRST + band, ControlKind::Edit, "1.00", 5 + band,
                                        3, 1, 1, CTL_NUMERIC | CTL_DISABLED);
    alpha.maxLength = ADB_COEFFICIENT_MAX;
    alpha.minWidth = 60;
    add(alpha);
    add(gridControl(0, ControlKind::Label, "Hz", 5 + band, 4));
  }

  add(gridControl(ADB_NEW_OK, ControlKind::PushButton, TEXT_NEW, 12, 1));
  add(gridControl(ADB_EDIT_CANCEL, ControlKind::PushButton, TEXT_EDIT, 12, 2));
  add(gridControl(ADB_QUIT, ControlKind::PushButton, TEXT_QUIT, 12, 3));
  return t;
}

void AbsorberDatabaseDialog::onInit(DialogControls& c) {
  fillMaterialList(c, ADB_LIST, database_.records);
  state_ = AbsorberEditState::Browse;
  modified_ = false;
  current_ = 0;
  clearFields(c);
  toBrowse(c);
  // The first record is selected and shown, so "Edit" works on what is seen.
  if (database_.count() > 0) {
    c.setSelection(ADB_LIST, 0);
    showRecord(c, 0);
  }
}

void AbsorberDatabaseDialog::showRecord(DialogControls& c, int index, bool withCategory) {
  if (index < 0 || static_cast<std::size_t>(index) >= database_.count()) return;
  const AbsorberMaterial& m = database_.records[static_cast<std::size_t>(index)];
  c.setText(ADB_NAME, materialName(m));
  c.setText(ADB_DESCRIPTION, materialDescription(m));
  if (withCategory) c.setText(ADB_CATEGORY, materialCategory(m));
  for (int band = 0; band < 7; ++band)
    c.setText(ADB_ALPHA_FIRST + band, formatCoefficient(m.alpha[static_cast<std::size_t>(band)]));
}

void AbsorberDatabaseDialog::clearFields(DialogControls& c) {
  c.setText(ADB_NAME, "");
  c.setText(ADB_DESCRIPTION, "");
  for (int id = ADB_ALPHA_FIRST; id <= ADB_ALPHA_LAST; ++id) c.setText(id, formatCoefficient(1.0));
}

void AbsorberDatabaseDialog::setWritable(DialogControls& c, bool on) {
  // Name, description and coefficients are read-only while browsing; the
  // category stays editable but is stored only by "OK".
  for (int id = ADB_NAME; id <= ADB_ALPHA_LAST; ++id) c.enable(id, on);
}

void AbsorberDatabaseDialog::toBrowse(DialogControls& c) {
  state_ = AbsorberEditState::Browse;
  c.setText(ADB_NEW_OK, TEXT_NEW);
  c.setText(ADB_EDIT_CANCEL, TEXT_EDIT);
  c.show(ADB_EDIT_CANCEL, database_.count() > 0);
  c.show(ADB_QUIT, true);
  setWritable(c, false);
  c.enable(ADB_LIST, true);
}

void AbsorberDatabaseDialog::onCommand(int id, DialogEventKind kind, DialogControls& c) {
  if (id == ADB_LIST && kind == DialogEventKind::SelectionChanged) {
    // Another record can be chosen only while browsing (the list is
    // disabled while adding or editing).
    const int selected = c.selection(ADB_LIST);
    if (state_ != AbsorberEditState::Browse || selected < 0) return;
    current_ = selected;
    showRecord(c, current_);
    c.setText(ADB_EDIT_CANCEL, TEXT_EDIT);
    return;
  }
  if (id >= ADB_ALPHA_FIRST && id <= ADB_ALPHA_LAST && kind == DialogEventKind::Changed) {
    // Decimal commas become points as they are typed: "0,35" is 0.35.
    std::string text = c.text(id);
    if (text.find(',') == std::string::npos) return;
    std::replace(text.begin(), text.end(), ',', '.');
    c.setText(id, text);
    return;
  }
  if (kind != DialogEventKind::Clicked) return;
  switch (id) {
    case ADB_NEW_OK:
      pressNewOrOk(c);
      break;
    case ADB_EDIT_CANCEL:
      pressEditOrCancel(c);
      break;
    case ADB_QUIT:
      if (state_ == AbsorberEditState::Browse) {
        askToSave(c);
        c.endDialog(1);
      }
      break;
    default:
      break;
  }
}

void AbsorberDatabaseDialog::pressNewOrOk(DialogControls& c) {
  if (state_ != AbsorberEditState::Browse) {
    commit(c);
    return;
  }
  if (database_.full()) {
    ui_.showMessage(MSG_ABSORBER_DB_FULL);
    return;
  }
  beforeNew_ =
      current_ >= 0 && static_cast<std::size_t>(current_) < database_.count() ? current_ : -1;
  state_ = AbsorberEditState::New;
  current_ = static_cast<int>(database_.count());
  c.show(ADB_QUIT, false);
  c.setText(ADB_NEW_OK, TEXT_OK);
  c.setText(ADB_EDIT_CANCEL, TEXT_CANCEL);
  c.show(ADB_EDIT_CANCEL, true);
  c.enable(ADB_LIST, false);
  setWritable(c, true);
  c.setText(ADB_NAME, TEXT_NEW);
  c.setFocus(ADB_NAME);
}

void AbsorberDatabaseDialog::pressEditOrCancel(DialogControls& c) {
  switch (state_) {
    case AbsorberEditState::Browse:
      // Only an existing record can be edited.
      if (current_ < 0 || static_cast<std::size_t>(current_) >= database_.count()) return;
      state_ = AbsorberEditState::Edit;
      c.show(ADB_QUIT, false);
      c.setText(ADB_NEW_OK, TEXT_OK);
      c.setText(ADB_EDIT_CANCEL, TEXT_CANCEL);
      c.enable(ADB_LIST, false);
      setWritable(c, true);
      break;
    case AbsorberEditState::Edit:
      showRecord(c, current_);
      toBrowse(c);
      break;
    case AbsorberEditState::New:
      // Back to the record that was shown before "New", so that the fields
      // and the current record agree again.
      if (beforeNew_ >= 0) {
        current_ = beforeNew_;
        showRecord(c, current_);
        c.setSelection(ADB_LIST, current_);
      } else {
        current_ = 0;
        clearFields(c);
      }
      toBrowse(c);
      break;
  }
}

void AbsorberDatabaseDialog::commit(DialogControls& c) {
  std::array<float, 7> alpha{};
  for (int band = 0; band < 7; ++band) {
    const std::optional<float> v = readCoefficient(c.text(ADB_ALPHA_FIRST + band));
    if (!v) {
      ui_.showMessage(MSG_VALID_COEFFICIENTS);
      return;
    }
    alpha[static_cast<std::size_t>(band)] = *v;
  }
  const std::string name = c.text(ADB_NAME);
  if (name.empty()) {
    // An empty name marks a free slot in a project's table.
    ui_.showMessage(MSG_MATERIAL_NAME_MISSING);
    return;
  }

  const bool adding = state_ == AbsorberEditState::New;
  if (adding && database_.full()) {
    ui_.showMessage(MSG_ABSORBER_DB_FULL);
    return;
  }
  AbsorberMaterial record;
  if (!adding) record = database_.records[static_cast<std::size_t>(current_)];
  storeMaterialText(record.name, name, ADB_NAME_MAX);
  storeMaterialText(record.description, c.text(ADB_DESCRIPTION), ADB_TEXT_MAX);
  storeMaterialText(record.category, c.text(ADB_CATEGORY), ADB_TEXT_MAX);
  record.alpha = alpha;

  if (adding) {
    database_.records.push_back(record);
    current_ = static_cast<int>(database_.count() - 1);
    c.addItem(ADB_LIST, materialName(record));
  } else {
    database_.records[static_cast<std::size_t>(current_)] = record;
    fillMaterialList(c, ADB_LIST, database_.records);
  }
  c.setSelection(ADB_LIST, current_);
  modified_ = true;
  toBrowse(c);
  showRecord(c, current_);
}

void AbsorberDatabaseDialog::askToSave(DialogControls& c) {
  if (modified_ &&
      ui_.showMessage(MSG_DATABASE_MODIFIED, MSG_DATABASE_MODIFIED_CAPTION,
                      MessageButtons::OkCancel, MessageIcon::Warning) == MessageResult::Ok) {
    saveAbsorberDatabase(ui_, database_);
  }
  c.clearItems(ADB_LIST);
}

bool AbsorberDatabaseDialog::onClose(DialogControls& c) {
  askToSave(c);
  return true;  // ends with DLG_CANCEL, reported as 0
}

int editAbsorberDatabase(Interaction& ui, AbsorberDatabase& database) {
  AbsorberDatabaseDialog handler(ui, database);
  const int result = runDialogOrReport(ui.platform(), absorberDatabaseDialogTemplate(), handler);
  return result == 1 ? 1 : 0;
}

}  // namespace tav
