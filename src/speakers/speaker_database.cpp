#include "speakers/speaker_database.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "model/file_extension.h"
#include "model/le_io.h"
#include "model/project.h"
#include "speakers/record_scrambling.h"
#include "speakers/speaker_shape.h"

namespace tav {

namespace {

constexpr std::size_t NAME_OFFSET = 21;
constexpr std::size_t NAME_WIDTH = 9;
constexpr std::size_t CONVERSION_MARK_OFFSET = 470;

// Only regular files are opened: opening a FIFO for reading would wait for
// a writer indefinitely, and a folder has no size.
bool isRegularFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

// Size of a file, or -1 when it cannot be opened.
std::int64_t fileSize(const std::string& path) {
  if (!isRegularFile(path)) return -1;
  std::ifstream f(path, std::ios::binary | std::ios::ate);
  if (!f) return -1;
  return static_cast<std::int64_t>(f.tellg());
}

// Opens, seeks, reads exactly n bytes, closes. Nullopt on any shortfall.
std::optional<std::vector<std::uint8_t>> readAt(const std::string& path, std::int64_t offset,
                                                std::size_t n) {
  if (offset < 0 || !isRegularFile(path)) return std::nullopt;
  std::ifstream f(path, std::ios::binary);
  if (!f) return std::nullopt;
  f.seekg(offset);
  if (!f) return std::nullopt;
  std::vector<std::uint8_t> bytes(n);
  f.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(n));
  if (static_cast<std::size_t>(f.gcount()) != n) return std::nullopt;
  return bytes;
}

// The name field of a record head: NUL-terminated within its 9 bytes, or
// nullopt for a record whose name runs over (such a record is not listed).
std::optional<std::string> recordName(const std::uint8_t* head) {
  const char* p = reinterpret_cast<const char*>(head + NAME_OFFSET);
  const void* nul = std::memchr(p, 0, NAME_WIDTH);
  if (!nul) return std::nullopt;
  return std::string(p, static_cast<const char*>(nul) - p);
}

bool checkRecord(std::vector<std::uint8_t>& record) {
  return unscrambleSpeakerRecord(
      std::span<std::uint8_t, SPEAKER_TYPE_SIZE>(record.data(), SPEAKER_TYPE_SIZE));
}

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool magicIs(const std::vector<std::uint8_t>& header, const char* magic) {
  char text[SPEAKER_DB_MAGIC_SIZE] = {};
  std::strncpy(text, magic, SPEAKER_DB_MAGIC_SIZE);
  return std::memcmp(header.data(), text, SPEAKER_DB_MAGIC_SIZE) == 0;
}

// Adds a listed type, or marks the index truncated when it is full.
bool listType(SpeakerDatabaseIndex& index, SpeakerDatabaseEntry entry) {
  if (index.entries.size() >= MAX_DATABASE_TYPES) {
    index.truncated = true;
    return false;
  }
  index.entries.push_back(std::move(entry));
  return true;
}

void listPlain(SpeakerDatabaseIndex& index, std::int64_t size) {
  const std::int64_t count =
      (size - std::int64_t(SPEAKER_DB_HEADER_SIZE)) / std::int64_t(OLD_SPEAKER_TYPE_SIZE);
  for (std::int64_t i = 0; i < count; ++i) {
    const std::int64_t at = SPEAKER_DB_HEADER_SIZE + i * std::int64_t(OLD_SPEAKER_TYPE_SIZE);
    auto head = readAt(index.path, at, OLD_SPEAKER_HEAD_SIZE);
    if (!head) break;
    auto name = recordName(head->data());
    if (!name) continue;
    if (!listType(index, {*name, at, 0, 0})) break;
  }
}

void listProtected(SpeakerDatabaseIndex& index, std::int64_t size) {
  const std::int64_t count =
      (size - std::int64_t(SPEAKER_DB_HEADER_SIZE)) / std::int64_t(SPEAKER_TYPE_SIZE);
  for (std::int64_t i = 0; i < count; ++i) {
    const std::int64_t at = SPEAKER_DB_HEADER_SIZE + i * std::int64_t(SPEAKER_TYPE_SIZE);
    auto record = readAt(index.path, at, SPEAKER_TYPE_SIZE);
    if (!record) break;
    if (!checkRecord(*record)) continue;
    auto name = recordName(record->data());
    if (!name) continue;
    if (!listType(index, {*name, at, 0, 0})) break;
  }
}

void listWithShapes(SpeakerDatabaseIndex& index, std::int64_t size, std::int16_t count) {
  std::int64_t at = SPEAKER_DB_HEADER_SIZE;
  for (int i = 0; i < count; ++i) {
    auto record = readAt(index.path, at, SPEAKER_TYPE_SIZE);
    if (!record) break;
    const std::int64_t after = at + std::int64_t(SPEAKER_TYPE_SIZE);
    if (!checkRecord(*record)) {
      at = after;
      continue;
    }
    const std::int32_t shapeSize = static_cast<std::int32_t>(loadU32(record->data() + 196));
    SpeakerDatabaseEntry entry{"", at, 0, 0};
    std::int64_t next = after;
    // A shape that would run past the end of the file is not used; the
    // record itself stays usable with the default shape.
    if (shapeSize > 0 && after + shapeSize <= size) {
      entry.shapeOffset = after;
      entry.shapeSize = shapeSize;
      next = after + shapeSize;
    } else if (shapeSize > 0) {
      next = size;
    }
    auto name = recordName(record->data());
    if (name) {
      entry.name = *name;
      if (!listType(index, std::move(entry))) break;
    }
    at = next;
  }
}

std::span<std::uint8_t, SPEAKER_TYPE_SIZE> recordSpan(std::vector<std::uint8_t>& r) {
  return std::span<std::uint8_t, SPEAKER_TYPE_SIZE>(r.data(), SPEAKER_TYPE_SIZE);
}

}  // namespace

