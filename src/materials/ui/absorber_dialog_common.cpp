#include "materials/ui/absorber_dialog_common.h"

#include "model/le_io.h"
#include "model/number_text.h"
#include "model/text_encoding.h"
#include "platform/dialog.h"

namespace tav {

std::string formatCoefficient(double value) { return formatNumber("%1.2f", value); }

std::string materialName(const AbsorberMaterial& m) { return cp1252ToUtf8(fixedString(m.name)); }
std::string materialDescription(const AbsorberMaterial& m) {
  return cp1252ToUtf8(fixedString(m.description));
}
std::string materialCategory(const AbsorberMaterial& m) {
  return cp1252ToUtf8(fixedString(m.category));
}

void fillMaterialList(DialogControls& controls, int listId,
                      const std::vector<AbsorberMaterial>& records) {
  controls.clearItems(listId);
  for (const AbsorberMaterial& m : records) controls.addItem(listId, materialName(m));
}

}  // namespace tav
