// A user's session with the editing commands: the scripted platform, a
// shell with the commands registered, an XY view of 20 pixels per metre
// centred on the origin (40 x 30 m on 800 x 600 pixels).
#pragma once

#include "edit/ui/edit_commands.h"
#include "support/shell_session.h"

namespace tav::edittest {

struct EditSession : test::ShellSession {
  explicit EditSession(int viewMode = VIEW_XY) {
    registerEditCommands(shell.registry());
    view2D(viewMode, 20.0f);
  }
  // Objects added here are the model as opened, not unsaved work.
  ModelObject* add(std::unique_ptr<ModelObject> o) { return objects().appendObject(std::move(o)); }
};

// Faces of material 0 over their nodes, squares counter-clockwise from above.
using test::makeFace;
using test::makeSquare;

}  // namespace tav::edittest
