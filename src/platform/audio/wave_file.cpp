// WAV files through libsndfile.
#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/audio.h"

namespace tav {

namespace {

// A span read as a file by libsndfile.
struct MemoryFile {
  std::span<const std::uint8_t> bytes;
  sf_count_t pos = 0;
};

sf_count_t memLength(void* user) {
  return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes.size());
}
sf_count_t memSeek(sf_count_t offset, int whence, void* user) {
  auto* f = static_cast<MemoryFile*>(user);
  const sf_count_t size = static_cast<sf_count_t>(f->bytes.size());
  sf_count_t to = offset;
  if (whence == SEEK_CUR) to = f->pos + offset;
  if (whence == SEEK_END) to = size + offset;
  if (to < 0) return -1;
  f->pos = to;
  return f->pos;
}
sf_count_t memRead(void* out, sf_count_t count, void* user) {
  auto* f = static_cast<MemoryFile*>(user);
  const sf_count_t size = static_cast<sf_count_t>(f->bytes.size());
  if (count <= 0 || f->pos >= size) return 0;
  const sf_count_t n = std::min(count, size - f->pos);
  std::memcpy(out, f->bytes.data() + f->pos, static_cast<std::size_t>(n));
  f->pos += n;
  return n;
}
sf_count_t memWrite(const void*, sf_count_t, void*) { return 0; }
sf_count_t memTell(void* user) { return static_cast<MemoryFile*>(user)->pos; }

// "RIFF" size "WAVE": libsndfile also takes RIFX, RF64 and other forms,
// which are no input recordings here.
bool riffWave(const std::uint8_t* head, std::size_t n) {
  return n >= 12 && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0;
}

bool fileIsRiffWave(const std::string& path) {
  std::uint8_t head[12] = {};
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  const std::size_t n = std::fread(head, 1, sizeof head, f);
  std::fclose(f);
  return riffWave(head, n);
}

WaveInfo classify(SNDFILE* file, const SF_INFO& sf) {
  WaveInfo info;
  if (!file) return info;
  if ((sf.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_WAV) return info;
  info.rate = sf.samplerate;
  info.frames = sf.frames;
  const bool pcm16 = (sf.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_16;
  info.check =
      pcm16 && sf.channels == 1 && sf.samplerate > 0 ? WaveCheck::Ok : WaveCheck::WrongFormat;
  return info;
}

bool isRegularFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

struct WaveFileReader::Impl {
  SNDFILE* file = nullptr;
  MemoryFile memory;
  SF_VIRTUAL_IO io{memLength, memSeek, memRead, memWrite, memTell};
  ~Impl() {
    if (file) sf_close(file);
  }
};

WaveFileReader::WaveFileReader(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
WaveFileReader::~WaveFileReader() = default;

std::unique_ptr<WaveFileReader> WaveFileReader::open(const std::string& path, WaveInfo& info) {
  info = WaveInfo{};
  // Only regular files: a FIFO or a device would block or never end.
  if (!isRegularFile(path) || !fileIsRiffWave(path)) return nullptr;
  auto impl = std::make_unique<Impl>();
  SF_INFO sf{};
  impl->file = sf_open(path.c_str(), SFM_READ, &sf);
  info = classify(impl->file, sf);
  if (info.check != WaveCheck::Ok) return nullptr;
  return std::unique_ptr<WaveFileReader>(new WaveFileReader(std::move(impl)));
}

std::unique_ptr<WaveFileReader> WaveFileReader::openBytes(std::span<const std::uint8_t> bytes,
                                                          WaveInfo& info) {
  info = WaveInfo{};
  if (!riffWave(bytes.data(), bytes.size())) return nullptr;
  auto impl = std::make_unique<Impl>();
  impl->memory.bytes = bytes;
  SF_INFO sf{};
  impl->file = sf_open_virtual(&impl->io, SFM_READ, &sf, &impl->memory);
  info = classify(impl->file, sf);
  if (info.check != WaveCheck::Ok) return nullptr;
  return std::unique_ptr<WaveFileReader>(new WaveFileReader(std::move(impl)));
}

std::size_t WaveFileReader::read(std::span<std::int16_t> out) {
  if (failed_ || out.empty()) return 0;
  const sf_count_t n = sf_read_short(impl_->file, out.data(), static_cast<sf_count_t>(out.size()));
  if (n < 0 || sf_error(impl_->file) != SF_ERR_NO_ERROR) {
    failed_ = true;
    return 0;
  }
  return static_cast<std::size_t>(n);
}

WaveInfo checkInputWave(const std::string& path) {
  WaveInfo info;
  WaveFileReader::open(path, info);
  return info;
}

WaveInfo checkInputWaveBytes(std::span<const std::uint8_t> bytes) {
  WaveInfo info;
  WaveFileReader::openBytes(bytes, info);
  return info;
}

struct WaveFileWriter::Impl {
  std::string target;
  std::string temporary;
  SNDFILE* file = nullptr;
  bool failed = false;
  bool committed = false;
  ~Impl() {
    if (file) sf_close(file);
    if (!committed && !temporary.empty()) std::remove(temporary.c_str());
  }
};

WaveFileWriter::WaveFileWriter(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
WaveFileWriter::~WaveFileWriter() = default;

std::unique_ptr<WaveFileWriter> WaveFileWriter::create(const std::string& target, int rate) {
  if (target.empty() || rate <= 0) return nullptr;
  auto impl = std::make_unique<Impl>();
  impl->target = target;
  std::string pattern = target + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return nullptr;
  impl->temporary = name.data();
  ::fchmod(fd, 0644);
  SF_INFO sf{};
  sf.samplerate = rate;
  sf.channels = 1;
  sf.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  impl->file = sf_open_fd(fd, SFM_WRITE, &sf, SF_TRUE);
  if (!impl->file) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<WaveFileWriter>(new WaveFileWriter(std::move(impl)));
}

bool WaveFileWriter::write(std::span<const std::int16_t> samples) {
  if (impl_->failed) return false;
  if (samples.empty()) return true;
  const sf_count_t n =
      sf_write_short(impl_->file, samples.data(), static_cast<sf_count_t>(samples.size()));
  if (n != static_cast<sf_count_t>(samples.size())) impl_->failed = true;
  return !impl_->failed;
}

bool WaveFileWriter::commit() {
  if (impl_->failed || !impl_->file) return false;
  sf_write_sync(impl_->file);
  const int closed = sf_close(impl_->file);
  impl_->file = nullptr;
  if (closed != 0) return false;
  if (std::rename(impl_->temporary.c_str(), impl_->target.c_str()) != 0) return false;
  impl_->committed = true;
  return true;
}

}  // namespace tav
