#include "speakers/ui/select_speaker_dialog.h"

#include <filesystem>
#include <string>

#include "model/le_io.h"
#include "model/text_encoding.h"
#include "shell/command_context.h"
#include "speakers/speaker_database.h"

namespace tav {

namespace {

// The description of the type whose head the index holds (NUL-terminated
// in its 41 bytes).
std::string headDescription(const SpeakerDatabaseIndex& index) {
  const SpeakerType head = speakerTypeFromHead(index.currentHead);
  return fixedString(head.description);
}

class SelectSpeakerDialog : public DialogHandler {
 public:
  explicit SelectSpeakerDialog(SpeakerDatabaseIndex& index) : index_(index) {}

  void onInit(DialogControls& c) override {
    c.clearItems(SSD_LIST);
    for (const SpeakerDatabaseEntry& e : index_.entries) c.addItem(SSD_LIST, e.name);
    c.setSelection(SSD_LIST, index_.selection);
    showDescription(c, index_.selection);
  }

  void onCommand(int id, DialogEventKind kind, DialogControls& c) override {
    if (id == SSD_LIST && kind == DialogEventKind::SelectionChanged) {
      showDescription(c, c.selection(SSD_LIST));
    } else if (id == SSD_LIST && kind == DialogEventKind::DoubleClicked) {
      const int i = c.selection(SSD_LIST);
      if (i < 0) return;
      showDescription(c, i);
      choose(c, i);
    } else if (id == SSD_OK && kind == DialogEventKind::Clicked) {
      const int i = c.selection(SSD_LIST);
      if (i < 0) return;  // nothing to choose in an empty list
      // The head must be the chosen type's even when the list was not
      // touched since opening.
      selectDatabaseEntry(index_, i);
      c.clearItems(SSD_LIST);
      choose(c, i);
    } else if (id == SSD_CANCEL && kind == DialogEventKind::Clicked) {
      c.endDialog(DLG_CANCEL);
    }
  }

  std::optional<int> chosen() const { return chosen_; }

 private:
  void showDescription(DialogControls& c, int i) {
    if (selectDatabaseEntry(index_, i))
      c.setText(SSD_DESCRIPTION, cp1252ToUtf8(headDescription(index_)));
    else
      c.setText(SSD_DESCRIPTION, "");
  }
  void choose(DialogControls& c, int i) {
    index_.selection = i;
    chosen_ = i;
    c.endDialog(DLG_OK);
  }

  SpeakerDatabaseIndex& index_;
  std::optional<int> chosen_;
};

std::string startFolder(CommandContext& ctx) {
  const SpeakerDatabaseIndex& index = ctx.session().speakerDatabase;
  const std::string& last = ctx.session().history.speakerDatabasePath;
  const std::string path = !last.empty() ? last : index.path;
  const std::size_t slash = path.find_last_of('/');
  if (slash != std::string::npos) return path.substr(0, slash + 1);
  // None known yet: the bundled examples, where the example database lies.
  const std::string examples = ctx.session().dataFolder + "/examples";
  std::error_code ec;
  if (std::filesystem::is_directory(examples, ec)) return examples;
  return ctx.session().dataFolder;
}

}  // namespace

DialogTemplate selectSpeakerDialogTemplate() {
  DialogTemplate t;
  t.title = SELECT_SPEAKER_DIALOG_TITLE;
  t.controls.push_back(gridControl(-1, ControlKind::Label, "Speaker Name", 0, 0));
  t.controls.push_back(gridControl(-2, ControlKind::Label, "Description", 0, 1, 1, 2));
  ControlTemplate list = gridControl(SSD_LIST, ControlKind::ListBox, "", 1, 0);
  list.minWidth = 120;
  list.minHeight = 200;
  t.controls.push_back(list);
  ControlTemplate text =
      gridControl(SSD_DESCRIPTION, ControlKind::MultilineEdit, "", 1, 1, 1, 2, 0);
  text.minWidth = 220;
  t.controls.push_back(text);
  t.controls.push_back(gridControl(SSD_OK, ControlKind::DefaultButton, "OK", 2, 1));
  t.controls.push_back(gridControl(SSD_CANCEL, ControlKind::PushButton, "Cancel", 2, 2));
  return t;
}

bool loadSpeakerDatabase(CommandContext& ctx) {
  Session& session = ctx.session();
  FileDialogRequest request;
  request.title = SPEAKER_DATABASE_DIALOG_TITLE;
  request.filter = SPEAKER_DATABASE_FILTER;
  request.folder = startFolder(ctx);
  const std::optional<std::string> chosen = ctx.ui().openFileName(request);
  if (!chosen || chosen->empty()) return session.speakerDatabase.loaded();
  const DatabaseLoadResult r = tav::loadSpeakerDatabase(session.speakerDatabase, *chosen);
  if (!r.opened) return session.speakerDatabase.loaded();
  // The folder is remembered also after an unknown header: the next dialog
  // starts there.
  session.history.speakerDatabasePath =
      r.loaded ? session.speakerDatabase.path : speakerDatabasePath(*chosen);
  if (!r.message.empty()) ctx.ui().showMessage(r.message.text, r.message.caption);
  ctx.updateHistory();
  return session.speakerDatabase.loaded();
}

void runSelectSpeakerDatabase(CommandContext& ctx) {
  loadSpeakerDatabase(ctx);
  ctx.refreshStates();
}

std::optional<int> selectSpeakerType(CommandContext& ctx, int preselection) {
  SpeakerDatabaseIndex& index = ctx.session().speakerDatabase;
  if (!index.loaded()) {
    loadSpeakerDatabase(ctx);
    if (!index.loaded()) {
      ctx.ui().showMessage(MSG_MUST_LOAD_DATABASE);
      return std::nullopt;
    }
  }
  applyPreselection(index, preselection);
  SelectSpeakerDialog handler(index);
  runDialogOrReport(ctx.platform(), selectSpeakerDialogTemplate(), handler);
  return handler.chosen();
}

}  // namespace tav
