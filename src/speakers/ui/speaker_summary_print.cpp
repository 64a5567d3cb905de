#include "speakers/ui/speaker_summary_print.h"

#include <algorithm>
#include <filesystem>

#include "model/number_text.h"
#include "model/text_encoding.h"
#include "platform/canvas.h"
#include "platform/platform.h"
#include "shell/command_context.h"

namespace tav {

namespace {

inline constexpr const char* PROGRAM_TITLE = "Taviron 2.90";

// A column: its first character position and width in characters.
struct Column {
  const char* title;
  int at, width;
  bool number;  // right-aligned
};

constexpr int POWER_COLUMN_AT = 127;
constexpr int POWER_COLUMN_STEP = 8;
constexpr Column COLUMNS[] = {
    {"No.", 0, 3, true},     {"Brand", 5, 20, false}, {"Type", 27, 10, false},
    {"Name", 39, 10, false}, {"X", 51, 6, true},      {"Y", 58, 6, true},
    {"Z", 65, 6, true},      {"Hor.", 72, 6, true},   {"Vert.", 79, 6, true},
    {"Rot.", 86, 6, true},   {"T [ms]", 95, 7, true}, {"Aim X", 104, 6, true},
    {"Aim Y", 111, 6, true}, {"Aim Z", 118, 6, true}, {"W 125", 127, 7, true},
    {"W 250", 135, 7, true}, {"W 500", 143, 7, true}, {"W 1 k", 151, 7, true},
    {"W 2 k", 159, 7, true}, {"W 4 k", 167, 7, true}, {"W 8 k", 175, 7, true},
};
constexpr int TABLE_CHARS = 182;  // the last power column ends here
constexpr int TOTAL_LABEL_AT = 84;
constexpr int AIM_COLUMN = 11;
constexpr int FIRST_POWER_COLUMN = 14;

// The printer's cell, reduced where the table would not fit the page.
struct Geometry {
  int rowHeight = 18;
  int charWidth = 8;
  int step = 22;  // from one row to the next
  int margin = SPEAKER_SUMMARY_MARGIN;
  int textHeight = 16;
};

Geometry geometry(const Canvas& canvas) {
  const SpeakerSummaryCell cell = speakerSummaryCell(canvas.width());
  Geometry g;
  g.margin = std::min(SPEAKER_SUMMARY_MARGIN, canvas.width() / 20);
  const double widthScale =
      static_cast<double>(canvas.width() - 2 * g.margin) / (TABLE_CHARS * cell.charWidth);
  // Head, headings, 44 rows and two total rows.
  const int lines = SPEAKER_SUMMARY_ROWS_PER_PAGE + 5;
  const double heightScale = static_cast<double>(canvas.height() - 2 * g.margin) /
                             (lines * (cell.rowHeight + SPEAKER_SUMMARY_ROW_GAP));
  const double scale = std::min({1.0, widthScale, heightScale});
  g.charWidth = std::max(1, static_cast<int>(cell.charWidth * scale));
  g.rowHeight = std::max(2, static_cast<int>(cell.rowHeight * scale));
  g.step = g.rowHeight + std::max(1, static_cast<int>(SPEAKER_SUMMARY_ROW_GAP * scale));
  g.textHeight = std::max(2, std::min(2 * g.charWidth, g.rowHeight));
  return g;
}

void text(Canvas& canvas, const Geometry& g, int x, int y, const std::string& s, TextAlign align) {
  TextStyle style;
  style.height = g.textHeight;
  style.align = align;
  canvas.text({x, y}, s, style);
}

// A cell of column c: numbers end at the column's right edge, texts start
// at its left edge.
void cell(Canvas& canvas, const Geometry& g, int c, int y, const std::string& s) {
  const Column& col = COLUMNS[c];
  if (col.number)
    text(canvas, g, g.margin + (col.at + col.width) * g.charWidth, y, s, TextAlign::Right);
  else
    text(canvas, g, g.margin + col.at * g.charWidth, y, s, TextAlign::Left);
}

void centred(Canvas& canvas, const Geometry& g, int c, int y, const std::string& s) {
  const Column& col = COLUMNS[c];
  text(canvas, g, g.margin + col.at * g.charWidth + col.width * g.charWidth / 2, y, s,
       TextAlign::Centre);
}

std::string fixed(double v, int precision, int width) { return formatFixed(v, precision, width); }

std::string degreesText(double degrees) { return fixed(degrees, 0, 1) + " \u00B0"; }

// "%4.1f" below 10000, "%5.0f" from there.
std::string totalText(double w) { return w < 10000 ? fixed(w, 1, 4) : fixed(w, 0, 5); }

}  // namespace

SpeakerSummaryCell speakerSummaryCell(int pageWidth) {
  if (pageWidth >= 6000) return {72, 32};
  if (pageWidth >= 3600) return {42, 18};
  if (pageWidth >= 3000) return {36, 16};
  return {18, 8};
}

int speakerSummaryPageCount(const SpeakerSummary& summary) {
  const auto rows = static_cast<int>(summary.rows.size());
  return std::max(1, (rows + SPEAKER_SUMMARY_ROWS_PER_PAGE - 1) / SPEAKER_SUMMARY_ROWS_PER_PAGE);
}

void drawSpeakerSummaryPage(Canvas& canvas, const SpeakerSummaryPages& pages, int page) {
  const Geometry g = geometry(canvas);
  canvas.setPen(COLOUR_BLACK);
  canvas.setBrush(Brush::none());
  int y = g.margin;
  // Page head: program (left), project (centred over the table), title and
  // page (right).
  text(canvas, g, g.margin, y, pages.programTitle, TextAlign::Left);
  text(canvas, g, g.margin + TABLE_CHARS * g.charWidth / 2, y, pages.projectName,
       TextAlign::Centre);
  text(canvas, g, g.margin + TABLE_CHARS * g.charWidth, y,
       std::string(SPEAKER_SUMMARY_TITLE) + " - Page " + std::to_string(page + 1),
       TextAlign::Right);
  y += 2 * g.step;
  for (int c = 0; c < static_cast<int>(std::size(COLUMNS)); ++c)
    cell(canvas, g, c, y, COLUMNS[c].title);
  y += g.step;
  canvas.line({g.margin, y - SPEAKER_SUMMARY_ROW_GAP / 2},
              {g.margin + TABLE_CHARS * g.charWidth, y - SPEAKER_SUMMARY_ROW_GAP / 2});

  const SpeakerSummary& s = pages.summary;
  const auto first = static_cast<std::size_t>(page) * SPEAKER_SUMMARY_ROWS_PER_PAGE;
  const std::size_t last =
      std::min(s.rows.size(), first + static_cast<std::size_t>(SPEAKER_SUMMARY_ROWS_PER_PAGE));
  for (std::size_t r = first; r < last; ++r) {
    const SpeakerSummaryRow& row = s.rows[r];
    cell(canvas, g, 0, y, std::to_string(row.number));
    cell(canvas, g, 1, y, cp1252ToUtf8(row.brand));
    cell(canvas, g, 2, y, cp1252ToUtf8(row.type));
    cell(canvas, g, 3, y, cp1252ToUtf8(row.name));
    cell(canvas, g, 4, y, fixed(row.position.x, 1, 4));
    cell(canvas, g, 5, y, fixed(row.position.y, 1, 4));
    cell(canvas, g, 6, y, fixed(row.position.z, 1, 4));
    cell(canvas, g, 7, y, degreesText(row.horizontal));
    cell(canvas, g, 8, y, degreesText(row.vertical));
    cell(canvas, g, 9, y, degreesText(row.rotation));
    cell(canvas, g, 10, y, fixed(row.delay, 3, 3));
    for (int k = 0; k < 3; ++k) {
      if (row.aim)
        cell(canvas, g, AIM_COLUMN + k, y,
             fixed(k == 0   ? row.aim->x
                   : k == 1 ? row.aim->y
                            : row.aim->z,
                   1, 4));
      else
        centred(canvas, g, AIM_COLUMN + k, y, "---");
    }
    for (int b = 0; b < BAND_COUNT; ++b)
      cell(canvas, g, FIRST_POWER_COLUMN + b, y, fixed(row.power[b], 1, 4));
    y += g.step;
  }
  if (page + 1 < speakerSummaryPageCount(s)) return;
  // The totals follow the last row.
  auto totals = [&](const char* label, const BandPowers& values, bool large) {
    text(canvas, g, g.margin + TOTAL_LABEL_AT * g.charWidth, y, label, TextAlign::Left);
    for (int b = 0; b < BAND_COUNT; ++b) {
      const int right = g.margin + (POWER_COLUMN_AT + b * POWER_COLUMN_STEP + 7) * g.charWidth;
      text(canvas, g, right, y, large ? totalText(values[b]) : fixed(values[b], 1, 4),
           TextAlign::Right);
    }
    y += g.step;
  };
  totals("Total speaker input power :", s.totals.electrical, true);
  totals("Total acoustic power :", s.totals.acoustic, false);
}

bool printSpeakerSummaryPages(PrintJob& job, const SpeakerSummaryPages& pages) {
  const int count = speakerSummaryPageCount(pages.summary);
  for (int page = 0; page < count; ++page) {
    if (!job.startPage()) {
      job.abort();
      return false;
    }
    drawSpeakerSummaryPage(job.canvas(), pages, page);
    if (!job.endPage()) {
      job.abort();
      return false;
    }
  }
  return job.endJob();
}

bool printSpeakerSummary(CommandContext& ctx, const std::vector<ModelObject*>& speakers) {
  SpeakerSummaryPages pages;
  pages.programTitle = PROGRAM_TITLE;
  pages.projectName = std::filesystem::path(ctx.project().name).filename().string();
  pages.summary = buildSpeakerSummary(ctx.project(), speakers, ctx.units().feet);
  std::unique_ptr<PrintJob> job = ctx.platform().choosePrinter(SPEAKER_SUMMARY_TITLE);
  return job && printSpeakerSummaryPages(*job, pages);
}

}  // namespace tav
