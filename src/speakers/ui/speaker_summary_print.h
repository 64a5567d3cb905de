// The "Loudspeakers Summary" printout of the loudspeaker listing: a page
// head, 44 loudspeaker rows a page in character columns, and after the
// last row the totals of electrical and acoustic power.
#pragma once

#include <string>
#include <vector>

#include "speakers/speaker_listing.h"

namespace tav {

class Canvas;
class CommandContext;
class PrintJob;
struct ModelObject;

inline constexpr const char* SPEAKER_SUMMARY_TITLE = "Loudspeakers Summary";
constexpr int SPEAKER_SUMMARY_ROWS_PER_PAGE = 44;
// Left margin of the table (device pixels) and the gap between rows.
constexpr int SPEAKER_SUMMARY_MARGIN = 100;
constexpr int SPEAKER_SUMMARY_ROW_GAP = 4;

// Row height and character width (device pixels) by the page width: 72 x 32
// from 6000 pixels, 42 x 18 from 3600, 36 x 16 from 3000, else 18 x 8.
struct SpeakerSummaryCell {
  int rowHeight = 18;
  int charWidth = 8;
};
SpeakerSummaryCell speakerSummaryCell(int pageWidth);

struct SpeakerSummaryPages {
  std::string programTitle;  // left of the page head
  std::string projectName;   // centred in the page head
  SpeakerSummary summary;
};

int speakerSummaryPageCount(const SpeakerSummary& summary);
// Draws page `page` (0-based).
void drawSpeakerSummaryPage(Canvas& canvas, const SpeakerSummaryPages& pages, int page);
// Prints every page on a job and ends it. False when the job failed.
bool printSpeakerSummaryPages(PrintJob& job, const SpeakerSummaryPages& pages);

// Builds the summary of the listed loudspeakers (in the listing's order),
// asks for a printer and prints it. False when cancelled or failed.
bool printSpeakerSummary(CommandContext& ctx, const std::vector<ModelObject*>& speakers);

}  // namespace tav
