// Key codes delivered to key handlers: the classic virtual-key numbers.
// Letters are their upper-case ASCII code, digits their ASCII code.
#pragma once

namespace tav {

constexpr int KEY_BACK = 8;
constexpr int KEY_TAB = 9;
constexpr int KEY_RETURN = 13;
constexpr int KEY_SHIFT = 16;
constexpr int KEY_CONTROL = 17;
constexpr int KEY_ESCAPE = 27;
constexpr int KEY_SPACE = 32;
constexpr int KEY_PRIOR = 33;  // Page Up
constexpr int KEY_NEXT = 34;   // Page Down
constexpr int KEY_END = 35;
constexpr int KEY_HOME = 36;
constexpr int KEY_LEFT = 37;
constexpr int KEY_UP = 38;
constexpr int KEY_RIGHT = 39;
constexpr int KEY_DOWN = 40;
constexpr int KEY_INSERT = 45;
constexpr int KEY_DELETE = 46;
constexpr int KEY_A = 65;
constexpr int KEY_P = 80;
constexpr int KEY_R = 82;
constexpr int KEY_ADD = 107;       // numeric keypad +
constexpr int KEY_SUBTRACT = 109;  // numeric keypad -
constexpr int KEY_F1 = 112;        // F1..F12 are 112..123
constexpr int KEY_F12 = 123;
constexpr int keyF(int n) { return KEY_F1 + n - 1; }

}  // namespace tav
