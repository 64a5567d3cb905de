// The work file of the reflection search: path records stream into it
// through a 64000-byte buffer while the search runs and are read back into
// path objects afterwards. It lives in the system's temporary folder as
// "RF" + a millisecond tick count + ".TMP" and is removed when the object
// goes, on every way out (Cancel, errors, exceptions).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "reflections/path_search.h"

namespace tav {

class ObjectList;

constexpr std::size_t WORK_FILE_BUFFER_BYTES = 64000;
inline constexpr const char* MSG_NO_MEMORY_FOR_PATHS = "Insufficient Memory";

class RayWorkFile : public PathSink {
 public:
  RayWorkFile() = default;
  ~RayWorkFile() override { remove(); }
  RayWorkFile(const RayWorkFile&) = delete;
  RayWorkFile& operator=(const RayWorkFile&) = delete;

  // Creates a new, empty file in `folder` (the temporary folder by default).
  // A name already taken moves on to the next tick. False when no file can
  // be made there.
  bool create(const std::filesystem::path& folder = {});
  bool isOpen() const { return file_ != nullptr; }
  const std::filesystem::path& path() const { return path_; }

  // Whole records, back to back. A record that would not fit the buffer
  // flushes it first.
  bool records(std::span<const std::uint8_t> bytes) override;
  bool endOfSpeaker() override { return flush(); }
  // Flushes and closes; the file stays until remove() or destruction.
  bool close();
  void remove();

  // Bytes written to the file so far (flushed records).
  std::uint64_t written() const { return written_; }

 private:
  bool flush();

  std::FILE* file_ = nullptr;
  std::filesystem::path path_;
  std::vector<std::uint8_t> buffer_;
  std::uint64_t written_ = 0;
  bool failed_ = false;
};

struct WorkFileRead {
  std::size_t paths = 0;
  // Records cut short or claiming more than 91 reflections end the reading.
  bool damaged = false;
  // "Insufficient Memory" when an object could not be had.
  std::string message;
};

// Inserts one path object per record of `bytes` before the head of the list
// (so the last record ends up first).
WorkFileRead readWorkRecords(std::span<const std::uint8_t> bytes, ObjectList& objects);
// Reads the work file at `path` likewise and deletes it.
WorkFileRead readWorkFile(const std::filesystem::path& path, ObjectList& objects);

}  // namespace tav