std::string SpeakerDatabaseIndex::directory() const {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

int SpeakerDatabaseIndex::find(const std::string& name) const {
  const std::string key = upper(name);
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (upper(entries[i].name) == key) return static_cast<int>(i);
  return -1;
}

std::string speakerDatabasePath(const std::string& chosen) {
  return withFileExtension(chosen, ".TSB");
}

DatabaseLoadResult loadSpeakerDatabase(SpeakerDatabaseIndex& index, const std::string& chosen) {
  DatabaseLoadResult result;
  const std::string path = speakerDatabasePath(chosen);
  const std::int64_t size = fileSize(path);
  if (size < 0) return result;
  result.opened = true;
  const std::size_t slash = path.find_last_of('/');
  result.directory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);

  auto header = readAt(path, 0, SPEAKER_DB_HEADER_SIZE);
  SpeakerDatabaseLayout layout = SpeakerDatabaseLayout::None;
  if (header) {
    if (magicIs(*header, SPEAKER_DB_MAGIC_1))
      layout = SpeakerDatabaseLayout::Plain;
    else if (magicIs(*header, SPEAKER_DB_MAGIC_2))
      layout = SpeakerDatabaseLayout::Protected;
    else if (magicIs(*header, SPEAKER_DB_MAGIC_3))
      layout = SpeakerDatabaseLayout::WithShapes;
  }
  if (layout == SpeakerDatabaseLayout::None) {
    result.message = {MSG_DB_INVALID_FORMAT, ""};
    return result;
  }

  index.path = path;
  index.layout = layout;
  index.entries.clear();
  index.truncated = false;
  switch (layout) {
    case SpeakerDatabaseLayout::Plain:
      listPlain(index, size);
      break;
    case SpeakerDatabaseLayout::Protected:
      listProtected(index, size);
      break;
    case SpeakerDatabaseLayout::WithShapes:
      listWithShapes(index, size, static_cast<std::int16_t>(loadU16(header->data() + 30)));
      break;
    case SpeakerDatabaseLayout::None:
      break;
  }
  if (index.selection < 0 || index.selection >= static_cast<int>(index.count()))
    index.selection = 0;
  result.loaded = true;
  if (index.truncated) result.message = {MSG_DB_TOO_MANY_TYPES, ""};
  return result;
}

std::optional<std::array<std::uint8_t, SPEAKER_HEAD_SIZE>> readSpeakerHead(
    const SpeakerDatabaseIndex& index, std::size_t i) {
  if (!index.loaded() || i >= index.count()) return std::nullopt;
  auto bytes = readAt(index.path, index.entries[i].recordOffset, SPEAKER_HEAD_SIZE);
  if (!bytes) return std::nullopt;
  std::array<std::uint8_t, SPEAKER_HEAD_SIZE> head;
  std::copy(bytes->begin(), bytes->end(), head.begin());
  // Plain records fail the tail check and stay as read.
  unscrambleSpeakerHead(head);
  return head;
}

SpeakerType speakerTypeFromHead(const std::array<std::uint8_t, SPEAKER_HEAD_SIZE>& head) {
  std::vector<std::uint8_t> record(SPEAKER_TYPE_SIZE, 0);
  std::copy(head.begin(), head.end(), record.begin());
  SpeakerType t = decodeSpeakerType(recordSpan(record));
  for (auto& grid : t.grids) grid.codes.fill(0);
  return t;
}

int applyPreselection(SpeakerDatabaseIndex& index, int preselection) {
  const int count = static_cast<int>(index.count());
  if (preselection > 0 && preselection < count) index.selection = preselection;
  if (index.selection < 0 || index.selection >= count) index.selection = 0;
  return index.selection;
}

bool selectDatabaseEntry(SpeakerDatabaseIndex& index, int i) {
  if (i < 0) return false;
  auto head = readSpeakerHead(index, static_cast<std::size_t>(i));
  if (!head) return false;
  index.currentHead = *head;
  return true;
}

