#include "materials/ui/face_listing_dialog.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "materials/face_listing.h"
#include "materials/project_materials.h"
#include "materials/ui/absorber_database_files.h"
#include "materials/ui/material_commands.h"
#include "materials/ui/room_summary_print.h"
#include "materials/ui/select_material_dialog.h"
#include "model/number_text.h"
#include "reflections/face_table.h"
#include "shell/command_context.h"

namespace tav {

namespace {

constexpr const char* BAND_LABELS[7] = {"125 Hz", "250 Hz", "500 Hz", "1 kHz",
                                        "2 kHz",  "4 kHz",  "8 kHz"};

std::string format(const char* fmt, double v) { return formatNumber(fmt, v); }

std::string areaText(const char* fmt, double area, bool feet) {
  return format(fmt, area) + (feet ? " ft\u00B2" : " m\u00B2");
}

// A group of absorption edits with its labels, rows `row`..`row` + 2.
void addGroup(DialogTemplate& t, const char* title, int row, int firstEdit, int areaEdit,
              const char* areaLabel, int shareEdit) {
  t.controls.push_back(gridControl(0, ControlKind::GroupBox, title, row, 1, 3, 9));
  for (int b = 0; b < 7; ++b) {
    t.controls.push_back(gridControl(0, ControlKind::Label, BAND_LABELS[b], row + 1, 1 + b));
    ControlTemplate edit =
        gridControl(firstEdit + b, ControlKind::ReadOnlyEdit, "", row + 2, 1 + b);
    edit.minWidth = 52;
    t.controls.push_back(edit);
  }
  t.controls.push_back(gridControl(0, ControlKind::Label, areaLabel, row + 1, 8));
  ControlTemplate area = gridControl(areaEdit, ControlKind::ReadOnlyEdit, "", row + 2, 8);
  area.minWidth = 72;
  t.controls.push_back(area);
  if (shareEdit > 0) {
    t.controls.push_back(gridControl(0, ControlKind::Label, "Share", row + 1, 9));
    ControlTemplate share = gridControl(shareEdit, ControlKind::ReadOnlyEdit, "", row + 2, 9);
    share.minWidth = 52;
    t.controls.push_back(share);
  }
}

AbsorberDatabase& absorberDatabase(CommandContext& ctx) {
  Session& session = ctx.session();
  if (session.absorberDatabase.folder.empty())
    restoreAbsorberFolder(session.absorberDatabase, session.history);
  return session.absorberDatabase;
}

class FaceListingDialog : public DialogHandler {
 public:
  FaceListingDialog(CommandContext& ctx, FaceTable& table) : ctx_(ctx), table_(table) { rebuild(); }
  ~FaceListingDialog() override { removeMarker(); }

  void onInit(DialogControls& c) override {
    fillList(c);
    showTotals(c);
    select(c, 0);
  }

  void onCommand(int id, DialogEventKind kind, DialogControls& c) override {
    if (id == FL_LIST &&
        (kind == DialogEventKind::SelectionChanged || kind == DialogEventKind::DoubleClicked)) {
      const int line = c.selection(FL_LIST);
      if (line >= 0) select(c, line);
      return;
    }
    if (kind != DialogEventKind::Clicked) return;
    switch (id) {
      case FL_CHANGE_MATERIAL:
        changeMaterial(c, false);
        break;
      case FL_REPLACE_MATERIAL:
        changeMaterial(c, true);
        break;
      case FL_PRINT:
        printRequested_ = true;
        c.endDialog(FL_PRINT);
        break;
      case FL_QUIT:
        c.endDialog(FL_QUIT);
        break;
      default:
        break;
    }
  }

  bool printRequested() const { return printRequested_; }
  const FaceListing& listing() const { return listing_; }
  void removeMarker() {
    if (marker_ == nullptr) return;
    Project& project = ctx_.project();
    const bool modified = project.modified;
    project.objects.freeObject(marker_);
    project.modified = modified;
    marker_ = nullptr;
  }

