#include "shell/print_layout.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/number_text.h"
#include "model/text_encoding.h"
#include "platform/dialog.h"

namespace tav {

namespace {

constexpr double METRES_PER_INCH = 0.0254;

std::string fieldText(const char* bytes, std::size_t size) {
  return cp1252ToUtf8(std::string_view(bytes, strnlen(bytes, size)));
}

}  // namespace

double plotScaleDenominator(double width, double height, double pageWidth, double pageHeight) {
  if (!(pageWidth > 0) || !(pageHeight > 0)) return 1.0;
  const double need = std::max(width / pageWidth, height / pageHeight);
  if (!std::isfinite(need)) return 5e6;
  for (double decade = 1.0; decade <= 1e6; decade *= 10.0) {
    for (double step : {1.0, 2.0, 5.0}) {
      if (step * decade >= need) return step * decade;
    }
  }
  return 5e6;
}

int titleBlockHeight(int dpi) { return std::max(1, dpi) * 15 / 10; }

double drawPlotPage(const ViewState& view, const ViewDrawContext& context, Canvas& page) {
  const int dpi = std::max(1, page.dpiX());
  const int margin = dpi / 2;
  const int block = titleBlockHeight(dpi);
  const int areaW = std::max(1, page.width() - 2 * margin);
  const int areaH = std::max(1, page.height() - 2 * margin - block);

  // The page state: same projection, zoom from the scale.
  ViewState pageView;
  pageView.mode = view.mode;
  pageView.offsets = view.offsets;
  pageView.angles3d = view.angles3d;
  pageView.perspectiveAngles = view.perspectiveAngles;
  pageView.eye = view.eye;
  pageView.hiddenBackfaces = view.hiddenBackfaces;
  pageView.nodeMarkers = false;
  const double pixelsPerMetre = dpi / METRES_PER_INCH;
  const double shownW = view.zoom > 0 ? view.width / view.zoom : 1.0;
  const double shownH = view.zoom > 0 ? view.height / view.zoom : 1.0;
  const double denominator =
      plotScaleDenominator(shownW, shownH, areaW / pixelsPerMetre, areaH / pixelsPerMetre);
  pageView.zoom = static_cast<float>(pixelsPerMetre / denominator);
  // The drawing area is the page's top part; the view state covers it from
  // the page's left edge, so its centre is the area's centre.
  setViewSize(pageView, page.width(), areaH + 2 * margin);
  updateViewMatrix(pageView);

  ViewDrawContext c = context;
  c.dragging = false;
  c.nodeList = {};
  const ModelObject* head = context.project ? context.project->objects.head() : nullptr;
  drawObjects(pageView, page, c, head, nullptr, ObjectDrawMode::Full);

  // Frame and title block.
  page.setDrawMode(DrawMode::Copy);
  page.setPen(COLOUR_BLACK);
  page.setBrush(Brush::none());
  page.fillRect({0, areaH + 2 * margin, page.width(), page.height() - areaH - 2 * margin},
                COLOUR_WHITE);
  page.rectangle({margin, margin, areaW, areaH + block});
  const int top = margin + areaH;
  page.line({margin, top}, {margin + areaW, top});
  const int lineH = std::max(8, block / 8);
  TextStyle style;
  style.height = lineH * 9 / 10;
  const int colW = areaW / 2;
  if (context.project) {
    const PrintHeader& h = context.project->printHeader;
    for (std::size_t i = 0; i < h.rows.size(); ++i) {
      const std::string label = fieldText(h.rows[i].label, sizeof h.rows[i].label);
      const std::string value = fieldText(h.rows[i].value, sizeof h.rows[i].value);
      if (label.empty() && value.empty()) continue;
      const int y = top + 4 + static_cast<int>(i % 4) * lineH * 2;
      const int x = margin + 8 + static_cast<int>(i / 4) * colW / 2;
      page.text({x, y}, label, style);
      page.text({x, y + lineH}, value, style);
    }
    for (int i = 0; i < 4; ++i) {
      const std::string line = fieldText(h.freeLines[i], sizeof h.freeLines[i]);
      if (!line.empty()) page.text({margin + colW + 8, top + 4 + i * lineH}, line, style);
    }
    page.text({margin + colW + 8, top + 4 + 5 * lineH}, context.project->name, style);
  }
  page.text({margin + colW + 8, top + 4 + 6 * lineH},
            "Scale 1:" + formatNumber("%0.0f", denominator), style);
  return denominator;
}

}  // namespace tav
