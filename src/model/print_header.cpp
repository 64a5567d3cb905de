#include "model/print_header.h"

#include <cstring>

#include "model/le_io.h"

namespace tav {

// Stored form: 162 carried bytes, 8 rows of label[11] + value[41], then 4
// free lines of 41 characters: 162 + 8 * 52 + 4 * 41 = 742 bytes.
static_assert(162 + 8 * (11 + 41) + 4 * 41 == PRINT_HEADER_SIZE);

bool operator==(const PrintHeader& a, const PrintHeader& b) {
  return a.carried == b.carried && a.rows == b.rows &&
         std::memcmp(a.freeLines, b.freeLines, sizeof a.freeLines) == 0;
}

void encodePrintHeader(const PrintHeader& header, std::span<std::uint8_t, PRINT_HEADER_SIZE> out) {
  LeWriter w;
  w.reserve(PRINT_HEADER_SIZE);
  w.bytes(header.carried.data(), header.carried.size());
  for (const PrintHeader::Row& row : header.rows) {
    w.chars(row.label);
    w.chars(row.value);
  }
  for (const auto& line : header.freeLines) w.chars(line);
  std::memcpy(out.data(), w.buffer().data(), PRINT_HEADER_SIZE);
}

PrintHeader decodePrintHeader(std::span<const std::uint8_t, PRINT_HEADER_SIZE> in) {
  PrintHeader header;
  LeReader r(in);
  r.bytes(header.carried.data(), header.carried.size());
  for (PrintHeader::Row& row : header.rows) {
    r.chars(row.label);
    r.chars(row.value);
  }
  for (auto& line : header.freeLines) r.chars(line);
  return header;
}

}  // namespace tav
