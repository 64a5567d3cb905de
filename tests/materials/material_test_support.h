// Helpers of the material tests: an Interaction over the scripted platform
// (for dialogs used outside a running shell) and .TAB bytes built by hand,
// independently of the code under test.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/interaction.h"
#include "platform/scripted/scripted_platform.h"
#include "support/bytes.h"
#include "support/temp_folder.h"

namespace tav::test {

class ScriptedInteraction : public Interaction {
 public:
  explicit ScriptedInteraction(ScriptedPlatform& p) : p_(p) {}
  void showPrompt(std::string_view text) override { prompts.emplace_back(text); }
  InputOutcome waitForInput() override { return InputOutcome::Cancelled; }
  std::optional<std::string> inputLine(std::string_view prompt, std::string_view text,
                                       int maxLength) override {
    return p_.inputLine(prompt, text, maxLength);
  }
  MessageResult showMessage(std::string_view text, std::string_view caption, MessageButtons buttons,
                            MessageIcon icon) override {
    return p_.showMessage(text, caption, buttons, icon);
  }
  std::optional<std::string> openFileName(const FileDialogRequest& r) override {
    return p_.openFileName(r);
  }
  std::optional<std::string> saveFileName(const FileDialogRequest& r) override {
    return p_.saveFileName(r);
  }
  void progressOpen(std::string_view, std::string_view, std::string_view) override {}
  bool progressUpdate(int, std::string_view) override { return false; }
  void progressClose() override {}
  Platform& platform() override { return p_; }

  std::vector<std::string> prompts;

 private:
  ScriptedPlatform& p_;
};

using TempFolder = tavtest::TempFolder;
using tavtest::append;
using tavtest::readBytes;
using tavtest::writeBytes;

// One 256-byte record: name at 0, description at 23, coefficients at 112,
// category at 148; `fill` goes into every reserved byte.
inline std::vector<std::uint8_t> recordBytes(const std::string& name,
                                             const std::array<float, 7>& alpha,
                                             const std::string& description = {},
                                             const std::string& category = {},
                                             std::uint8_t fill = 0) {
  tavtest::Bytes b;
  b.text(name.substr(0, 22), 23).text(description.substr(0, 79), 80).raw(tavtest::Buf(9, fill));
  for (float a : alpha) b.f32(a);
  b.raw(tavtest::Buf(8, fill)).text(category.substr(0, 79), 80).raw(tavtest::Buf(28, fill));
  return b.b;
}

inline std::vector<std::uint8_t> tabHeader() {
  return tavtest::Bytes().text("TAVIRON ABSORBER DATABASE V1.1", 32).b;
}

// A database file of named records with coefficients a, a, ... (one value
// per record for all bands).
inline void writeDatabase(const std::string& path,
                          const std::vector<std::pair<std::string, float>>& records) {
  std::vector<std::uint8_t> bytes = tabHeader();
  for (const auto& [name, a] : records)
    append(bytes, recordBytes(name, {a, a, a, a, a, a, a}, name + " description", "Test"));
  writeBytes(path, bytes);
}

}  // namespace tav::test
