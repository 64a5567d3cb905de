// Pieces shared by the two absorber dialogs: coefficient display and the
// conversion of record texts (Windows-1252) to and from the controls (UTF-8).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "materials/absorber_material.h"

namespace tav {

class DialogControls;

// Octave-band labels of the coefficient fields, 125 Hz first.
inline constexpr std::array<const char*, 7> ABSORBER_BAND_LABELS = {"125",  "250",  "500", "1000",
                                                                    "2000", "4000", "8000"};

// A coefficient as the dialogs show it ("%1.2f").
std::string formatCoefficient(double value);

// Record text fields for display.
std::string materialName(const AbsorberMaterial& m);
std::string materialDescription(const AbsorberMaterial& m);
std::string materialCategory(const AbsorberMaterial& m);

// Stores display text into a record field: converted to Windows-1252 and
// cut to maxChars bytes (the field's width less its NUL at most).
template <std::size_t N>
void storeMaterialText(char (&field)[N], const std::string& utf8, std::size_t maxChars);

// Fills the list box with the names of the records, in record order.
void fillMaterialList(DialogControls& controls, int listId,
                      const std::vector<AbsorberMaterial>& records);

}  // namespace tav

#include "model/le_io.h"
#include "model/text_encoding.h"

namespace tav {

template <std::size_t N>
void storeMaterialText(char (&field)[N], const std::string& utf8, std::size_t maxChars) {
  std::string bytes = utf8ToCp1252(utf8);
  if (bytes.size() > maxChars) bytes.resize(maxChars);
  setFixedString(field, bytes);
}

}  // namespace tav
