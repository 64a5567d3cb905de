// File > Print and the panel's "Print": the current view to scale on one page.
#include "shell/print_layout.h"
#include "shell/shell.h"

namespace tav {

void Shell::printView() {
  if (!canDraw()) return;
  if (view_.mode == VIEW_PERSPECTIVE) {
    // A perspective has no scale: its picture, fitted to the page.
    const RgbImage picture = window_->viewPicture();
    platform_.printPicture("Taviron", picture.width, picture.height, [&picture](Canvas& c) {
      c.drawImage({0, 0}, picture);
    });
    return;
  }
  std::unique_ptr<PrintJob> job = platform_.choosePrinter("Taviron");
  if (!job) return;
  if (!job->startPage()) {
    job->abort();
    return;
  }
  drawPlotPage(view_, drawContext(), job->canvas());
  job->endPage();
  job->endJob();
}

}  // namespace tav
