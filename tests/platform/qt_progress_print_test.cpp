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

TEST(QtProgress, BarGrowsWithThePercentageAndStopsAt140) {
  test::qtApp();
  QtPlatform platform;
  platform.progressOpen("Level + Time", "Calculating", "Cancel");
  QtProgressWindow* window = platform.progressWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->size(), QSize(160, 100));
  ASSERT_NE(window->button(), nullptr);
  EXPECT_EQ(window->button()->geometry(), QRect(64, 50, 90, 22));

  EXPECT_FALSE(platform.progressUpdate(50, "half"));
  EXPECT_EQ(window->barWidth(), 70);
  EXPECT_EQ(barPixels(*window), std::make_pair(70, 10));
  EXPECT_FALSE(platform.progressUpdate(250, "beyond"));
  EXPECT_EQ(window->barWidth(), 140);
  EXPECT_EQ(barPixels(*window), std::make_pair(140, 10));
  EXPECT_FALSE(platform.progressUpdate(-5, "negative"));
  EXPECT_EQ(barPixels(*window).first, 0);

  EXPECT_EQ(progressBarWidth(1), 1);
  EXPECT_EQ(progressBarWidth(99), 138);
  EXPECT_EQ(progressBarWidth(100), 140);
  EXPECT_EQ(progressBarWidth(1000000), 140);

  // The button sets the cancel mark; every later update reports it.
  window->button()->click();
  EXPECT_TRUE(platform.progressUpdate(60, "x"));
  EXPECT_TRUE(platform.progressUpdate(70, "x"));
  platform.progressClose();
  EXPECT_EQ(platform.progressWindow(), nullptr);
  EXPECT_FALSE(platform.progressUpdate(80, "closed"));

  // A new window starts without the old cancel mark and without a button.
  platform.progressOpen("Room check", "", "");
  EXPECT_EQ(platform.progressWindow()->button(), nullptr);
  EXPECT_FALSE(platform.progressUpdate(10, ""));
  platform.progressClose();
}

TEST(QtPrint, PdfJobWritesPages) {
  test::qtApp();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = dir.filePath(QStringLiteral("view.pdf")).toStdString();
  {
    std::unique_ptr<PrintJob> job = openPdfJob(path, "Taviron view");
    ASSERT_TRUE(job);
    ASSERT_TRUE(job->startPage());
    Canvas& page = job->canvas();
    // A4 at high resolution: far more pixels than a screen, dpi reported.
    EXPECT_GT(page.dpiX(), 200);
    EXPECT_GT(page.width(), 1000);
    EXPECT_GT(page.height(), page.width());
    page.setPen(21);
    page.line({0, 0}, {page.width(), page.height()});
    page.text({100, 100}, "Title block", TextStyle{});
    EXPECT_TRUE(job->endPage());
    ASSERT_TRUE(job->startPage());
    job->canvas().rectangle({10, 10, 500, 500});
    EXPECT_TRUE(job->endJob());
  }
  QFile file(QString::fromStdString(path));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_GT(bytes.size(), 500);
  // Two pages were written.
  EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                bytes.count("/Type /Page/") + bytes.count("/Type /Page "),
            2)
      << bytes.left(2000).toStdString();
}

TEST(QtPrint, PictureFittedOnOnePage) {
  test::qtApp();
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("window.pdf")).toStdString();
  const QImage picture = renderToImage(300, 200, [](Canvas& c) {
    c.setBrush(Brush::solid(23));
    c.rectangle({20, 20, 100, 100});
  });
  std::unique_ptr<PrintJob> job = openPdfJob(path, "RT60");
  ASSERT_TRUE(printImage(*job, picture));
  EXPECT_GT(QFile(QString::fromStdString(path)).size(), 500);
  // A job that cannot write its file reports failure instead of success.
  std::unique_ptr<PrintJob> bad = openPdfJob("/nonexistent-dir/x/y.pdf", "RT60");
  EXPECT_FALSE(printImage(*bad, picture));
}

}  // namespace
}  // namespace tav
