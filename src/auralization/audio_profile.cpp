#include "auralization/audio_profile.h"

#include <algorithm>
#include <cstring>

#include "model/file_extension.h"
#include "model/le_io.h"

namespace tav {

namespace {

void writeRecord(LeWriter& w, const ImpulseRecord& r) {
  w.f32(r.delayMs);
  for (float v : r.values) w.f32(v);
  for (float v : r.direction) w.f32(v);
}

ImpulseRecord readRecord(LeReader& r) {
  ImpulseRecord rec;
  rec.delayMs = r.f32();
  for (float& v : rec.values) v = r.f32();
  for (float& v : rec.direction) v = r.f32();
  return rec;
}

}  // namespace

std::vector<std::uint8_t> encodeAudioProfile(const AudioProfile& profile) {
  LeWriter w;
  w.reserve(AUDIO_PROFILE_HEADER_SIZE +
            (profile.paths.size() + profile.trailing.size()) * IMPULSE_RECORD_SIZE);
  w.fixedText(AUDIO_PROFILE_MAGIC, AUDIO_PROFILE_MAGIC_SIZE);
  w.fixedText(profile.header.description, AUDIO_PROFILE_DESCRIPTION_SIZE);
  w.u32(static_cast<std::uint32_t>(profile.paths.size()));
  w.f32(profile.header.listenAngle);
  w.zeros(4);
  for (const ImpulseRecord& r : profile.paths) writeRecord(w, r);
  for (const ImpulseRecord& r : profile.trailing) writeRecord(w, r);
  return std::move(w.buffer());
}

bool hasAudioProfileMagic(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < AUDIO_PROFILE_HEADER_SIZE) return false;
  // The magic and its NUL, as a C string comparison of the field sees it.
  const std::size_t n = std::strlen(AUDIO_PROFILE_MAGIC) + 1;
  return std::memcmp(bytes.data(), AUDIO_PROFILE_MAGIC, n) == 0;
}

std::optional<AudioProfileHeader> decodeAudioProfileHeader(std::span<const std::uint8_t> bytes) {
  if (!hasAudioProfileMagic(bytes)) return std::nullopt;
  LeReader r(bytes);
  r.skip(AUDIO_PROFILE_MAGIC_SIZE);
  char description[AUDIO_PROFILE_DESCRIPTION_SIZE];
  r.chars(description);
  description[AUDIO_PROFILE_DESCRIPTION_SIZE - 1] = '\0';
  AudioProfileHeader header;
  header.description = fixedString(description);
  header.count = r.u32();
  header.listenAngle = r.f32();
  return header;
}

std::optional<AudioProfile> decodeAudioProfile(std::span<const std::uint8_t> bytes,
                                               std::size_t maxPaths, std::size_t maxTrailing) {
  std::optional<AudioProfileHeader> header = decodeAudioProfileHeader(bytes);
  if (!header) return std::nullopt;
  AudioProfile profile;
  profile.header = *header;
  LeReader r(bytes);
  r.seek(AUDIO_PROFILE_HEADER_SIZE);
  // Records present in the file; the count is trusted only that far.
  const std::size_t present = r.remaining() / IMPULSE_RECORD_SIZE;
  const std::size_t counted = std::min<std::size_t>(header->count, present);
  const std::size_t kept = std::min(counted, maxPaths);
  profile.paths.reserve(kept);
  for (std::size_t i = 0; i < kept; ++i) profile.paths.push_back(readRecord(r));
  // Trailing records follow every counted record, also the ones not kept.
  r.seek(AUDIO_PROFILE_HEADER_SIZE + counted * IMPULSE_RECORD_SIZE);
  const std::size_t trailing = std::min(present - counted, maxTrailing);
  for (std::size_t i = 0; i < trailing; ++i) profile.trailing.push_back(readRecord(r));
  return profile;
}

std::string withProfileExtension(std::string path) { return withFileExtension(path, ".TAP"); }

}  // namespace tav
