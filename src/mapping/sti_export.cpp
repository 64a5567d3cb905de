#include "mapping/sti_export.h"

#include <cstdio>

namespace tav {

std::string stiExportPath(const std::string& projectPath, std::string_view suffix,
                          std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char buffer[128];
  const std::string format(suffix);
  const std::size_t n = std::strftime(buffer, sizeof buffer, format.c_str(), &local);
  return projectPath + std::string(buffer, n);
}

bool appendExport(const std::string& path, std::string_view text, const DiagnosticSink& diag) {
  std::FILE* f = std::fopen(path.c_str(), "ab");
  if (!f) {
    if (diag) diag(std::string(DIAG_EXPORT_FAILED) + "\n");
    return false;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && written;
}

double appendStiBandValues(const BandFloats& energy, const ReverberantField& field,
                           const std::string& path, const DiagnosticSink& diag) {
  const StiBandValues values = stiBandValues(energy, field, diag);
  if (!appendExport(path, stiExportLines(values), diag)) return -1;
  return stiAllOf(values.mti);
}

}  // namespace tav
