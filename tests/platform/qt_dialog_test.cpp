// The Qt dialog host builds widgets from a template and runs the handler on
// their events; the handler reads and writes the controls by id.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include "platform/qt/qt_dialog_host.h"
#include "platform/qt/qt_platform.h"
#include "qt_test_app.h"

namespace tav {
namespace {

constexpr int ID_NAME = 104;
constexpr int ID_CHECK = 105;
constexpr int ID_RADIO_A = 106;
constexpr int ID_RADIO_B = 107;
constexpr int ID_LIST = 108;
constexpr int ID_COMBO = 109;

DialogTemplate sampleDialog() {
  DialogTemplate t;
  t.title = "Absorber";
  t.controls = {
      gridControl(0, ControlKind::Label, "Name", 0, 0),
      gridControl(ID_NAME, ControlKind::Edit, "", 0, 1, 1, 2, CTL_UPPERCASE),
      gridControl(ID_CHECK, ControlKind::CheckBox, "Protected", 1, 0),
      gridControl(ID_RADIO_A, ControlKind::RadioButton, "Sabine", 2, 0, 1, 1, CTL_CHECKED),
      gridControl(ID_RADIO_B, ControlKind::RadioButton, "Eyring", 2, 1),
      gridControl(ID_LIST, ControlKind::ListBox, "", 3, 0, 1, 3),
      gridControl(ID_COMBO, ControlKind::ComboBox, "", 4, 0),
      gridControl(DLG_OK, ControlKind::DefaultButton, "OK", 5, 1),
      gridControl(DLG_CANCEL, ControlKind::PushButton, "Cancel", 5, 2),
  };
  t.controls[1].maxLength = 8;
  return t;
}

struct Handler : DialogHandler {
  std::vector<std::pair<int, DialogEventKind>> events;
  std::vector<std::string> atOk;  // name, check, radio B, list row, combo row at OK
  int closeRequests = 0;
  bool allowClose = true;

  void onInit(DialogControls& c) override {
    c.setText(ID_NAME, "WOOD");
    c.addItem(ID_LIST, "Concrete");
    c.addItem(ID_LIST, "Carpet");
    c.addItem(ID_LIST, "Glass");
    c.setSelection(ID_LIST, 1);
    c.addItem(ID_COMBO, "125 Hz");
    c.addItem(ID_COMBO, "250 Hz");
    c.setFocus(ID_NAME);
  }
  void onCommand(int id, DialogEventKind kind, DialogControls& c) override {
    events.emplace_back(id, kind);
    if (id == DLG_OK) {
      atOk = {c.text(ID_NAME), std::to_string(c.checked(ID_CHECK)),
              std::to_string(c.checked(ID_RADIO_B)), std::to_string(c.selection(ID_LIST)),
              std::to_string(c.selection(ID_COMBO))};
      c.endDialog(DLG_OK);
    }
    if (id == DLG_CANCEL) c.endDialog(DLG_CANCEL);
  }
  bool onClose(DialogControls&) override {
    ++closeRequests;
    return allowClose;
  }
};

template <typename T>
T* control(QWidget* dialog, int id) {
  return dialog->findChild<T*>(QStringLiteral("ctl_%1").arg(id));
}

TEST(QtDialogHost, UserActionsReachTheHandlerById) {
  test::qtApp();
  Handler handler;
  test::whenModalShown([&](QWidget* dialog) {
    auto* name = control<QLineEdit>(dialog, ID_NAME);
    ASSERT_NE(name, nullptr);
    // Typing goes through the upper-case and length rules of the field.
    name->setFocus();
    name->selectAll();
    name->insert(QStringLiteral("felt pad x"));
    control<QCheckBox>(dialog, ID_CHECK)->click();
    control<QRadioButton>(dialog, ID_RADIO_B)->click();
    control<QListWidget>(dialog, ID_LIST)->setCurrentRow(2);
    auto* combo = control<QComboBox>(dialog, ID_COMBO);
    combo->setCurrentIndex(1);
    Q_EMIT combo->activated(1);
    control<QPushButton>(dialog, DLG_OK)->click();
  });
  EXPECT_EQ(runQtDialog(sampleDialog(), handler, nullptr), DLG_OK);
  EXPECT_EQ(handler.atOk, (std::vector<std::string>{"FELT PAD", "1", "1", "2", "1"}));
  // Programmatic changes in onInit fired nothing; user actions did.
  ASSERT_FALSE(handler.events.empty());
  EXPECT_EQ(handler.events.front(), std::make_pair(ID_NAME, DialogEventKind::Changed));
}

TEST(QtDialogHost, EscapeAsksTheHandler) {
  test::qtApp();
  Handler handler;
  handler.allowClose = false;
  test::whenModalShown([&](QWidget* dialog) {
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(dialog, &esc);  // refused: stays open
    handler.allowClose = true;
    QApplication::sendEvent(dialog, &esc);
  });
  EXPECT_EQ(runQtDialog(sampleDialog(), handler, nullptr), DLG_CANCEL);
  EXPECT_EQ(handler.closeRequests, 2);
}

TEST(QtDialogHost, AnUnbuildableTemplateIsNotShown) {
  test::qtApp();
  DialogTemplate broken = sampleDialog();
  broken.controls.push_back(gridControl(ID_NAME, ControlKind::Edit, "", 6, 0));
  Handler handler;
  EXPECT_FALSE(runQtDialog(broken, handler, nullptr));
  EXPECT_TRUE(handler.events.empty());
}

TEST(QtMessageBox, CaptionsButtonsAndTheInputLine) {
  test::qtApp();
  QtPlatform platform;
  QString title;
  test::whenModalShown([&](QWidget* w) {
    title = w->windowTitle();
    qobject_cast<QMessageBox*>(w)->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(
      platform.showMessage("Save changes?", "", MessageButtons::YesNoCancel, MessageIcon::Question),
      MessageResult::No);
  EXPECT_EQ(title, QString::fromUtf8(MESSAGE_DEFAULT_CAPTION));

  // The input line returns the text cut to its maximum, or nothing.
  test::whenModalShown([&](QWidget* w) {
    auto* edit = w->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("0.50"));
    edit->setText(QStringLiteral("0,25 metres"));
    qobject_cast<QDialog*>(w)->accept();
  });
  EXPECT_EQ(platform.inputLine("Set Cursor Snap ( 0 .. 1000 ):", "0.50", 4), "0,25");

  test::whenModalShown([&](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
  EXPECT_FALSE(platform.inputLine("Comment (80 chars max.):", "", 80));
}

}  // namespace
}  // namespace tav
