// A user's session with the shell on the scripted platform: the shell
// started with its history in a folder of its own, the manual at
// "manual.html" and the home folder "home" there, on a view of 800 x 600
// pixels. Script steps are queued and run by run(); pixels are computed when
// a step is queued, so the view must not change while a script runs.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/object_list.h"
#include "model/project.h"
#include "platform/keys.h"
#include "platform/scripted/scripted_platform.h"
#include "shell/shell.h"
#include "shell/typed_point.h"
#include "support/model_builders.h"
#include "support/temp_folder.h"

namespace tav::test {

using TempDir = tavtest::TempFolder;

struct ShellSession {
  TempDir dir;
  ScriptedPlatform platform{800, 600};
  Shell shell{platform, ShellOptions{dir.file("HISTORY.TVX"), dir.path.string(), "manual.html",
                                     dir.file("home")}};

  ShellSession() { EXPECT_TRUE(shell.start()); }

  Project& project() { return shell.project(); }
  ObjectList& objects() { return shell.project().objects; }
  ScriptedMainWindow& window() { return *platform.mainWindow(); }
  // An object added as a user's unsaved work.
  ModelObject* add(std::unique_ptr<ModelObject> o) {
    ModelObject* p = objects().appendObject(std::move(o));
    project().modified = true;
    return p;
  }
  // A 2D view with `zoom` pixels per metre and the origin at the centre
  // (400, 300).
  void view2D(int mode, float zoom) {
    shell.selectViewMode(mode);
    shell.view().zoom = zoom;
    if (mode <= VIEW_XZ)
      for (int axis : {AXIS_H, AXIS_V}) setViewOffset(shell.view(), mode, axis, 0.0f);
  }
  void xyView(float zoom = 100.0f) { view2D(VIEW_XY, zoom); }

  PixelPoint at(double x, double y, double z = 0) {
    return shell.pixelOf({float(x), float(y), float(z)});
  }
  void menu(int id) { platform.pushMenu(id); }
  void command(int id) { platform.pushCommand(id); }
  void click(PixelPoint p) { platform.pushClick(p); }
  void clickAt(double x, double y, double z = 0) { platform.pushClick(at(x, y, z)); }
  void rightClick(PixelPoint p = {400, 300}) { platform.pushClick(p, MouseButton::Right); }
  void enter() { platform.pushKey(KEY_RETURN); }
  void escape() { platform.pushKey(KEY_ESCAPE); }
  // A point typed in the "Point absolute :" or "Point relative :" dialog.
  void typePoint(double x, double y, double z, bool absolute = true) {
    platform.scriptDialog(
        absolute ? TITLE_POINT_ABSOLUTE : TITLE_POINT_RELATIVE,
        {DialogStep::setText(POINT_FIELD_X, std::to_string(x)),
         DialogStep::setText(POINT_FIELD_Y, std::to_string(y)),
         DialogStep::setText(POINT_FIELD_Z, std::to_string(z)), DialogStep::click(DLG_OK)});
    platform.pushKey(absolute ? KEY_A : KEY_R);
  }
  void check(std::function<void()> f) { platform.pushAction(std::move(f)); }
  void run() {
    shell.run();
    EXPECT_TRUE(platform.problems().empty()) << platform.problems().front();
  }

  std::vector<std::string> messages() const {
    std::vector<std::string> out;
    for (const MessageRecord& m : platform.messages()) out.push_back(m.text);
    return out;
  }
  std::string prompt() { return platform.mainWindow()->promptText(); }
};

}  // namespace tav::test
