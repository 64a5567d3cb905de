#include "platform/qt/qt_keys.h"

#include <QKeyEvent>

#include "platform/keys.h"

namespace tav {

int toVirtualKey(int key, bool keypad) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;  // ASCII capitals
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return key;
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return KEY_F1 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return KEY_RETURN;
    case Qt::Key_Escape:
      return KEY_ESCAPE;
    case Qt::Key_Space:
      return KEY_SPACE;
    case Qt::Key_Backspace:
      return KEY_BACK;
    case Qt::Key_Tab:
      return KEY_TAB;
    case Qt::Key_Shift:
      return KEY_SHIFT;
    case Qt::Key_Control:
      return KEY_CONTROL;
    case Qt::Key_PageUp:
      return KEY_PRIOR;
    case Qt::Key_PageDown:
      return KEY_NEXT;
    case Qt::Key_End:
      return KEY_END;
    case Qt::Key_Home:
      return KEY_HOME;
    case Qt::Key_Left:
      return KEY_LEFT;
    case Qt::Key_Up:
      return KEY_UP;
    case Qt::Key_Right:
      return KEY_RIGHT;
    case Qt::Key_Down:
      return KEY_DOWN;
    case Qt::Key_Insert:
      return KEY_INSERT;
    case Qt::Key_Delete:
      return KEY_DELETE;
    case Qt::Key_Plus:
      return keypad ? KEY_ADD : '+';
    case Qt::Key_Minus:
      return keypad ? KEY_SUBTRACT : '-';
    default:
      return 0;
  }
}

int toVirtualKey(const QKeyEvent& event) {
  return toVirtualKey(event.key(), (event.modifiers() & Qt::KeypadModifier) != 0);
}

}  // namespace tav
