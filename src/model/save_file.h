// Safe writing of whole files: the bytes go to a temporary file in the target
// folder, are flushed to disk, and the temporary file is renamed over the
// target, so a failed save never leaves a half-written file under the name.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tav {

// Writes `bytes` to `path` through a temporary file beside it. An existing
// file keeps its permission bits; a write-protected existing file (or folder)
// is not replaced. False (and the old file untouched) on any failure.
bool saveFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Copies a file (for backups), itself written atomically. False on failure.
bool copyFileAtomically(const std::string& from, const std::string& to);

// The whole content of a regular file, or nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path);

}  // namespace tav
