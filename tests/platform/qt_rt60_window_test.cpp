// The room-acoustics windows on the real platform, headless: the RT60 window
// with the example project in all four methods through its own buttons, the
// face listing changing a material, the example's room faces summary
// printed to a PDF file, and the room check repairing a turned face.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "materials/absorber_database.h"
#include "materials/face_listing.h"
#include "materials/ui/acoustics_commands.h"
#include "materials/ui/face_listing_dialog.h"
#include "materials/ui/room_summary_print.h"
#include "materials/ui/rt60_window.h"
#include "model/project_file.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_print.h"
#include "qt_test_app.h"
#include "reflections/face_table.h"
#include "reflections/room_check.h"
#include "reflections/ui/room_check_command.h"
#include "shell/shell.h"

namespace tav::test {
namespace {

namespace fs = std::filesystem;

// Runs `action` on the first visible modal widget with this title.
void whenTitled(const QString& title, std::function<void(QWidget*)> action, int attempts = 400) {
  QTimer::singleShot(5, [=] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal->isVisible() && modal->windowTitle() == title) {
      action(modal);
    } else if (attempts > 0) {
      whenTitled(title, action, attempts - 1);
    }
  });
}

bool press(QWidget* window, const QString& label) {
  for (QPushButton* b : window->findChildren<QPushButton*>()) {
    if (b->text() == label) {
      b->click();
      return true;
    }
  }
  return false;
}

QImage shot(QWidget* window) {
  for (int i = 0; i < 10; ++i) QApplication::processEvents();
  return window->grab().toImage();
}

int inkPixels(const QImage& image) {
  int ink = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ink += image.pixel(x, y) != qRgb(255, 255, 255);
  return ink;
}

