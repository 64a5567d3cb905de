// The "Room Faces Summary" printout of the face listing: 72 faces a page in
// a ruled table, then the total area and the total absorption.
#pragma once

#include <string>
#include <vector>

#include "materials/face_listing.h"

namespace tav {

class Canvas;
class Platform;
class PrintJob;

inline constexpr const char* ROOM_SUMMARY_TITLE = "Room Faces Summary";
constexpr int ROOM_SUMMARY_ROWS_PER_PAGE = 72;

// Line height and character width (device pixels) by the page width: at
// least 4600 pixels 72 and 32, below 2300 pixels 18 and 8, else 36 and 16.
struct SummaryMetrics {
  int lineHeight = 18;
  int charWidth = 8;
};
SummaryMetrics roomSummaryMetrics(int pageWidth);

// The column titles of every page ("m²" or "ft²" as the area unit).
std::vector<std::string> roomSummaryColumnTitles(bool feet);

// Draws page `page` (0-based) of the summary on a page canvas.
void drawRoomSummaryPage(Canvas& canvas, const FaceListing& listing, int page);
int roomSummaryPageCount(const FaceListing& listing);

// Prints every page on a job and ends it. False when the job failed.
bool printRoomSummaryPages(PrintJob& job, const FaceListing& listing);

// Asks for a printer and prints every page. False when the user cancelled
// or the printer failed.
bool printRoomFacesSummary(Platform& platform, const FaceListing& listing);

}  // namespace tav
