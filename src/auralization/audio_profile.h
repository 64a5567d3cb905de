// Audio profile files (.TAP): the reflection result in the form the
// auralization applies to a recording. Little-endian, packed: a 132-byte
// header, `count` path records of 44 bytes (one per path, ascending time),
// then uncounted trailing records: the band gains, and in real-time profiles
// also the reverberation times and the reverberant-to-direct ratios.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/message.h"
#include "model/octave_bands.h"

namespace tav {

inline constexpr const char* AUDIO_PROFILE_MAGIC = "TAVIRON AUDIO X-FORMER FILE V2.00";
constexpr std::size_t AUDIO_PROFILE_MAGIC_SIZE = 40;
constexpr std::size_t AUDIO_PROFILE_DESCRIPTION_SIZE = 80;
constexpr std::size_t AUDIO_PROFILE_HEADER_SIZE = 132;
constexpr std::size_t IMPULSE_RECORD_SIZE = 44;

inline constexpr const char* MSG_INVALID_PROFILE = "Invalid file, can\u00B4t load";

// One f32 value per octave band, as the records hold them.
using ProfileBandValues = std::array<float, BAND_COUNT>;

struct AudioProfileHeader {
  std::string description;  // Windows-1252 bytes, at most 79
  std::uint32_t count = 0;  // path records that follow
  float listenAngle = 0;    // degrees as entered; stored only
};

// Path record: delay (ms after the earliest path, >= 0), values[0] the
// amplitude (0 < a <= 1) and values[1..6] zero, the direction of arrival.
// Trailing record: delay 0, one value per band, direction zero.
struct ImpulseRecord {
  float delayMs = 0;
  ProfileBandValues values{};
  std::array<float, 3> direction{};
};

struct AudioProfile {
  AudioProfileHeader header;
  std::vector<ImpulseRecord> paths;
  std::vector<ImpulseRecord> trailing;
};

// The file bytes; the header's count is the number of path records.
std::vector<std::uint8_t> encodeAudioProfile(const AudioProfile& profile);

// True when the bytes start with a whole header carrying the magic.
bool hasAudioProfileMagic(std::span<const std::uint8_t> bytes);

// The header (nothing without a whole header and the magic).
std::optional<AudioProfileHeader> decodeAudioProfileHeader(std::span<const std::uint8_t> bytes);

// Header, the counted path records (at most maxPaths of them are kept; a
// truncated file keeps the records it holds) and up to maxTrailing trailing
// records, which start after all counted records. Nothing without the magic.
std::optional<AudioProfile> decodeAudioProfile(std::span<const std::uint8_t> bytes,
                                               std::size_t maxPaths, std::size_t maxTrailing);

// "NAME.TAP" for a chosen name whose last four characters are not ".TAP"
// (any case).
std::string withProfileExtension(std::string path);

}  // namespace tav
