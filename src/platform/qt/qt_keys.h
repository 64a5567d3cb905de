// Qt key events to the virtual-key codes of keys.h.
#pragma once

class QKeyEvent;

namespace tav {

// 0 for keys without a code.
int toVirtualKey(const QKeyEvent& event);
int toVirtualKey(int qtKey, bool keypad);

}  // namespace tav
