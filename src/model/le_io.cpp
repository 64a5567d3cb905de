#include "model/le_io.h"

#include <bit>

namespace tav {

bool LeReader::seek(std::size_t offset) {
  if (failed_ || offset > bytes_.size()) {
    failed_ = true;
    return false;
  }
  pos_ = offset;
  return true;
}

bool LeReader::skip(std::size_t n) {
  if (!has(n)) {
    failed_ = true;
    return false;
  }
  pos_ += n;
  return true;
}

std::uint8_t LeReader::u8() {
  if (!has(1)) {
    failed_ = true;
    return 0;
  }
  return bytes_[pos_++];
}

std::uint16_t LeReader::u16() {
  if (!has(2)) {
    failed_ = true;
    return 0;
  }
  std::uint16_t v = loadU16(bytes_.data() + pos_);
  pos_ += 2;
  return v;
}

std::uint32_t LeReader::u32() {
  if (!has(4)) {
    failed_ = true;
    return 0;
  }
  std::uint32_t v = loadU32(bytes_.data() + pos_);
  pos_ += 4;
  return v;
}

float LeReader::f32() { return std::bit_cast<float>(u32()); }

double LeReader::f64() {
  std::uint64_t lo = u32();
  std::uint64_t hi = u32();
  return std::bit_cast<double>(lo | (hi << 32));
}

bool LeReader::bytes(void* out, std::size_t n) {
  if (!has(n)) {
    failed_ = true;
    std::memset(out, 0, n);
    return false;
  }
  std::memcpy(out, bytes_.data() + pos_, n);
  pos_ += n;
  return true;
}

std::span<const std::uint8_t> LeReader::view(std::size_t n) {
  if (!has(n)) {
    failed_ = true;
    return {};
  }
  auto s = bytes_.subspan(pos_, n);
  pos_ += n;
  return s;
}

void LeWriter::u16(std::uint16_t v) {
  buf_.push_back(static_cast<std::uint8_t>(v));
  buf_.push_back(static_cast<std::uint8_t>(v >> 8));
}

void LeWriter::u32(std::uint32_t v) {
  for (int i = 0; i < 4; ++i) buf_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void LeWriter::f32(float v) { u32(std::bit_cast<std::uint32_t>(v)); }

void LeWriter::f64(double v) {
  auto bits = std::bit_cast<std::uint64_t>(v);
  u32(static_cast<std::uint32_t>(bits));
  u32(static_cast<std::uint32_t>(bits >> 32));
}

void LeWriter::bytes(const void* data, std::size_t n) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  buf_.insert(buf_.end(), p, p + n);
}

void LeWriter::fixedText(std::string_view text, std::size_t n) {
  if (n == 0) return;
  std::size_t len = text.size() < n ? text.size() : n - 1;
  bytes(text.data(), len);
  zeros(n - len);
}

std::uint16_t loadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t loadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

float loadF32(const std::uint8_t* p) { return std::bit_cast<float>(loadU32(p)); }

void storeU16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

void storeU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void storeF32(std::uint8_t* p, float v) { storeU32(p, std::bit_cast<std::uint32_t>(v)); }

}  // namespace tav
