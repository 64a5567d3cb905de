#include "reflections/ray_work_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <system_error>

#include "model/le_io.h"
#include "model/object_list.h"
#include "model/save_file.h"
#include "reflections/path_record.h"
#include "reflections/reflection_paths.h"

namespace tav {

bool RayWorkFile::create(const std::filesystem::path& folder) {
  remove();
  std::error_code ec;
  std::filesystem::path dir = folder.empty() ? std::filesystem::temp_directory_path(ec) : folder;
  if (ec) return false;
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  auto tick = static_cast<unsigned long long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
  for (int attempt = 0; attempt < 1000; ++attempt, ++tick) {
    const std::filesystem::path p = dir / ("RF" + std::to_string(tick) + ".TMP");
    // Exclusive creation: never opens (or follows a link to) a file that
    // exists already.
    const int fd = ::open(p.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    file_ = ::fdopen(fd, "w+b");
    if (!file_) {
      ::close(fd);
      std::filesystem::remove(p, ec);
      return false;
    }
    path_ = p;
    buffer_.clear();
    buffer_.reserve(WORK_FILE_BUFFER_BYTES);
    written_ = 0;
    failed_ = false;
    return true;
  }
  return false;
}

bool RayWorkFile::records(std::span<const std::uint8_t> bytes) {
  if (!file_ || failed_) return false;
  std::size_t at = 0;
  while (at + 2 <= bytes.size()) {
    const std::size_t size = pathRecordSize(loadU16(bytes.data() + at));
    if (at + size > bytes.size()) return failed_ = true, false;
    if (buffer_.size() + size > WORK_FILE_BUFFER_BYTES && !flush()) return false;
    buffer_.insert(buffer_.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                   bytes.begin() + static_cast<std::ptrdiff_t>(at + size));
    at += size;
  }
  return at == bytes.size();
}

bool RayWorkFile::flush() {
  if (!file_ || failed_) return false;
  if (!buffer_.empty()) {
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
      failed_ = true;
      return false;
    }
    written_ += buffer_.size();
    buffer_.clear();
  }
  return true;
}

bool RayWorkFile::close() {
  if (!file_) return false;
  bool ok = flush();
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  return ok;
}

void RayWorkFile::remove() {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!path_.empty()) {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
    path_.clear();
  }
  buffer_.clear();
}

WorkFileRead readWorkRecords(std::span<const std::uint8_t> bytes, ObjectList& objects) {
  WorkFileRead result;
  LeReader in(bytes);
  while (!in.atEnd()) {
    const auto record = readPathRecord(in);
    if (!record) {
      result.damaged = in.failed();
      break;
    }
    auto object = makeReflectionPath(*record);
    if (!object) {
      result.message = MSG_NO_MEMORY_FOR_PATHS;
      break;
    }
    objects.insertAtHead(std::move(object));
    ++result.paths;
  }
  return result;
}

WorkFileRead readWorkFile(const std::filesystem::path& path, ObjectList& objects) {
  WorkFileRead result;
  if (const auto bytes = readWholeFile(path.string())) result = readWorkRecords(*bytes, objects);
  std::error_code ec;
  std::filesystem::remove(path, ec);
  return result;
}

}  // namespace tav
