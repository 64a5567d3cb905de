#include "auralization/ui/profile_commands.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "auralization/ui/auralization_commands.h"
#include "model/save_file.h"
#include "model/text_encoding.h"
#include "shell/command_context.h"

namespace tav {

namespace {

// Removes the temporary profile and restores the current one on every path
// out of the real-time run.
class TemporaryProfile {
 public:
  TemporaryProfile(AuralizationSettings& settings, std::string path)
      : settings_(settings), path_(std::move(path)), previous_(settings.profilePath) {}
  ~TemporaryProfile() {
    settings_.profilePath = previous_;
    std::remove(path_.c_str());
  }
  TemporaryProfile(const TemporaryProfile&) = delete;
  TemporaryProfile& operator=(const TemporaryProfile&) = delete;
  const std::string& path() const { return path_; }

 private:
  AuralizationSettings& settings_;
  std::string path_;
  std::string previous_;
};

bool writeAll(int fd, const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::optional<std::string> createTemporaryProfile(const std::string& folder) {
  using namespace std::chrono;
  long long tick = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  for (int attempt = 0; attempt < 1000; ++attempt, ++tick) {
    const std::string path =
        (std::filesystem::path(folder) / (std::to_string(tick) + ".tmp")).string();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) {
      ::close(fd);
      return path;
    }
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

bool writeAudioProfile(CommandContext& ctx, const std::vector<ProfilePath>& paths,
                       const ProfileStats& stats) {
  Interaction& ui = ctx.ui();
  AuralizationSettings& a = ctx.session().auralization;
  FileDialogRequest request;
  request.filter = AUDIO_PROFILE_SAVE_FILTER;
  request.defaultExtension = "TAP";
  request.folder = a.profileFolder;
  const std::optional<std::string> chosen = ui.saveFileName(request);
  if (!chosen) return false;
  const std::string path = withProfileExtension(*chosen);
  const std::optional<std::string> angle =
      ui.inputLine(PROMPT_LISTEN_ANGLE, "", PROFILE_ANSWER_MAX);
  if (!angle) return false;
  const std::optional<std::string> description =
      ui.inputLine(PROMPT_PROFILE_DESCRIPTION, "", PROFILE_ANSWER_MAX);
  if (!description) return false;
  const AudioProfile profile =
      buildAudioProfile(paths, stats, utf8ToCp1252(*description), parseListenAngle(*angle));
  if (!saveFileAtomically(path, encodeAudioProfile(profile))) {
    ui.showMessage(MSG_CANT_WRITE_TO_DISK);
    return false;
  }
  a.profileFolder = std::filesystem::path(path).parent_path().string();
  return true;
}

void writeRealtimeProfile(CommandContext& ctx, const std::vector<ProfilePath>& paths,
                          const ProfileStats& stats) {
  AuralizationSettings& a = ctx.session().auralization;
  if (a.busy) return;
  if (a.inputPath.empty() && !selectInputWave(ctx)) return;
  std::error_code ec;
  const std::optional<std::string> name =
      createTemporaryProfile(std::filesystem::temp_directory_path(ec).string());
  if (!name) {
    ctx.ui().showMessage(MSG_CANT_WRITE_TO_DISK);
    return;
  }
  TemporaryProfile temporary(a, *name);
  const int fd = ::open(name->c_str(), O_WRONLY | O_TRUNC);
  bool written = fd >= 0 && writeAll(fd, encodeAudioProfile(buildRealtimeProfile(paths, stats)));
  if (fd >= 0 && ::close(fd) != 0) written = false;
  if (!written) {
    ctx.ui().showMessage(MSG_CANT_WRITE_TO_DISK);
    return;
  }
  a.profilePath = temporary.path();
  playRealtime(ctx);
}

}  // namespace tav