 private:
  void rebuild() {
    listing_ = buildFaceListing(table_, ctx_.project().materials, ctx_.units().feet);
  }

  void fillList(DialogControls& c) {
    c.clearItems(FL_LIST);
    for (const FaceListingRow& row : listing_.rows) c.addItem(FL_LIST, faceListingLine(row));
  }

  void showTotals(DialogControls& c) {
    for (int b = 0; b < 7; ++b)
      c.setText(FL_TOTAL_FIRST + b, format("%5.1f", listing_.totalAbsorption[b]));
    c.setText(FL_TOTAL_AREA, areaText("%5.1f", listing_.totalArea, listing_.feet));
  }

  void showGroups(DialogControls& c) {
    const FaceListingRow& row = listing_.rows[selected_];
    for (int b = 0; b < 7; ++b) c.setText(FL_FACE_FIRST + b, format("%3.1f", row.absorption[b]));
    c.setText(FL_FACE_AREA, areaText("%3.1f", row.area, listing_.feet));
    c.setText(FL_FACE_SHARE, format("%3.1f", row.share) + "%");
    const MaterialTotals m = listing_.materialTotals(row.material);
    for (int b = 0; b < 7; ++b) c.setText(FL_MATERIAL_FIRST + b, format("%7.1f", m.absorption[b]));
    c.setText(FL_MATERIAL_AREA, areaText("%3.1f", m.area, listing_.feet));
    c.setText(FL_MATERIAL_SHARE, format("%3.1f", m.share) + "%");
  }

  void select(DialogControls& c, int line) {
    if (line < 0 || static_cast<std::size_t>(line) >= listing_.rows.size()) return;
    selected_ = static_cast<std::size_t>(line);
    c.setSelection(FL_LIST, line);
    const FaceRecord& face = table_[listing_.rows[selected_].tableIndex];
    removeMarker();
    addMarker(face);
    ctx_.redrawAll();
    highlight(face);
    showGroups(c);
  }

  // The temporary line object from the face's centre against its normal.
  void addMarker(const FaceRecord& face) {
    const std::array<Vec3d, 2> line = faceMarkerLine(face);
    auto o = std::make_unique<ModelObject>();
    o->nodes = {toNode(line[0]), toNode(line[1])};
    o->indices = {{IDX_START, 0}, {IDX_LINE, 1}};
    o->shape = SHAPE_LINE;
    o->layer = LAYER_ROOM;
    o->colour = FACE_MARKER_COLOUR;
    Project& project = ctx_.project();
    const bool modified = project.modified;
    marker_ = project.objects.appendObject(std::move(o));
    project.modified = modified;
  }

  void highlight(const FaceRecord& face) {
    const ModelObject* o = face.ownerObject;
    if (o == nullptr) return;
    std::vector<Node> outline;
    for (std::size_t i = face.startEntry; i < o->indices.size(); ++i) {
      const IndexEntry& e = o->indices[i];
      if (e.code == IDX_MATERIAL) continue;
      if (i > face.startEntry && e.code == IDX_START) break;
      if (e.ref < o->nodes.size()) outline.push_back(o->nodes[e.ref]);
      if (e.code == IDX_CLOSE) break;
    }
    if (outline.size() < 2) return;
    ctx_.drawOnView([this, outline](Canvas& canvas) {
      std::vector<PixelPoint> pixels;
      for (const Node& n : outline) {
        const ScreenPoint s = projectNode(ctx_.view(), n);
        pixels.push_back({s.x, s.y});
      }
      canvas.setDrawMode(DrawMode::Copy);
      canvas.setPen(COLOUR_HIGHLIGHT);
      canvas.setBrush(Brush::none());
      canvas.polygon(pixels);
    });
  }

  static void setMaterial(const FaceRecord& face, int slot) {
    ModelObject* o = face.ownerObject;
    const std::size_t entry = face.startEntry + 1u;
    if (o != nullptr && entry < o->indices.size() && o->indices[entry].code == IDX_MATERIAL)
      o->indices[entry].ref = static_cast<std::uint16_t>(slot);
  }

