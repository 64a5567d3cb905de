// Absorber materials: the 256-byte record and the project's material table.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tav {

constexpr std::size_t ABSORBER_MATERIAL_SIZE = 256;
constexpr std::size_t MAX_MATERIALS = 200;

struct AbsorberMaterial {
  char name[23] = {};  // identity, compared exactly (case counts); empty = free slot
  char description[80] = {};
  std::uint8_t reserved103[9] = {};
  std::array<float, 7> alpha{};  // absorption coefficient per octave band, 125 Hz first
  std::uint8_t reserved140[8] = {};
  char category[80] = {};
  std::uint8_t reserved228[28] = {};

  bool isFree() const { return name[0] == '\0'; }
  friend bool operator==(const AbsorberMaterial&, const AbsorberMaterial&);
};

void encodeAbsorberMaterial(const AbsorberMaterial& m,
                            std::span<std::uint8_t, ABSORBER_MATERIAL_SIZE> out);
AbsorberMaterial decodeAbsorberMaterial(std::span<const std::uint8_t, ABSORBER_MATERIAL_SIZE> in);

// The project's materials: slots in use up to the highest ever used (the
// count); a free slot (empty name) may be reused. Faces index this table.
struct ProjectMaterials {
  std::vector<AbsorberMaterial> slots;
  std::size_t count() const { return slots.size(); }
  friend bool operator==(const ProjectMaterials&, const ProjectMaterials&) = default;
};

// Slot 0 "100%" ("Absorber 100%", every coefficient 1.0), count 1.
void resetProjectMaterials(ProjectMaterials& materials);

}  // namespace tav
