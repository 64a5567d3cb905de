#include "platform/qt/render_image.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "qt_test_app.h"

namespace tav {
namespace {

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
  EXPECT_EQ(renderPicture(40, 20, paint).pixel(10, 5), paletteColour(9));
  EXPECT_FALSE(renderToPng(40, 20, paint, "/nonexistent-dir/x.png"));
}

}  // namespace
}  // namespace tav
