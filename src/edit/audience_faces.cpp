// Audience areas raised over room faces.
#include "edit/audience_faces.h"

#include "model/number_text.h"

namespace tav {

std::optional<double> parseAudienceHeight(std::string_view text, const Units& units) {
  const std::optional<double> value = parseNumberStrict(text);
  if (!value || !(*value >= 0.0 && *value <= AUDIENCE_HEIGHT_MAX)) return std::nullopt;
  return units.lengthFromInput(*value);
}

std::unique_ptr<ModelObject> buildAudienceArea(const ModelObject& face, std::size_t startEntry,
                                               double height) {
  const auto& e = face.indices;
  if (startEntry >= e.size() || e[startEntry].code != IDX_START) return nullptr;
  auto area = std::make_unique<ModelObject>();
  area->shape = SHAPE_FACE;
  area->layer = LAYER_AUDIENCE;
  area->colour = AUDIENCE_AREA_COLOUR;
  area->flags = OF_CREATED;
  for (std::size_t i = startEntry; i < e.size(); ++i) {
    const IndexEntry entry = e[i];
    if (i > startEntry && entry.code == IDX_START) break;
    if (entry.code == IDX_MATERIAL) {
      area->indices.push_back({IDX_MATERIAL, 0});
      continue;
    }
    if (entry.ref >= face.nodes.size()) return nullptr;  // a broken face is not copied
    Node n = face.nodes[entry.ref];
    n.z = static_cast<float>(n.z + height);
    area->indices.push_back({entry.code, static_cast<std::uint16_t>(area->nodes.size())});
    area->nodes.push_back(n);
    if (entry.code == IDX_CLOSE) return area;
  }
  return nullptr;  // the figure is not closed
}

}  // namespace tav
