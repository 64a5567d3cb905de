// The STI exports of the map: per point seven lines "band,MTI,Lt" appended to
// a CSV file named after the project file and the local time.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "mapping/point_evaluation.h"

namespace tav {

inline constexpr const char* STI_EXPORT_SUFFIX = "_TV_Exp_%Y%m%d_%H%M%S.csv";
inline constexpr const char* STI_SINGLE_POINT_SUFFIX = "_SinglePoints_TV_Exp_%Y%m%d_%H%M%S.csv";
inline constexpr const char* DIAG_EXPORT_FAILED = "Failed to open log file";

// The project path followed by the suffix, its time fields filled with the
// local time `when`.
std::string stiExportPath(const std::string& projectPath, std::string_view suffix,
                          std::time_t when);

// Appends text to a file (created when missing). False, with
// "Failed to open log file" to the diagnostic sink, when it cannot be opened.
bool appendExport(const std::string& path, std::string_view text, const DiagnosticSink& diag);

// StiBandValues of a point appended to the file; StiAll, or -1 when the
// file cannot be opened.
double appendStiBandValues(const BandFloats& energy, const ReverberantField& field,
                           const std::string& path, const DiagnosticSink& diag);

}  // namespace tav
