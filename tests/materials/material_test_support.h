// Helpers of the material tests: .TAB bytes built by hand, independently of
// the code under test.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "support/bytes.h"
#include "support/temp_folder.h"

namespace tav::test {

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
