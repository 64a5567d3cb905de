#include "platform/qt/builtin_art.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <set>

#include "platform/qt/render_image.h"
#include "qt_test_app.h"

namespace tav {
namespace {

int distinctColours(const QImage& image) {
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); y += 2) {
    for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
  }
  return static_cast<int>(colours.size());
}

TEST(BuiltinArt, IconAndStartupPictureAreDrawn) {
  test::qtApp();
  const QImage icon = iconImage(48);
  EXPECT_EQ(icon.size(), QSize(48, 48));
  EXPECT_GT(distinctColours(icon), 5);
  EXPECT_EQ(qAlpha(icon.pixel(47, 0)), 0);  // transparent around the glyph
  EXPECT_FALSE(applicationIcon().isNull());
  const QImage startup = startupPicture();
  EXPECT_GT(startup.width(), 200);
  EXPECT_GT(distinctColours(startup), 20);
}

TEST(RenderImage, PngOfAPictureReadsBack) {
  test::qtApp();
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("view.png")).toStdString();
  const auto paint = [](Canvas& c) {
    c.setPen(9);
    c.line({0, 5}, {30, 5});
  };
  ASSERT_TRUE(renderToPng(40, 20, paint, path));
  QImage back(QString::fromStdString(path));
  ASSERT_EQ(back.size(), QSize(40, 20));
  EXPECT_EQ(QColor(back.pixel(10, 5)), QColor(225, 0, 0));
  EXPECT_EQ(QColor(back.pixel(10, 6)), QColor(255, 255, 255));
  EXPECT_EQ(renderPicture(40, 20, paint).pixel(10, 5), paletteColour(9));
  EXPECT_FALSE(renderToPng(40, 20, paint, "/nonexistent-dir/x.png"));
}

}  // namespace
}  // namespace tav
