// A user's session with the editing commands: the scripted platform, a
// shell with the commands registered, an XY view of 20 pixels per metre
// centred on the origin (40 x 30 m on 800 x 600 pixels).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "edit/ui/edit_commands.h"
#include "model/project.h"
#include "platform/keys.h"
#include "platform/scripted/scripted_platform.h"
#include "shell/shell.h"
#include "shell/typed_point.h"
#include "support/model_builders.h"
#include "support/temp_folder.h"

namespace tav::edittest {

using TempFolder = tavtest::TempFolder;

struct EditSession {
  TempFolder dir;
  ScriptedPlatform platform{800, 600};
  Shell shell{platform,
              ShellOptions{(dir.path / "HISTORY.TVX").string(), dir.path.string(), "manual.html"}};

  explicit EditSession(int viewMode = VIEW_XY) {
    registerEditCommands(shell.registry());
    EXPECT_TRUE(shell.start());
    view(viewMode);
  }

  // A 2D view with 20 pixels per metre and the origin at the centre.
  void view(int mode) {
    shell.selectViewMode(mode);
    shell.view().zoom = 20.0f;
    if (mode <= VIEW_XZ)
      for (int axis : {AXIS_H, AXIS_V}) setViewOffset(shell.view(), mode, axis, 0.0f);
  }

  Project& project() { return shell.project(); }
  ObjectList& objects() { return shell.project().objects; }
  ModelObject* add(std::unique_ptr<ModelObject> o) { return objects().appendObject(std::move(o)); }

  // Script steps. Pixels are computed now, so the view must not change
  // while the script runs.
  void menu(int id) { platform.pushMenu(id); }
  void command(int id) { platform.pushCommand(id); }
  void clickAt(double x, double y, double z = 0) {
    platform.pushClick(shell.pixelOf({float(x), float(y), float(z)}));
  }
  void enter() { platform.pushKey(KEY_RETURN); }
  void escape() { platform.pushKey(KEY_ESCAPE); }
  // A point typed in the "Point absolute :" or "Point relative :" dialog.
  void typePoint(bool absolute, double x, double y, double z) {
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

// Faces of material 0 over their nodes, squares counter-clockwise from above.
inline std::unique_ptr<ModelObject> face(const std::vector<Node>& nodes,
                                         std::uint32_t layer = LAYER_ROOM) {
  return test::makeFace(nodes, layer);
}
inline std::unique_ptr<ModelObject> square(float x, float y, float size, float z = 0,
                                           std::uint32_t layer = LAYER_ROOM) {
  return test::makeSquare(x, y, size, z, layer);
}

}  // namespace tav::edittest