  // One face (all = false) or every face with the selected face's material.
  void changeMaterial(DialogControls& c, bool all) {
    Project& project = ctx_.project();
    const FaceListingRow& row = listing_.rows[selected_];
    const FaceRecord& face = table_[row.tableIndex];
    const std::uint16_t old = face.materialNumber();
    AbsorberDatabase& database = absorberDatabase(ctx_);
    const std::optional<int> chosen = selectAbsorberMaterial(
        ctx_.ui(), database, project.materials, row.material, ctx_.session().dataFolder);
    if (chosen && database.records[static_cast<std::size_t>(*chosen)].isFree()) {
      ctx_.ui().showMessage(MSG_MATERIAL_WITHOUT_NAME);
      return;
    }
    if (chosen) {
      const int slot = addMaterialToProject(project.materials,
                                            database.records[static_cast<std::size_t>(*chosen)]);
      if (slot < 0) {
        ctx_.ui().showMessage(MSG_CANT_LOAD_ABSORBER, MSG_CANT_LOAD_ABSORBER_CAPTION);
      } else {
        if (all) {
          for (const FaceListingRow& r : listing_.rows) {
            const FaceRecord& f = table_[r.tableIndex];
            if (f.materialNumber() == old) setMaterial(f, slot);
          }
        } else {
          setMaterial(face, slot);
        }
        ctx_.setModified();
        releaseUnusedMaterials(project);
        rebuild();
        fillList(c);
        select(c, static_cast<int>(selected_));
      }
    }
    showTotals(c);
  }

  CommandContext& ctx_;
  FaceTable& table_;
  FaceListing listing_;
  std::size_t selected_ = 0;
  ModelObject* marker_ = nullptr;
  bool printRequested_ = false;
};

}  // namespace

DialogTemplate faceListingTemplate() {
  DialogTemplate t;
  t.title = FACE_LISTING_TITLE;
  t.controls.push_back(gridControl(0, ControlKind::Label, "#\tArea\tMaterial", 0, 0));
  ControlTemplate list = gridControl(FL_LIST, ControlKind::ListBox, "", 1, 0, 9, 1);
  list.minWidth = 330;
  list.minHeight = 220;
  t.controls.push_back(list);
  addGroup(t, "Single Face", 0, FL_FACE_FIRST, FL_FACE_AREA, "Area", FL_FACE_SHARE);
  addGroup(t, "Absorber Material", 3, FL_MATERIAL_FIRST, FL_MATERIAL_AREA, "Area",
           FL_MATERIAL_SHARE);
  addGroup(t, "Absorbtion Total", 6, FL_TOTAL_FIRST, FL_TOTAL_AREA, "Total Area", 0);
  t.controls.push_back(
      gridControl(FL_CHANGE_MATERIAL, ControlKind::PushButton, "Change Face Material", 9, 1, 1, 2));
  t.controls.push_back(
      gridControl(FL_REPLACE_MATERIAL, ControlKind::PushButton, "Replace Material", 9, 3, 1, 2));
  t.controls.push_back(gridControl(FL_PRINT, ControlKind::PushButton, "Print", 9, 5, 1, 2));
  t.controls.push_back(gridControl(FL_QUIT, ControlKind::PushButton, "Quit", 9, 7, 1, 2));
  return t;
}

void runFaceListing(CommandContext& ctx) {
  FaceTable table;
  const FaceTableBuild build = buildFaceTable(ctx.project(), table);
  if (!build.ok()) ctx.ui().showMessage(build.message.text, build.message.caption);
  if (table.empty()) return;
  sortFacesForReflections(table);

  FaceListingDialog dialog(ctx, table);
  runDialogOrReport(ctx.platform(), faceListingTemplate(), dialog);
  dialog.removeMarker();
  ctx.redrawAll();
  if (dialog.printRequested()) printRoomFacesSummary(ctx.platform(), dialog.listing());
}

}  // namespace tav
