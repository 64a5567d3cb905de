// The real window, headless: start, open the example project, switch views,
// the view's picture is not blank, exit with unsaved work.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <filesystem>

#include "platform/keys.h"
#include "platform/qt/qt_platform.h"
#include "qt_test_app.h"
#include "shell/shell.h"
#include "support/temp_folder.h"

namespace tav::test {
namespace {

// Pixels of the picture that are not white.
int inkPixels(const RgbImage& image) {
  int ink = 0;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) ink += image.pixel(x, y) != Rgb{255, 255, 255};
  }
  return ink;
}

void settle(Platform& platform) {
  for (int i = 0; i < 20; ++i) platform.processEvents(false);
}

TEST(ShellSmoke, ExampleProjectInTheRealWindow) {
  qtApp();
  tavtest::TempFolder dir;
  QtPlatform platform;
  Shell shell(platform, ShellOptions{dir.file("HISTORY.TVX"), TAVIRON_SOURCE_DIR "/data",
                                     dir.file("manual.html")});
  ASSERT_TRUE(shell.start());
  ASSERT_TRUE(shell.openProjectFile(TAVIRON_SOURCE_DIR "/data/examples/example.TPR"));
  settle(platform);
  MainWindow& window = *shell.mainWindow();
  for (int view : {VIEW_XY, VIEW_3D, VIEW_YZ}) {
    shell.onKeyDown(keyF(1 + view), false);
    shell.onKeyDown(keyF(7), false);  // zoom all
    settle(platform);
    EXPECT_EQ(shell.view().mode, view);
    const RgbImage picture = window.viewPicture();
    EXPECT_GT(inkPixels(picture), 200) << "view " << view;
  }
  // Exit with unsaved work asks; Discard closes the window.
  shell.project().modified = true;
  whenModalShown([](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box != nullptr && box->button(QMessageBox::Discard) != nullptr)
      box->button(QMessageBox::Discard)->click();
  });
  shell.onCommand(CMD_EXIT);
  EXPECT_TRUE(shell.closed());
  EXPECT_FALSE(platform.processEvents(false));
  EXPECT_TRUE(std::filesystem::exists(dir.file("HISTORY.TVX")));
}

}  // namespace
}  // namespace tav::test
