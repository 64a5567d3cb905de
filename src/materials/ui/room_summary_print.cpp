#include "materials/ui/room_summary_print.h"

#include <algorithm>
#include <cstdio>

#include "model/number_text.h"
#include "model/text_encoding.h"
#include "platform/canvas.h"
#include "platform/platform.h"

namespace tav {

namespace {

// Column widths in characters: number, area, share, material, six bounds,
// seven Sabine values.
constexpr int COLUMN_CHARS[] = {5, 11, 8, 24, 7, 7, 7, 7, 7, 7, 8, 8, 8, 8, 8, 8, 8};
constexpr int COLUMN_COUNT = static_cast<int>(sizeof COLUMN_CHARS / sizeof COLUMN_CHARS[0]);
constexpr int MATERIAL_COLUMN = 3;
// Lines a page needs beside its face rows: title, gap, column titles, the
// two total rows and a little air.
constexpr int EXTRA_LINES = 6;

std::string format(const char* fmt, double v) { return formatNumber(fmt, v); }

int totalChars() {
  int n = 0;
  for (int c : COLUMN_CHARS) n += c;
  return n;
}

// The printer's sizes, reduced where the table would not fit the page.
struct PageGeometry {
  int lineHeight = 18;
  int charWidth = 8;
  int textHeight = 16;
  int margin = 16;
  int columnX[COLUMN_COUNT + 1] = {};
};

PageGeometry pageGeometry(const Canvas& canvas) {
  PageGeometry g;
  const SummaryMetrics m = roomSummaryMetrics(canvas.width());
  g.margin = 2 * m.charWidth;
  double scale = 1.0;
  const int availableWidth = canvas.width() - 2 * g.margin;
  const int availableHeight = canvas.height() - 2 * g.margin;
  scale = std::min(scale, static_cast<double>(availableWidth) / (totalChars() * m.charWidth));
  scale = std::min(scale, static_cast<double>(availableHeight) /
                              ((ROOM_SUMMARY_ROWS_PER_PAGE + EXTRA_LINES) * m.lineHeight));
  g.charWidth = std::max(1, static_cast<int>(m.charWidth * scale));
  g.lineHeight = std::max(2, static_cast<int>(m.lineHeight * scale));
  // The canvas measures a character as half the text height.
  g.textHeight = std::max(2, std::min(2 * g.charWidth, g.lineHeight - 1));
  int x = g.margin;
  for (int i = 0; i < COLUMN_COUNT; ++i) {
    g.columnX[i] = x;
    x += COLUMN_CHARS[i] * g.charWidth;
  }
  g.columnX[COLUMN_COUNT] = x;
  return g;
}

void cell(Canvas& canvas, const PageGeometry& g, int column, int y, const std::string& text) {
  TextStyle s;
  s.height = g.textHeight;
  if (column == MATERIAL_COLUMN) {
    s.align = TextAlign::Left;
    canvas.text({g.columnX[column] + g.charWidth / 2, y}, text, s);
  } else {
    s.align = TextAlign::Right;
    canvas.text({g.columnX[column + 1] - g.charWidth / 2, y}, text, s);
  }
}

const char* areaUnit(bool feet) { return feet ? "ft\u00B2" : "m\u00B2"; }

}  // namespace

SummaryMetrics roomSummaryMetrics(int pageWidth) {
  if (pageWidth >= 4600) return {72, 32};
  if (pageWidth < 2300) return {18, 8};
  return {36, 16};
}

std::vector<std::string> roomSummaryColumnTitles(bool feet) {
  return {"No.",    areaUnit(feet), "Share",  "Material", "Xmin",   "Xmax",
          "Ymin",   "Ymax",         "Zmin",   "Zmax",     "Sa 125", "Sa 250",
          "Sa 500", "Sa 1 k",       "Sa 2 k", "Sa 4 k",   "Sa 8 k"};
}

int roomSummaryPageCount(const FaceListing& listing) {
  const auto rows = static_cast<int>(listing.rows.size());
  return std::max(1, (rows + ROOM_SUMMARY_ROWS_PER_PAGE - 1) / ROOM_SUMMARY_ROWS_PER_PAGE);
}

void drawRoomSummaryPage(Canvas& canvas, const FaceListing& listing, int page) {
  const PageGeometry g = pageGeometry(canvas);
  canvas.setPen(COLOUR_BLACK);
  canvas.setBrush(Brush::none());
  int y = g.margin;
  TextStyle titleStyle;
  titleStyle.height = g.textHeight;
  titleStyle.bold = true;
  canvas.text({g.margin, y},
              std::string(ROOM_SUMMARY_TITLE) + " - Page " + std::to_string(page + 1), titleStyle);
  y += 2 * g.lineHeight;

  const int frameTop = y;
  const std::vector<std::string> titles = roomSummaryColumnTitles(listing.feet);
  for (int i = 0; i < COLUMN_COUNT; ++i)
    cell(canvas, g, i, y + 1, titles[static_cast<std::size_t>(i)]);
  y += g.lineHeight;
  const int titlesBottom = y;

  const auto first = static_cast<std::size_t>(page) * ROOM_SUMMARY_ROWS_PER_PAGE;
  const std::size_t last =
      std::min(listing.rows.size(), first + static_cast<std::size_t>(ROOM_SUMMARY_ROWS_PER_PAGE));
  for (std::size_t r = first; r < last; ++r) {
    const FaceListingRow& row = listing.rows[r];
    cell(canvas, g, 0, y, format("%3.0f", static_cast<double>(row.number)));
    cell(canvas, g, 1, y, format("%7.1f", row.area));
    cell(canvas, g, 2, y, format("%3.1f%%", row.share));
    cell(canvas, g, 3, y, cp1252ToUtf8(row.materialName));
    for (int k = 0; k < 6; ++k) cell(canvas, g, 4 + k, y, format("%4.1f", row.bounds[k]));
    for (int b = 0; b < 7; ++b) cell(canvas, g, 10 + b, y, format("%4.1f", row.absorption[b]));
    y += g.lineHeight;
  }
  const bool lastPage = page + 1 >= roomSummaryPageCount(listing);
  if (lastPage) {
    canvas.line({g.columnX[0], y}, {g.columnX[COLUMN_COUNT], y});
    cell(canvas, g, 1, y, format("%7.1f ", listing.totalArea) + areaUnit(listing.feet));
    cell(canvas, g, MATERIAL_COLUMN, y, "Total");
    y += g.lineHeight;
    cell(canvas, g, MATERIAL_COLUMN, y, "Sabine Total");
    for (int b = 0; b < 7; ++b)
      cell(canvas, g, 10 + b, y, format("%4.1f", listing.totalAbsorption[b]));
    y += g.lineHeight;
  }
  // The ruled frame: outline, the line under the titles, column lines.
  canvas.rectangle(
      {g.columnX[0], frameTop, g.columnX[COLUMN_COUNT] - g.columnX[0] + 1, y - frameTop + 1});
  canvas.line({g.columnX[0], titlesBottom}, {g.columnX[COLUMN_COUNT], titlesBottom});
  for (int i = 1; i < COLUMN_COUNT; ++i) canvas.line({g.columnX[i], frameTop}, {g.columnX[i], y});
}

bool printRoomSummaryPages(PrintJob& job, const FaceListing& listing) {
  const int pages = roomSummaryPageCount(listing);
  for (int page = 0; page < pages; ++page) {
    if (!job.startPage()) {
      job.abort();
      return false;
    }
    drawRoomSummaryPage(job.canvas(), listing, page);
    if (!job.endPage()) {
      job.abort();
      return false;
    }
  }
  return job.endJob();
}

bool printRoomFacesSummary(Platform& platform, const FaceListing& listing) {
  std::unique_ptr<PrintJob> job = platform.choosePrinter(ROOM_SUMMARY_TITLE);
  return job && printRoomSummaryPages(*job, listing);
}

}  // namespace tav
