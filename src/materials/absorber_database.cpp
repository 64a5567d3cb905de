#include "materials/absorber_database.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <span>
#include <system_error>
#include <vector>

#include "model/file_extension.h"
#include "model/le_io.h"
#include "model/save_file.h"

namespace tav {

namespace {

constexpr std::size_t MAGIC_LENGTH = 30;

}  // namespace

std::string absorberDatabaseTruncatedMessage(std::size_t recordsInFile) {
  return "The absorber database holds " + std::to_string(recordsInFile) +
         " materials; only the first 200 were loaded.";
}

int AbsorberDatabase::find(const AbsorberMaterial& material) const {
  for (std::size_t i = 0; i < records.size(); ++i)
    if (std::strncmp(records[i].name, material.name, sizeof material.name) == 0)
      return static_cast<int>(i);
  return -1;
}

void resetAbsorberDatabaseForNewProject(AbsorberDatabase& database) {
  if (!database.loaded()) database.records.clear();
}

std::string absorberDatabasePath(const std::string& chosen) {
  return withFileExtension(chosen, ".TAB");
}

std::string folderOfPath(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return {};
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

AbsorberDatabaseLoad loadAbsorberDatabaseFile(AbsorberDatabase& database, const std::string& path) {
  AbsorberDatabaseLoad result;
  std::error_code ec;
  const bool regular = std::filesystem::is_regular_file(path, ec);
  std::ifstream in;
  if (regular) in.open(path, std::ios::binary);  // reading only
  if (!regular || !in) {
    result.message = {MSG_CANT_LOCATE_FILE, {}};
    return result;
  }
  result.opened = true;

  std::array<char, ABSORBER_DB_HEADER_SIZE> header{};
  in.read(header.data(), header.size());
  const bool headerOk = in.gcount() == static_cast<std::streamsize>(header.size()) &&
                        std::memcmp(header.data(), ABSORBER_DB_MAGIC, MAGIC_LENGTH) == 0 &&
                        header[MAGIC_LENGTH] == '\0';
  if (!headerOk) {
    result.message = {MSG_ABSORBER_DB_INVALID_FORMAT, {}};
    return result;
  }

  // N follows from the size; records are read one by one, so a file that
  // is shorter than it claimed (or changes meanwhile) yields what is there.
  std::vector<AbsorberMaterial> records;
  std::array<std::uint8_t, ABSORBER_MATERIAL_SIZE> raw{};
  auto readRecord = [&]() {
    in.read(reinterpret_cast<char*>(raw.data()), raw.size());
    return in.gcount() == static_cast<std::streamsize>(raw.size());
  };
  while (records.size() < MAX_DATABASE_MATERIALS && readRecord())
    records.push_back(decodeAbsorberMaterial(raw));
  result.recordsInFile = records.size();
  // Records beyond the capacity are only counted, for the message.
  if (records.size() == MAX_DATABASE_MATERIALS)
    while (readRecord()) ++result.recordsInFile;

  database.records = std::move(records);
  database.path = path;
  result.loaded = true;
  if (result.recordsInFile > MAX_DATABASE_MATERIALS)
    result.message = {absorberDatabaseTruncatedMessage(result.recordsInFile), {}};
  return result;
}

std::vector<std::uint8_t> encodeAbsorberDatabase(const std::vector<AbsorberMaterial>& records) {
  LeWriter w;
  w.reserve(ABSORBER_DB_HEADER_SIZE + ABSORBER_MATERIAL_SIZE * records.size());
  w.fixedText(ABSORBER_DB_MAGIC, ABSORBER_DB_HEADER_SIZE);
  std::array<std::uint8_t, ABSORBER_MATERIAL_SIZE> raw{};
  for (const AbsorberMaterial& m : records) {
    encodeAbsorberMaterial(m, raw);
    w.bytes(raw.data(), raw.size());
  }
  return std::move(w.buffer());
}

bool saveAbsorberDatabaseFile(AbsorberDatabase& database, const std::string& path) {
  if (!saveFileAtomically(path, encodeAbsorberDatabase(database.records))) return false;
  database.path = path;
  database.folder = folderOfPath(path);
  return true;
}

}  // namespace tav
