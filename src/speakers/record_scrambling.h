// Protection of loudspeaker-type records in files: every byte XORed with a
// record key window and the program key, plus two checksums.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "speakers/speaker_type.h"

namespace tav {

// The program's 32-byte key. Files are exchangeable between builds with the
// same key only.
extern const std::array<std::uint8_t, 32> PROGRAM_KEY;

// Brings a plain record into its protected form, in place (fills the
// checksum at 454 and the tail check at 458).
void scrambleSpeakerRecord(std::span<std::uint8_t, SPEAKER_TYPE_SIZE> record);

// The record check: unscrambles in place; true when both checks pass.
bool unscrambleSpeakerRecord(std::span<std::uint8_t, SPEAKER_TYPE_SIZE> record);

// Unscrambles only the 512-byte head for listing; returns false (bytes left
// as read) when the tail check fails, as it does for plain records.
bool unscrambleSpeakerHead(std::span<std::uint8_t, SPEAKER_HEAD_SIZE> head);

}  // namespace tav
