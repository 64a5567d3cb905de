#include "reflections/ui/ray_display.h"

#include <algorithm>

#include "model/le_io.h"
#include "platform/child_window.h"
#include "reflections/reflection_run.h"
#include "reflections/ui/etc_plot.h"
#include "shell/command_context.h"
#include "speakers/speaker_type.h"
#include "view/view_zoom.h"

namespace tav {

namespace {

RayProfileActions& actionsSlot() {
  static RayProfileActions actions;
  return actions;
}

constexpr int BUTTON = 32;        // the square buttons
constexpr int BAR_BUTTON_W = 56;  // buttons of the command bar
constexpr int BAR_HEIGHT = 28;

class RayDisplay : public ChildWindowHandler {
 public:
  RayDisplay(CommandContext& ctx, const RayResults& results)
      : ctx_(ctx), results_(results), paths_(reflectionPaths(ctx.project().objects)) {
    for (ModelObject* o : paths_) etcPaths_.push_back({*readPathData(*o), o->nodes});
    for (const ActiveSpeaker& s : results.speakers.entries) {
      picture_.speakerNames.push_back(s.frame.type ? fixedString(s.frame.type->name) : "");
      picture_.speakerPositions.push_back(s.speaker.position);
    }
    picture_.stats = results.stats.get();
    picture_.paths = &etcPaths_;
    picture_.projectName = ctx.project().name;
  }
  ~RayDisplay() override { showAll(); }

  void onOpen(ChildWindow& w) override { placeButtons(w); }

  void onPaint(Canvas& canvas, ChildWindow& w) override {
    if (etc_) {
      picture_.band = band_;
      picture_.selected = selected_;
      paintEtc(canvas, picture_);
      return;
    }
    ViewState view;
    view.mode = ctx_.view().mode;
    view.angles3d = ctx_.view().angles3d;
    view.perspectiveAngles = ctx_.view().perspectiveAngles;
    view.eye = ctx_.view().eye;
    view.hiddenBackfaces = ctx_.view().hiddenBackfaces;
    prepareView(view, w.width(), w.height());
    zoomAll(view, ctx_.project().objects);
    ViewDrawContext dc = ctx_.drawContext();
    dc.nodeList = {};
    dc.comment = {};
    dc.dragging = false;
    drawView(view, canvas, dc);
  }

  void onButton(int id, ChildWindow& w) override {
    if (id == RAY_BUTTON_BACK) {
      w.close();
    } else if (id == RAY_BUTTON_SWITCH) {
      etc_ = !etc_;
      if (etc_ && selected_ < 0) selected_ = 0;
      applySelection();
      placeButtons(w);
      w.setTitle(etc_ ? ETC_WINDOW_TITLE : RAY_WINDOW_TITLE);
      w.repaint();
    } else if (id == RAY_BUTTON_PRINT) {
      w.print(etc_ ? ETC_WINDOW_TITLE : RAY_WINDOW_TITLE);
    } else if (id == RAY_BUTTON_COPY) {
      w.copyToClipboard();
    } else if (id >= ETC_BUTTON_BAND_FIRST && id <= ETC_BUTTON_BAND_FIRST + BROADBAND) {
      band_ = id - ETC_BUTTON_BAND_FIRST;
      w.repaint();
    } else if (id == ETC_BUTTON_APF || id == ETC_BUTTON_RTA) {
      const RayProfileActions& a = rayProfileActions();
      const auto& action = id == ETC_BUTTON_APF ? a.writeProfile : a.realtime;
      if (!action) return;
      RayDisplayResults r{*results_.stats, {}};
      for (const ModelObject* o : paths_) r.paths.push_back(o);
      action(ctx_, r);
      w.repaint();
    }
  }

  void onScroll(const ScrollEvent& e, ChildWindow& w) override {
    if (e.axis != ScrollAxis::Horizontal) return;
    const int count = static_cast<int>(paths_.size());
    selected_ = stepPathSelection(selected_, count, e.action, e.position, !etc_);
    applySelection();
    w.setScrollBar(ScrollAxis::Horizontal, 0, PATH_SCROLL_RANGE, pathThumb(selected_, count));
    w.repaint();
  }

  int selected() const { return selected_; }
  bool etc() const { return etc_; }
  int band() const { return band_; }

 private:
  // With a path selected only that one shows in the ray window.
  void applySelection() {
    for (std::size_t i = 0; i < paths_.size(); ++i) {
      if (selected_ < 0 || static_cast<int>(i) == selected_ || etc_)
        paths_[i]->flags &= ~OF_HIDDEN;
      else
        paths_[i]->flags |= OF_HIDDEN;
    }
  }
  void showAll() {
    for (ModelObject* o : paths_) o->flags &= ~OF_HIDDEN;
  }

