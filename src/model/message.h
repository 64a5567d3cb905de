// A message for the user, produced by core code and shown by the shell.
#pragma once

#include <string>

namespace tav {

struct UserMessage {
  std::string text;
  std::string caption;  // empty: the platform's default caption
  bool empty() const { return text.empty(); }
};

// Texts shared by several file modules.
inline constexpr const char* MSG_CANT_LOCATE_FILE = "Can\u00B4t locate file";
inline constexpr const char* MSG_INVALID_FILE_FORMAT = "Invalid file format !";
inline constexpr const char* MSG_CANT_WRITE_FILE = "Can\u00B4t write file -write protection?";
inline constexpr const char* MSG_CANT_WRITE_TO_DISK = "Can\u00B4t write file to disk";
inline constexpr const char* MSG_INSUFFICIENT_MEMORY = "Insufficient memory, operation cancelled";
// An option or dialog value out of its range.
inline constexpr const char* MSG_INVALID_ENTRY = "Invalid entry !";

}  // namespace tav
