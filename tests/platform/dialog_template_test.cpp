#include <gtest/gtest.h>

#include "platform/dialog.h"

namespace tav {
namespace {

TEST(DialogTemplate, CheckFindsUnbuildableTemplates) {
  DialogTemplate ok{"Point absolute :",
                    {gridControl(0, ControlKind::Label, "X", 0, 0),
                     gridControl(101, ControlKind::Edit, "0.000", 0, 1),
                     gridControl(0, ControlKind::Label, "Y", 1, 0),
                     gridControl(102, ControlKind::Edit, "0.000", 1, 1),
                     gridControl(DLG_OK, ControlKind::DefaultButton, "OK", 2, 0)},
                    0,
                    0};
  EXPECT_EQ(checkDialogTemplate(ok), "");  // labels may share id 0

  DialogTemplate duplicate = ok;
  duplicate.controls[3].id = 101;
  EXPECT_NE(checkDialogTemplate(duplicate).find("duplicate"), std::string::npos);

  DialogTemplate mixed = ok;
  mixed.controls.push_back(rectControl(200, ControlKind::PushButton, "x", {0, 0, 10, 10}));
  EXPECT_NE(checkDialogTemplate(mixed), "");

  DialogTemplate unplaced = ok;
  unplaced.controls[1].place.row = -1;
  EXPECT_NE(checkDialogTemplate(unplaced), "");

  EXPECT_NE(checkDialogTemplate(DialogTemplate{"empty", {}, 0, 0}), "");

  DialogTemplate byRect{"r",
                        {rectControl(1, ControlKind::PushButton, "OK", {10, 10, 60, 20}),
                         rectControl(2, ControlKind::PushButton, "Cancel", {80, 10, 60, 20})},
                        160,
                        50};
  EXPECT_EQ(checkDialogTemplate(byRect), "");
}

}  // namespace
}  // namespace tav
