// The real window, headless: start, open the example project, switch views,
// the view's picture is not blank, undo and redo an edit, exit.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QMessageBox>
#include <QPushButton>
#include <filesystem>

#include "platform/keys.h"
#include "platform/qt/qt_platform.h"
#include "qt_test_app.h"
#include "shell/shell.h"

namespace tav::test {
namespace {

namespace fs = std::filesystem;

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
  const fs::path dir = fs::temp_directory_path() / ("taviron_smoke_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  {
    QtPlatform platform;
    Shell shell(platform, ShellOptions{(dir / "HISTORY.TVX").string(), TAVIRON_SOURCE_DIR "/data",
                                       (dir / "manual.html").string()});
    // An edit that takes a snapshot: everything one metre along x.
    shell.registry().add(CMD_ROOM_BUILD_GROUP, [](CommandContext& ctx) {
      for (ModelObject& o : ctx.project().objects) {
        for (Node& n : o.nodes) n.x += 1.0f;
      }
      ctx.setModified();
      ctx.redrawAll();
    });
    ASSERT_TRUE(shell.start());
    ASSERT_TRUE(shell.openProjectFile(TAVIRON_SOURCE_DIR "/data/examples/example.TPR"));
    settle(platform);
    MainWindow& window = *shell.mainWindow();
    EXPECT_EQ(window.menuItemText(CMD_ROOM_MOVE), "&Move");
    EXPECT_GT(window.viewWidth(), 100);
    ASSERT_FALSE(shell.project().objects.empty());

    const int views[] = {VIEW_XY, VIEW_3D, VIEW_YZ};
    for (int view : views) {
      shell.onKeyDown(keyF(1 + view), false);
      shell.onKeyDown(keyF(7), false);  // zoom all
      settle(platform);
      EXPECT_EQ(shell.view().mode, view);
      const RgbImage picture = window.viewPicture();
      EXPECT_EQ(picture.width, window.viewWidth());
      EXPECT_GT(inkPixels(picture), 200) << "view " << view;
    }

    ModelObject* first = shell.project().objects.head();
    while (first != nullptr && first->nodes.empty()) first = first->next;
    ASSERT_NE(first, nullptr);
    const std::size_t index = static_cast<std::size_t>(shell.project().objects.ordinalOf(first));
    const float x0 = first->nodes[0].x;
    auto firstX = [&] {
      return shell.project().objects.objectAt(static_cast<long>(index))->nodes[0].x;
    };
    shell.onCommand(CMD_ROOM_BUILD_GROUP);
    EXPECT_FLOAT_EQ(firstX(), x0 + 1.0f);
    shell.onCommand(CMD_UNDO);  // Undo
    EXPECT_FLOAT_EQ(firstX(), x0);
    shell.onCommand(CMD_REDO);  // Redo
    EXPECT_FLOAT_EQ(firstX(), x0 + 1.0f);
    settle(platform);

    // Exit asks about the unsaved edit; Discard closes the window.
    whenModalShown([](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (box != nullptr && box->button(QMessageBox::Discard) != nullptr)
        box->button(QMessageBox::Discard)->click();
    });
    shell.onCommand(CMD_EXIT);
    EXPECT_TRUE(shell.closed());
    EXPECT_FALSE(platform.processEvents(false));
    EXPECT_TRUE(fs::exists(dir / "HISTORY.TVX"));
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace tav::test
