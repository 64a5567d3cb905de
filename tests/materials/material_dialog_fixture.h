// The fixture of the material dialogs, used outside a running command: the
// shell is their Interaction, and a script step a dialog never reached fails
// the test.
#pragma once

#include <gtest/gtest.h>

#include "material_test_support.h"
#include "materials/absorber_database.h"
#include "support/shell_session.h"

namespace tav::test {

struct MaterialDialogFixture : ::testing::Test {
  void TearDown() override {
    EXPECT_TRUE(platform.problems().empty()) << platform.problems().front();
  }
  ShellSession session;
  ScriptedPlatform& platform = session.platform;
  Shell& ui = session.shell;
  TempFolder& dir = session.dir;
  AbsorberDatabase db;
};

}  // namespace tav::test