TEST(QtRt60Window, ExampleProjectWithAllFourMethods) {
  qtApp();
  const fs::path dir = fs::temp_directory_path() / ("taviron_rt60_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  {
    QtPlatform platform;
    Shell shell(platform, ShellOptions{(dir / "HISTORY.TVX").string(), TAVIRON_SOURCE_DIR "/data",
                                       (dir / "manual.html").string()});
    registerAcousticsCommands(shell.registry());
    ASSERT_TRUE(shell.start());
    ASSERT_TRUE(shell.openProjectFile(TAVIRON_SOURCE_DIR "/data/examples/example.TPR"));
    // Measured times the room can have (no "Impossible input values" box).
    shell.project().settings.measuredRT.fill(1.0f);

    std::vector<QImage> pictures;
    std::vector<int> methods;
    bool pressed = true;
    // Never hang: whatever is still open after a while is closed.
    QTimer::singleShot(30000, [] {
      while (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    whenTitled(RT60_WINDOW_TITLE, [&](QWidget* window) {
      auto take = [&] {
        pictures.push_back(shot(window));
        methods.push_back(shell.project().settings.rtMethod);
      };
      take();
      for (const char* label : {"Ey", "Fi"}) {
        pressed = press(window, label) && pressed;
        take();
      }
      // "M" asks for the values first; OK them.
      whenTitled("RT 60", [&](QWidget* dialog) { pressed = press(dialog, "OK") && pressed; });
      pressed = press(window, "M") && pressed;
      take();
      pressed = press(window, "<-") && pressed;
    });
    shell.onCommand(CMD_RT60_SABINE);
    EXPECT_TRUE(pressed);
    ASSERT_EQ(pictures.size(), 4u);
    EXPECT_EQ(methods, (std::vector<int>{RT_SABINE, RT_EYRING, RT_FITZROY, RT_MEASUREMENT}));
    for (std::size_t i = 0; i < pictures.size(); ++i) {
      EXPECT_GT(inkPixels(pictures[i]), 2000) << i;
      for (std::size_t k = 0; k < i; ++k) EXPECT_NE(pictures[i], pictures[k]) << k << " " << i;
    }
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
}

TEST(QtFaceListing, ExampleProjectListsAndChangesAMaterial) {
  qtApp();
  const fs::path dir = fs::temp_directory_path() / ("taviron_faces_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  {
    QtPlatform platform;
    Shell shell(platform, ShellOptions{(dir / "HISTORY.TVX").string(), TAVIRON_SOURCE_DIR "/data",
                                       (dir / "manual.html").string()});
    registerAcousticsCommands(shell.registry());
    ASSERT_TRUE(shell.start());
    ASSERT_TRUE(shell.openProjectFile(TAVIRON_SOURCE_DIR "/data/examples/example.TPR"));
    ASSERT_TRUE(loadAbsorberDatabaseFile(shell.session().absorberDatabase,
                                         TAVIRON_SOURCE_DIR "/data/examples/materials.TAB")
                    .loaded);
    QTimer::singleShot(30000, [] {
      while (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    int lines = 0;
    QString before, after, chosen;
    bool pressed = true;
    whenTitled(FACE_LISTING_TITLE, [&](QWidget* dialog) {
      auto* list = dialog->findChild<QListWidget*>(QStringLiteral("ctl_%1").arg(FL_LIST));
      if (list == nullptr) return;
      lines = list->count();
      before = list->item(0)->text();
      whenTitled("Select Absorber Material", [&](QWidget* select) {
        auto* materials = select->findChild<QListWidget*>(QStringLiteral("ctl_101"));
        if (materials == nullptr || materials->count() < 3) return;
        // A material the first face does not have yet.
        int row = 0;
        while (before.endsWith(materials->item(row)->text())) ++row;
        materials->setCurrentRow(row);
        chosen = materials->item(row)->text();
        pressed = press(select, "OK") && pressed;
      });
      pressed = press(dialog, "Change Face Material") && pressed;
      after = list->item(0)->text();
      pressed = press(dialog, "Quit") && pressed;
    });
    shell.onCommand(CMD_FACE_LISTING);
    EXPECT_TRUE(pressed);
    // One line per room face of the example (every face there is larger than
    // the smallest the table keeps).
    EXPECT_EQ(static_cast<std::size_t>(lines), countRoomFaces(shell.project()));
    EXPECT_GT(lines, 6);
    EXPECT_TRUE(before.startsWith("001\t")) << before.toStdString();
    ASSERT_FALSE(chosen.isEmpty());
    EXPECT_TRUE(after.endsWith("\t" + chosen)) << after.toStdString();
    EXPECT_TRUE(shell.project().modified);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
}

TEST(QtRoomSummary, ExampleProjectPrintsToPdf) {
  qtApp();
  ProjectLoadResult loaded = loadProject(TAVIRON_SOURCE_DIR "/data/examples/example.TPR");
  ASSERT_TRUE(loaded.ok());
  FaceTable table;
  ASSERT_TRUE(buildFaceTable(loaded.project, table).ok());
  ASSERT_GT(table.size(), 0u);
  sortFacesForReflections(table);
  const FaceListing listing = buildFaceListing(table, loaded.project.materials);

  const fs::path path =
      fs::temp_directory_path() / ("taviron_summary_" + std::to_string(::getpid()) + ".pdf");
  {
    std::unique_ptr<PrintJob> job = openPdfJob(path.string(), ROOM_SUMMARY_TITLE);
    ASSERT_TRUE(job);
    EXPECT_TRUE(printRoomSummaryPages(*job, listing));
  }
  QFile file(QString::fromStdString(path.string()));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  const auto pages = bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                     bytes.count("/Type /Page/") + bytes.count("/Type /Page ");
  EXPECT_EQ(pages, roomSummaryPageCount(listing));
  file.close();
  fs::remove(path);
}

TEST(QtRoomCheck, ExampleProjectWithATurnedFaceIsRepaired) {
  qtApp();
  const fs::path dir = fs::temp_directory_path() / ("taviron_check_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  {
    ProjectLoadResult loaded = loadProject(TAVIRON_SOURCE_DIR "/data/examples/example.TPR");
    ASSERT_TRUE(loaded.ok());
    ModelObject* first = loaded.project.objects.head();
    while (first != nullptr && !(first->layer == LAYER_ROOM && !first->indices.empty() &&
                                 first->indices[0].code == IDX_START))
      first = first->next;
    ASSERT_NE(first, nullptr);
    const std::vector<IndexEntry> original = first->indices;
    ASSERT_TRUE(reverseFaceOrder(*first, 0));
    const fs::path copy = dir / "TURNED.TPR";
    ASSERT_TRUE(saveProjectAs(loaded.project, copy.string()).empty());

    QtPlatform platform;
    Shell shell(platform, ShellOptions{(dir / "HISTORY.TVX").string(), TAVIRON_SOURCE_DIR "/data",
                                       (dir / "manual.html").string()});
    registerAcousticsCommands(shell.registry());
    ASSERT_TRUE(shell.start());
    ASSERT_TRUE(shell.openProjectFile(copy.string()));
    QTimer::singleShot(30000, [] {
      while (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    QString message;
    whenTitled(QString::fromUtf8(CAPTION_ROOM_OK), [&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (box == nullptr) return;
      message = box->text();
      box->button(QMessageBox::Ok)->click();
    });
    shell.onCommand(CMD_ROOM_CHECK);
    EXPECT_EQ(message.toStdString(), "1Faces auto-inverted ");
    EXPECT_EQ(shell.view().mode, VIEW_XY);
    EXPECT_TRUE(shell.project().modified);
    const ModelObject* repaired = shell.project().objects.head();
    while (repaired != nullptr && !(repaired->layer == LAYER_ROOM && !repaired->indices.empty() &&
                                    repaired->indices[0].code == IDX_START))
      repaired = repaired->next;
    ASSERT_NE(repaired, nullptr);
    EXPECT_EQ(repaired->indices, original);
    EXPECT_EQ(platform.progressWindow(), nullptr);
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace
}  // namespace tav::test