std::optional<SpeakerType> readSpeakerType(const SpeakerDatabaseIndex& index, std::size_t i) {
  if (!index.loaded() || i >= index.count()) return std::nullopt;
  const std::int64_t at = index.entries[i].recordOffset;
  if (index.layout == SpeakerDatabaseLayout::Plain) {
    auto old = readAt(index.path, at, OLD_SPEAKER_TYPE_SIZE);
    if (!old) return std::nullopt;
    std::vector<std::uint8_t> record = convertOldSpeakerRecord(*old, CONVERSION_MARK_OFFSET);
    if (record.size() != SPEAKER_TYPE_SIZE) return std::nullopt;
    return decodeSpeakerType(recordSpan(record));
  }
  auto record = readAt(index.path, at, SPEAKER_TYPE_SIZE);
  if (!record || !checkRecord(*record)) return std::nullopt;
  // Records of these layouts have 37 rows per band whatever their layout
  // byte says (the byte lies outside the record check). Copied into a
  // project, the byte tells that file's reader how long the record is.
  SpeakerType type = decodeSpeakerType(recordSpan(*record));
  type.layoutFlag = SPEAKER_LAYOUT_CURRENT;
  return type;
}

std::unique_ptr<ModelObject> readSpeakerShape(const SpeakerDatabaseIndex& index, std::size_t i,
                                              UserMessage* message) {
  if (!index.loaded() || i >= index.count()) return nullptr;
  const SpeakerDatabaseEntry& e = index.entries[i];
  if (index.layout == SpeakerDatabaseLayout::WithShapes) {
    if (e.shapeOffset == 0 || e.shapeSize <= 0) return nullptr;
    auto bytes = readAt(index.path, e.shapeOffset, static_cast<std::size_t>(e.shapeSize));
    if (!bytes) return nullptr;
    return readShapeData(*bytes);
  }
  // Shape files beside the database; on a case-sensitive file system the
  // name is also tried in lower case and with an upper-case extension.
  const std::string dir = index.directory();
  std::string lower = e.name;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const std::string& file : {dir + e.name + SHAPE_FILE_EXTENSION,
                                  dir + lower + SHAPE_FILE_EXTENSION, dir + e.name + ".SCF"}) {
    ShapeFileResult r = readShapeFile(file);
    if (!r.opened) continue;
    if (message && !r.message.empty()) *message = r.message;
    return std::move(r.shape);
  }
  return nullptr;
}

bool copyTypeIntoProject(Project& project, const SpeakerDatabaseIndex& index, std::size_t slot,
                         const std::string& name, UserMessage* shapeMessage) {
  if (!index.loaded() || slot > project.speakerTypes.size() || slot >= MAX_PROJECT_SPEAKER_TYPES)
    return false;
  const int i = index.find(name);
  if (i < 0) return false;
  std::optional<SpeakerType> type = readSpeakerType(index, static_cast<std::size_t>(i));
  if (!type) return false;
  auto record = std::make_unique<SpeakerType>(std::move(*type));
  if (std::unique_ptr<ModelObject> shape = readSpeakerShape(index, i, shapeMessage))
    record->shape = project.objects.appendObject(std::move(shape));
  if (slot == project.speakerTypes.size()) {
    project.speakerTypes.push_back(std::move(record));
  } else {
    ModelObject* old = project.speakerTypes[slot]->shape;
    project.speakerTypes[slot] = std::move(record);
    const bool shared = std::any_of(project.speakerTypes.begin(), project.speakerTypes.end(),
                                    [old](const auto& t) { return t && t->shape == old; });
    if (old && !shared && project.objects.contains(old)) project.objects.freeObject(old);
  }
  return true;
}

std::vector<std::uint8_t> encodeSpeakerDatabase(const std::vector<DatabaseTypeSource>& types) {
  LeWriter out;
  char magic[SPEAKER_DB_MAGIC_SIZE] = {};
  std::strncpy(magic, SPEAKER_DB_MAGIC_3, SPEAKER_DB_MAGIC_SIZE);
  out.bytes(magic, SPEAKER_DB_MAGIC_SIZE);
  out.i16(static_cast<std::int16_t>(types.size()));
  std::vector<std::uint8_t> record(SPEAKER_TYPE_SIZE);
  for (const DatabaseTypeSource& source : types) {
    std::vector<std::uint8_t> shape = source.shapeData;
    if (shape.empty() && source.shape) shape = encodeShapeData(*source.shape);
    SpeakerType t = source.type;
    t.layoutFlag = SPEAKER_LAYOUT_CURRENT;
    t.shapeReference = static_cast<std::int32_t>(shape.size());
    encodeSpeakerType(t, recordSpan(record));
    scrambleSpeakerRecord(recordSpan(record));
    out.bytes(record);
    out.bytes(shape);
  }
  return std::move(out.buffer());
}

bool writeSpeakerDatabase(const std::string& path, const std::vector<DatabaseTypeSource>& types) {
  const std::vector<std::uint8_t> bytes = encodeSpeakerDatabase(types);
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (!f) return false;
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

}  // namespace tav
