// The equalizer on real Qt scroll bars: an arrow or a click in the trough
// steps from the value itself, dragging the thumb sets the value from the
// position.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QScrollBar>

#include "platform/qt/qt_platform.h"
#include "qt_test_app.h"
#include "speakers/ui/equalizer_dialog.h"

namespace tav {
namespace {

QScrollBar* bar(QWidget* dialog, int id) {
  return dialog->findChild<QScrollBar*>(QStringLiteral("ctl_%1").arg(id));
}

TEST(QtEqualizerScroll, ArrowsAndTroughStepFromTheValueTheThumbSetsIt) {
  test::qtApp();
  QtPlatform platform;
  std::array<double, BAND_COUNT> values;
  values.fill(-30.0);
  values[0] = values[1] = -9.5;
  test::whenModalShown([](QWidget* dialog) {
    QScrollBar* first = bar(dialog, EQD_BAR_FIRST);
    ASSERT_NE(first, nullptr);
    first->triggerAction(QAbstractSlider::SliderSingleStepSub);  // the up arrow, twice
    first->triggerAction(QAbstractSlider::SliderSingleStepSub);
    bar(dialog, EQD_BAR_FIRST + 1)->triggerAction(QAbstractSlider::SliderPageStepAdd);
    bar(dialog, EQD_BAR_FIRST + 2)->setValue(37);  // the thumb
    dialog->findChild<QPushButton*>(QStringLiteral("ctl_%1").arg(EQD_OK))->click();
  });
  ASSERT_TRUE(equalizerDialog(platform, values, EQ_MODE_GAIN));
  EXPECT_DOUBLE_EQ(values[0], -7.5);
  EXPECT_DOUBLE_EQ(values[1], -19.5);
  EXPECT_DOUBLE_EQ(values[2], -37.0);
}

}  // namespace
}  // namespace tav
