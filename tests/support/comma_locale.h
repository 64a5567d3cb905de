// A comma-decimal locale for tests that must hold on a German or French
// desktop. When the machine has no such locale, de_DE.UTF-8 is compiled with
// localedef (from the `locales` package) into a folder under the system
// temporary folder, kept there for the next test process.
#pragma once

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace tavtest {

class CommaLocale {
 public:
  static constexpr const char* NAME = "de_DE.UTF-8";

  // Switches the whole process (LC_ALL) to the comma locale. False, with the
  // reason in `why`, when no comma locale can be had.
  static bool enter(std::string& why) {
    if (trySet()) return true;
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path cache = fs::temp_directory_path(ec) / "taviron_locales";
    if (!fs::exists(cache / NAME, ec)) {
      // Compiled aside and renamed into place, so that test processes
      // running at the same time never see half a locale.
      const fs::path aside = cache / ("building_" + std::to_string(::getpid()));
      fs::create_directories(aside, ec);
      const std::string command =
          "localedef -i de_DE -f UTF-8 '" + (aside / NAME).string() + "' >/dev/null 2>&1";
      const int status = std::system(command.c_str());
      if (fs::exists(aside / NAME / "LC_NUMERIC", ec)) fs::rename(aside / NAME, cache / NAME, ec);
      fs::remove_all(aside, ec);
      if (status != 0 && !fs::exists(cache / NAME, ec)) {
        why = "localedef could not build de_DE.UTF-8 (is the `locales` package installed?)";
        return false;
      }
    }
    ::setenv("LOCPATH", cache.c_str(), 1);
    if (trySet()) return true;
    ::unsetenv("LOCPATH");
    why = "de_DE.UTF-8 was built but cannot be selected";
    return false;
  }

  static void leave() {
    std::setlocale(LC_ALL, "C");
    ::unsetenv("LOCPATH");
  }

 private:
  static bool trySet() {
    if (std::setlocale(LC_ALL, NAME) == nullptr) return false;
    const std::lconv* conv = std::localeconv();
    if (conv != nullptr && std::string(conv->decimal_point) == ",") return true;
    std::setlocale(LC_ALL, "C");
    return false;
  }
};

}  // namespace tavtest
