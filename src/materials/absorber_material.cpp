#include "materials/absorber_material.h"

#include <bit>
#include <cstring>

#include "model/le_io.h"

namespace tav {

// Stored form, 256 bytes:
//   0 name[23]  23 description[80]  103 reserved[9]  112 float32 alpha[7]
//   140 reserved[8]  148 category[80]  228 reserved[28]
static_assert(sizeof(AbsorberMaterial::name) + sizeof(AbsorberMaterial::description) +
                  sizeof(AbsorberMaterial::reserved103) + 7 * 4 +
                  sizeof(AbsorberMaterial::reserved140) + sizeof(AbsorberMaterial::category) +
                  sizeof(AbsorberMaterial::reserved228) ==
              ABSORBER_MATERIAL_SIZE);

bool operator==(const AbsorberMaterial& a, const AbsorberMaterial& b) {
  // Records are equal when their stored bytes are; coefficients compare by
  // bit pattern so that a record always equals itself.
  for (std::size_t k = 0; k < a.alpha.size(); ++k)
    if (std::bit_cast<std::uint32_t>(a.alpha[k]) != std::bit_cast<std::uint32_t>(b.alpha[k]))
      return false;
  return std::memcmp(a.name, b.name, sizeof a.name) == 0 &&
         std::memcmp(a.description, b.description, sizeof a.description) == 0 &&
         std::memcmp(a.reserved103, b.reserved103, sizeof a.reserved103) == 0 &&
         std::memcmp(a.reserved140, b.reserved140, sizeof a.reserved140) == 0 &&
         std::memcmp(a.category, b.category, sizeof a.category) == 0 &&
         std::memcmp(a.reserved228, b.reserved228, sizeof a.reserved228) == 0;
}

void encodeAbsorberMaterial(const AbsorberMaterial& m,
                            std::span<std::uint8_t, ABSORBER_MATERIAL_SIZE> out) {
  LeWriter w;
  w.reserve(ABSORBER_MATERIAL_SIZE);
  w.chars(m.name);
  w.chars(m.description);
  w.bytes(m.reserved103, sizeof m.reserved103);
  for (float a : m.alpha) w.f32(a);
  w.bytes(m.reserved140, sizeof m.reserved140);
  w.chars(m.category);
  w.bytes(m.reserved228, sizeof m.reserved228);
  std::memcpy(out.data(), w.buffer().data(), ABSORBER_MATERIAL_SIZE);
}

AbsorberMaterial decodeAbsorberMaterial(std::span<const std::uint8_t, ABSORBER_MATERIAL_SIZE> in) {
  AbsorberMaterial m;
  LeReader r(in);
  r.chars(m.name);
  r.chars(m.description);
  r.bytes(m.reserved103, sizeof m.reserved103);
  for (float& a : m.alpha) a = r.f32();
  r.bytes(m.reserved140, sizeof m.reserved140);
  r.chars(m.category);
  r.bytes(m.reserved228, sizeof m.reserved228);
  return m;
}

void resetProjectMaterials(ProjectMaterials& materials) {
  AbsorberMaterial full;
  setFixedString(full.name, "100%");
  setFixedString(full.description, "Absorber 100%");
  full.alpha.fill(1.0f);
  materials.slots.assign(1, full);
}

}  // namespace tav