  void placeButtons(ChildWindow& w) {
    for (int id = ETC_BUTTON_BAND_FIRST; id <= ETC_BUTTON_BAND_FIRST + BROADBAND; ++id)
      w.removeButton(id);
    w.removeButton(ETC_BUTTON_APF);
    w.removeButton(ETC_BUTTON_RTA);
    // The command bar along the top, right of "<-" (independent of the
    // window's size, which is not known yet when the window opens).
    int x = BUTTON + 8;
    for (const auto& [id, label] :
         {std::pair<int, const char*>{RAY_BUTTON_SWITCH, etc_ ? "RAY" : "ETC"},
          {RAY_BUTTON_PRINT, "PRINT"},
          {RAY_BUTTON_COPY, "COPY"}}) {
      w.addButton({id, label, {x, 2, BAR_BUTTON_W, BAR_HEIGHT}});
      x += BAR_BUTTON_W + 4;
    }
    w.addButton({RAY_BUTTON_BACK, "<-", {0, 0, BUTTON, BUTTON}});
    if (etc_) {
      for (int b = 0; b <= BROADBAND; ++b)
        w.addButton({ETC_BUTTON_BAND_FIRST + b,
                     ETC_BAND_LABELS[b],
                     {0, BUTTON + 8 + b * BUTTON, BUTTON, BUTTON}});
      const int y = BUTTON + 16 + (BROADBAND + 1) * BUTTON;
      w.addButton({ETC_BUTTON_APF, "APF", {0, y, BUTTON, BUTTON}});
      w.addButton({ETC_BUTTON_RTA, "RTA", {0, y + BUTTON, BUTTON, BUTTON}});
      w.enableButton(ETC_BUTTON_APF, static_cast<bool>(rayProfileActions().writeProfile));
      w.enableButton(ETC_BUTTON_RTA, static_cast<bool>(rayProfileActions().realtime));
    }
    w.setScrollBar(ScrollAxis::Horizontal, 0, PATH_SCROLL_RANGE,
                   pathThumb(selected_, static_cast<int>(paths_.size())));
  }

  CommandContext& ctx_;
  const RayResults& results_;
  std::vector<ModelObject*> paths_;
  std::vector<EtcPath> etcPaths_;
  EtcPicture picture_;
  bool etc_ = false;
  int selected_ = -1;
  int band_ = BROADBAND;
};

}  // namespace

void setRayProfileActions(RayProfileActions actions) { actionsSlot() = std::move(actions); }
const RayProfileActions& rayProfileActions() { return actionsSlot(); }

int stepPathSelection(int selected, int count, ScrollAction action, int thumb, bool rayWindow) {
  if (count <= 0) return -1;
  const int last = count - 1;
  switch (action) {
    case ScrollAction::LineBack:
      return std::max(selected - 1, rayWindow ? -1 : 0);
    case ScrollAction::PageBack:
      return selected > (rayWindow ? 8 : 9) ? selected - 10 : selected;
    case ScrollAction::LineForward:
      return std::min(selected + 1, last);
    case ScrollAction::PageForward:
      return last - selected < 11 ? last : selected + 10;
    case ScrollAction::Thumb:
      // With one path the bar has nothing to select.
      if (count < 2) return selected;
      return std::clamp(thumb * last / PATH_SCROLL_RANGE, 0, last);
  }
  return selected;
}

int pathThumb(int selected, int count) {
  if (count < 2 || selected < 0) return 0;
  return selected * PATH_SCROLL_RANGE / (count - 1);
}

bool showRayResults(CommandContext& ctx, double meanFreePath) {
  Interaction& ui = ctx.ui();
  RayResults results = openRayResults(ctx.project(), meanFreePath);
  if (!results.tableMessage.empty())
    ui.showMessage(results.tableMessage.text, results.tableMessage.caption);
  for (const UserMessage& m : results.link.messages) ui.showMessage(m.text, m.caption);
  if (results.link.kept == 0) return false;

  ChildWindowSpec spec;
  spec.title = RAY_WINDOW_TITLE;
  spec.width = 900;
  spec.height = 640;
  spec.horizontalScrollBar = true;
  RayDisplay display(ctx, results);
  if (!ctx.platform().runWindow(spec, display)) {
    ui.showMessage(MSG_CANT_CREATE_RAY_WINDOW);
    return false;
  }
  ctx.redrawAll();
  return true;
}

}  // namespace tav
