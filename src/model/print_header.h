// The print-header block: title-block rows printed with a plot; carried in
// the project file inside a pseudo-object.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace tav {

constexpr std::size_t PRINT_HEADER_SIZE = 742;

struct PrintHeader {
  struct Row {
    char label[11] = {};
    char value[41] = {};
    friend bool operator==(const Row&, const Row&) = default;
  };
  std::array<std::uint8_t, 162> carried{};  // kept unchanged, zero when new
  std::array<Row, 8> rows{};
  char freeLines[4][41] = {};

  friend bool operator==(const PrintHeader& a, const PrintHeader& b);
};

// The 742-byte stored form.
void encodePrintHeader(const PrintHeader& header, std::span<std::uint8_t, PRINT_HEADER_SIZE> out);
PrintHeader decodePrintHeader(std::span<const std::uint8_t, PRINT_HEADER_SIZE> in);

}  // namespace tav
