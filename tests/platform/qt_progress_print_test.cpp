// The Qt progress window, and printing to PDF: pages of a print job and a
// window's picture on one page.
#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_print.h"
#include "platform/qt/qt_progress_window.h"
#include "qt_test_app.h"

namespace tav {
namespace {

// Blue pixels in the middle row of the bar, and where they start.
std::pair<int, int> barPixels(QtProgressWindow& window) {
  const QImage image = window.grab().toImage();
  const QRgb blue = paletteQColor(COLOUR_AXIS).rgb();
  int count = 0;
  int first = -1;
  for (int x = 0; x < image.width(); ++x) {
    if (image.pixel(x, 30) == blue) {
      if (first < 0) first = x;
      ++count;
    }
  }
  return {count, first};
}

// Pages of a PDF file, or -1 when it is not one.
int pdfPages(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QByteArray bytes = file.readAll();
  if (!bytes.startsWith("%PDF")) return -1;
  return static_cast<int>(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                          bytes.count("/Type /Page/") + bytes.count("/Type /Page "));
}

TEST(QtProgress, BarGrowsWithThePercentageAndTheButtonCancels) {
  test::qtApp();
  QtPlatform platform;
  platform.progressOpen("Level + Time", "Calculating", "Cancel");
  QtProgressWindow* window = platform.progressWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_NE(window->button(), nullptr);
  EXPECT_FALSE(platform.progressUpdate(50, "half"));
  EXPECT_EQ(barPixels(*window), std::make_pair(70, 10));
  EXPECT_FALSE(platform.progressUpdate(250, "beyond"));
  EXPECT_EQ(barPixels(*window), std::make_pair(140, 10));
  EXPECT_FALSE(platform.progressUpdate(-5, "negative"));
  EXPECT_EQ(barPixels(*window).first, 0);
  EXPECT_EQ(progressBarWidth(99), 138);  // truncated, not rounded

  // The button sets the cancel mark; every later update reports it.
  window->button()->click();
  EXPECT_TRUE(platform.progressUpdate(60, "x"));
  platform.progressClose();

  // A new window starts without the old cancel mark.
  platform.progressOpen("Room check", "", "");
  EXPECT_FALSE(platform.progressUpdate(10, ""));
  platform.progressClose();
}

TEST(QtPrint, PdfJobsWritePagesAndPictures) {
  test::qtApp();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = dir.filePath(QStringLiteral("view.pdf")).toStdString();
  {
    std::unique_ptr<PrintJob> job = openPdfJob(path, "Taviron view");
    ASSERT_TRUE(job);
    ASSERT_TRUE(job->startPage());
    Canvas& page = job->canvas();
    EXPECT_GT(page.dpiX(), 200);  // A4 at high resolution, dpi reported
    page.setPen(21);
    page.line({0, 0}, {page.width(), page.height()});
    page.text({100, 100}, "Title block", TextStyle{});
    EXPECT_TRUE(job->endPage());
    ASSERT_TRUE(job->startPage());
    job->canvas().rectangle({10, 10, 500, 500});
    EXPECT_TRUE(job->endJob());
  }
  EXPECT_EQ(pdfPages(path), 2);

  const std::string windowPath = dir.filePath(QStringLiteral("window.pdf")).toStdString();
  const QImage picture = renderToImage(300, 200, [](Canvas& c) {
    c.setBrush(Brush::solid(23));
    c.rectangle({20, 20, 100, 100});
  });
  ASSERT_TRUE(printImage(*openPdfJob(windowPath, "RT60"), picture));
  EXPECT_EQ(pdfPages(windowPath), 1);
  // A job that cannot write its file reports failure instead of success.
  EXPECT_FALSE(printImage(*openPdfJob("/nonexistent-dir/x/y.pdf", "RT60"), picture));
}

}  // namespace
}  // namespace tav
