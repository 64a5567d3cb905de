// Little-endian reading and writing of fixed-layout records.
//
// Every binary file module goes through these two classes. The reader never
// reads past its buffer: a short read sets a sticky failure flag and yields
// zeros, so a truncated file turns into an error value, never a crash. The
// writer appends to a growing byte buffer, which callers then write out in one
// piece (see save_file.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tav {

class LeReader {
 public:
  LeReader() = default;
  explicit LeReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t size() const { return bytes_.size(); }
  std::size_t position() const { return pos_; }
  std::size_t remaining() const { return failed_ ? 0 : bytes_.size() - pos_; }
  bool ok() const { return !failed_; }
  bool failed() const { return failed_; }
  bool atEnd() const { return pos_ >= bytes_.size(); }
  // Marks the reader failed (used by callers whose own checks fail).
  void fail() { failed_ = true; }

  // Moves to an absolute offset; an offset beyond the end fails.
  bool seek(std::size_t offset);
  // Skips n bytes; fewer than n remaining fails.
  bool skip(std::size_t n);
  // True when n more bytes can be read.
  bool has(std::size_t n) const { return !failed_ && bytes_.size() - pos_ >= n; }

  std::uint8_t u8();
  std::int8_t i8() { return static_cast<std::int8_t>(u8()); }
  std::uint16_t u16();
  std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
  std::uint32_t u32();
  std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
  float f32();
  double f64();

  // Copies n raw bytes into out; on a short read out is zero-filled.
  bool bytes(void* out, std::size_t n);
  // A view of the next n bytes (empty and failed when fewer remain).
  std::span<const std::uint8_t> view(std::size_t n);
  // Reads a fixed-width character array into a char array of the same width.
  template <std::size_t N>
  bool chars(char (&out)[N]) {
    return bytes(out, N);
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

class LeWriter {
 public:
  std::vector<std::uint8_t>& buffer() { return buf_; }
  const std::vector<std::uint8_t>& buffer() const { return buf_; }
  std::size_t size() const { return buf_.size(); }
  void reserve(std::size_t n) { buf_.reserve(n); }

  void u8(std::uint8_t v) { buf_.push_back(v); }
  void i8(std::int8_t v) { u8(static_cast<std::uint8_t>(v)); }
  void u16(std::uint16_t v);
  void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
  void u32(std::uint32_t v);
  void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
  void f32(float v);
  void f64(double v);
  void bytes(const void* data, std::size_t n);
  void bytes(std::span<const std::uint8_t> data) { bytes(data.data(), data.size()); }
  void zeros(std::size_t n) { buf_.insert(buf_.end(), n, 0); }
  template <std::size_t N>
  void chars(const char (&in)[N]) {
    bytes(in, N);
  }
  // Writes text into a fixed field of width n: truncated to n - 1 characters,
  // NUL-terminated and NUL-padded.
  void fixedText(std::string_view text, std::size_t n);

 private:
  std::vector<std::uint8_t> buf_;
};

// Little-endian helpers on raw byte arrays (records that are scrambled or
// checksummed as bytes, then decoded field by field).
std::uint16_t loadU16(const std::uint8_t* p);
std::uint32_t loadU32(const std::uint8_t* p);
float loadF32(const std::uint8_t* p);
void storeU16(std::uint8_t* p, std::uint16_t v);
void storeU32(std::uint8_t* p, std::uint32_t v);
void storeF32(std::uint8_t* p, float v);

// Text of a fixed NUL-terminated char field (stops at the first NUL or at N).
template <std::size_t N>
std::string fixedString(const char (&field)[N]) {
  std::size_t len = 0;
  while (len < N && field[len] != '\0') ++len;
  return std::string(field, len);
}
// Stores text into a fixed field: at most N - 1 characters, NUL-padded.
template <std::size_t N>
void setFixedString(char (&field)[N], std::string_view text) {
  std::memset(field, 0, N);
  // An empty view may carry a null pointer, which memcpy must not see.
  if (!text.empty()) std::memcpy(field, text.data(), text.size() < N ? text.size() : N - 1);
}

}  // namespace tav
