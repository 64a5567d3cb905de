#include "speakers/record_scrambling.h"

#include <algorithm>

#include "model/le_io.h"

namespace tav {

const std::array<std::uint8_t, 32> PROGRAM_KEY = {
    0x8D, 0x13, 0x92, 0x5D, 0xEA, 0x59, 0x31, 0x3D, 0xF4, 0xBA, 0xA7, 0x06, 0xB7, 0xCF, 0x4C, 0x1B,
    0x73, 0x0A, 0x47, 0xB6, 0xF8, 0xA0, 0x08, 0xC2, 0x36, 0x75, 0x05, 0x8E, 0x47, 0x70, 0xE2, 0x48};

namespace {

// Regions of the record (first byte, length). Byte 71 (the layout flag) and
// the two check words at 454..461 are never scrambled.
constexpr std::size_t HEAD_A = 0, HEAD_A_LEN = 71;
constexpr std::size_t HEAD_B = 72, HEAD_B_LEN = 382;  // 72..453
constexpr std::size_t GRIDS = 512, GRIDS_LEN = SPEAKER_TYPE_SIZE - 512;
constexpr std::size_t TAIL = 462, TAIL_LEN = 50;
// Key windows: the record key inside the tail, and the tail's own window in
// the (scrambled) name and description.
constexpr std::size_t RECORD_KEY = 470, RECORD_KEY_LEN = 20;
constexpr std::size_t TAIL_KEY = 21, TAIL_KEY_LEN = 50;
constexpr std::size_t CHECKSUM_AT = 454;
constexpr std::size_t TAIL_CHECK_AT = 458;

std::uint32_t keyWord() { return loadU32(PROGRAM_KEY.data() + 4); }

// The transform S: byte i of the region is XORed with window[i mod w] and
// with the program key byte (7 i) mod 32. Returns the sum of (255 - plain
// byte) over the region; `scrambling` tells whether the input is plain.
std::uint32_t transform(std::uint8_t* region, std::size_t n, const std::uint8_t* window,
                        std::size_t w, bool scrambling) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t in = region[i];
    const std::uint8_t out = in ^ window[i % w] ^ PROGRAM_KEY[(7 * i) % 32];
    sum += 255u - (scrambling ? in : out);
    region[i] = out;
  }
  return sum;
}

}  // namespace

void scrambleSpeakerRecord(std::span<std::uint8_t, SPEAKER_TYPE_SIZE> record) {
  std::uint8_t* r = record.data();
  // The record key is copied: it lies in the tail, which is scrambled last.
  std::array<std::uint8_t, RECORD_KEY_LEN> key;
  std::copy_n(r + RECORD_KEY, RECORD_KEY_LEN, key.begin());
  std::uint32_t sum = transform(r + HEAD_A, HEAD_A_LEN, key.data(), key.size(), true);
  sum += transform(r + HEAD_B, HEAD_B_LEN, key.data(), key.size(), true);
  sum += transform(r + GRIDS, GRIDS_LEN, key.data(), key.size(), true);
  const std::uint32_t tailSum = transform(r + TAIL, TAIL_LEN, r + TAIL_KEY, TAIL_KEY_LEN, true);
  sum += tailSum;
  storeU32(r + CHECKSUM_AT, sum);
  storeU32(r + TAIL_CHECK_AT, tailSum ^ keyWord());
}

bool unscrambleSpeakerRecord(std::span<std::uint8_t, SPEAKER_TYPE_SIZE> record) {
  std::uint8_t* r = record.data();
  const std::uint32_t tailSum = transform(r + TAIL, TAIL_LEN, r + TAIL_KEY, TAIL_KEY_LEN, false);
  if (tailSum != (loadU32(r + TAIL_CHECK_AT) ^ keyWord())) return false;
  std::array<std::uint8_t, RECORD_KEY_LEN> key;
  std::copy_n(r + RECORD_KEY, RECORD_KEY_LEN, key.begin());
  std::uint32_t sum = tailSum;
  sum += transform(r + GRIDS, GRIDS_LEN, key.data(), key.size(), false);
  sum += transform(r + HEAD_B, HEAD_B_LEN, key.data(), key.size(), false);
  sum += transform(r + HEAD_A, HEAD_A_LEN, key.data(), key.size(), false);
  return sum == loadU32(r + CHECKSUM_AT);
}

bool unscrambleSpeakerHead(std::span<std::uint8_t, SPEAKER_HEAD_SIZE> head) {
  std::uint8_t* r = head.data();
  std::array<std::uint8_t, TAIL_LEN> tail;
  std::copy_n(r + TAIL, TAIL_LEN, tail.begin());
  const std::uint32_t tailSum = transform(tail.data(), TAIL_LEN, r + TAIL_KEY, TAIL_KEY_LEN, false);
  if (tailSum != (loadU32(r + TAIL_CHECK_AT) ^ keyWord())) return false;
  std::copy(tail.begin(), tail.end(), r + TAIL);
  const std::uint8_t* key = r + RECORD_KEY;
  transform(r + HEAD_B, HEAD_B_LEN, key, RECORD_KEY_LEN, false);
  transform(r + HEAD_A, HEAD_A_LEN, key, RECORD_KEY_LEN, false);
  return true;
}

}  // namespace tav
