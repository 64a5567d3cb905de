// Writes the example absorber database: common room finishes with their
// octave-band absorption coefficients as published in the usual reference
// tables (random incidence, reverberation-room measurements). Where the
// tables stop at 4 kHz the 8 kHz value continues the trend of the upper
// bands: porous absorbers and audiences hold or drop slightly, hard
// surfaces stay at their 4 kHz value or rise a little with air-gap leakage.
// Values measured above 1 are given as 1.00, the editor's limit.
//
// Usage: make_absorber_database OUTDIR   (writes OUTDIR/materials.TAB)
//        make_absorber_database FILE.TAB
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "materials/absorber_database.h"
#include "model/le_io.h"
#include "model/save_file.h"

using namespace tav;

namespace {

struct Finish {
  const char* name;            // at most 21 characters
  const char* category;        // at most 79
  const char* description;     // at most 79, names the construction
  std::array<float, 7> alpha;  // 125, 250, 500, 1000, 2000, 4000, 8000 Hz
};

// The first five are the finishes of the example hall (same names and
// values there).
const Finish FINISHES[] = {
    {"Concrete floor",
     "Floors",
     "Smooth concrete, sealed or painted",
     {0.01f, 0.01f, 0.02f, 0.02f, 0.02f, 0.02f, 0.02f}},
    {"Plaster on masonry",
     "Walls",
     "Gypsum plaster, smooth finish, on brick or block",
     {0.01f, 0.02f, 0.02f, 0.03f, 0.04f, 0.05f, 0.05f}},
    {"Wood stage floor",
     "Floors",
     "Timber boards on joists with air space",
     {0.15f, 0.11f, 0.10f, 0.07f, 0.06f, 0.07f, 0.07f}},
    {"Mineral fibre tiles",
     "Ceilings",
     "Suspended mineral-fibre ceiling tiles, 15 mm, 200 mm plenum",
     {0.45f, 0.55f, 0.60f, 0.90f, 0.86f, 0.75f, 0.70f}},
    {"Heavy curtain",
     "Walls",
     "Velour 0.6 kg/m2, draped to half area, 100 mm from wall",
     {0.14f, 0.35f, 0.55f, 0.72f, 0.70f, 0.65f, 0.60f}},

    // Floors.
    {"Marble or glazed tile",
     "Floors",
     "Polished marble or glazed ceramic tiles bedded on concrete",
     {0.01f, 0.01f, 0.01f, 0.01f, 0.02f, 0.02f, 0.02f}},
    {"Linoleum on concrete",
     "Floors",
     "Linoleum, vinyl or rubber sheet glued to a concrete slab",
     {0.02f, 0.03f, 0.03f, 0.03f, 0.03f, 0.02f, 0.02f}},
    {"Parquet on concrete",
     "Floors",
     "Wood parquet, 20 mm, glued to a concrete slab",
     {0.04f, 0.04f, 0.07f, 0.06f, 0.06f, 0.07f, 0.07f}},
    {"Carpet on concrete",
     "Floors",
     "Heavy tufted carpet, 10 mm pile, laid directly on concrete",
     {0.02f, 0.06f, 0.14f, 0.37f, 0.60f, 0.65f, 0.65f}},
    {"Carpet on underlay",
     "Floors",
     "Heavy carpet on 10 mm foam-rubber underlay over concrete",
     {0.08f, 0.24f, 0.57f, 0.69f, 0.71f, 0.73f, 0.72f}},

    // Walls.
    {"Plaster on lath",
     "Walls",
     "Lime or gypsum plaster on wood or metal lath with air space",
     {0.14f, 0.10f, 0.06f, 0.05f, 0.04f, 0.03f, 0.03f}},
    {"Brick, unglazed",
     "Walls",
     "Fair-faced brickwork, unglazed and unpainted",
     {0.03f, 0.03f, 0.03f, 0.04f, 0.05f, 0.07f, 0.08f}},
    {"Brick, painted",
     "Walls",
     "Brickwork with pores closed by two coats of paint",
     {0.01f, 0.01f, 0.02f, 0.02f, 0.02f, 0.03f, 0.03f}},
    {"Block work, bare",
     "Walls",
     "Coarse lightweight concrete block, unpainted, open pores",
     {0.36f, 0.44f, 0.31f, 0.29f, 0.39f, 0.25f, 0.25f}},
    {"Block work, painted",
     "Walls",
     "Lightweight concrete block, pores sealed by paint",
     {0.10f, 0.05f, 0.06f, 0.07f, 0.09f, 0.08f, 0.08f}},
    {"Gypsum board, single",
     "Walls",
     "One layer 12.5 mm gypsum board on studs, 100 mm cavity",
     {0.29f, 0.10f, 0.05f, 0.04f, 0.07f, 0.09f, 0.09f}},
    {"Gypsum board, double",
     "Walls",
     "Two layers 12.5 mm gypsum board on studs, cavity filled with mineral wool",
     {0.15f, 0.10f, 0.06f, 0.04f, 0.04f, 0.05f, 0.05f}},
    {"Wood panelling 10 mm",
     "Walls",
     "Plywood panelling, 10 mm, on battens with 50 mm air space",
     {0.28f, 0.22f, 0.17f, 0.09f, 0.10f, 0.11f, 0.11f}},
    {"Wood boards 25 mm",
     "Walls",
     "Solid timber boards, 25 mm, on battens with air space",
     {0.19f, 0.14f, 0.09f, 0.06f, 0.06f, 0.05f, 0.05f}},
    {"Glass, large pane",
     "Walls",
     "Heavy plate glass in large panes, 6 mm or thicker",
     {0.18f, 0.06f, 0.04f, 0.03f, 0.02f, 0.02f, 0.02f}},
    {"Glass, window",
     "Walls",
     "Ordinary window glass, 3 to 4 mm, in small panes",
     {0.35f, 0.25f, 0.18f, 0.12f, 0.07f, 0.04f, 0.03f}},
    {"Light curtain",
     "Walls",
     "Cotton curtain 0.3 kg/m2 hung straight close to the wall",
     {0.03f, 0.04f, 0.11f, 0.17f, 0.24f, 0.35f, 0.40f}},
    {"Mineral wool 50 mm",
     "Walls",
     "Mineral-wool slab 50 mm, 48 kg/m3, fabric-faced, fixed to a wall",
     {0.20f, 0.65f, 0.95f, 1.00f, 0.95f, 0.90f, 0.85f}},
    {"Perforated panel",
     "Walls",
     "Perforated hardboard 5 mm, 10 % open, 50 mm mineral wool behind",
     {0.40f, 0.85f, 0.90f, 0.75f, 0.55f, 0.40f, 0.30f}},

    // Ceilings.
    {"Plasterboard ceiling",
     "Ceilings",
     "Suspended 12.5 mm plasterboard ceiling, 300 mm plenum",
     {0.15f, 0.11f, 0.04f, 0.04f, 0.07f, 0.08f, 0.08f}},
    {"Acoustic plaster",
     "Ceilings",
     "Sprayed cellulose or acoustic plaster, 25 mm, on concrete",
     {0.08f, 0.29f, 0.75f, 0.98f, 0.93f, 0.76f, 0.70f}},

    // Seating and people: coefficients per area of seating (plus a 0.5 m
    // edge), as the reverberation formulas take them.
    {"Seats, upholstered",
     "Seating",
     "Heavily upholstered theatre seats with fabric backs, unoccupied",
     {0.70f, 0.76f, 0.81f, 0.84f, 0.84f, 0.81f, 0.78f}},
    {"Seats, occupied",
     "Seating",
     "Heavily upholstered theatre seats with seated audience",
     {0.72f, 0.80f, 0.86f, 0.89f, 0.90f, 0.90f, 0.88f}},
    {"Audience, wood chairs",
     "Seating",
     "Audience seated on wooden chairs, one person per m2",
     {0.16f, 0.24f, 0.56f, 0.69f, 0.81f, 0.78f, 0.75f}},
    {"Wooden pews, occupied",
     "Seating",
     "Wooden church pews with seated congregation",
     {0.57f, 0.61f, 0.75f, 0.86f, 0.91f, 0.86f, 0.83f}},
    {"Orchestra on podium",
     "Seating",
     "Orchestra with instruments on a wooden podium, 1.5 m2 per musician",
     {0.27f, 0.53f, 0.67f, 0.93f, 0.87f, 0.80f, 0.80f}},

    // Openings and other surfaces.
    {"Water surface",
     "Other",
     "Open water surface, as in a swimming pool",
     {0.008f, 0.008f, 0.013f, 0.015f, 0.020f, 0.025f, 0.03f}},
    {"Ventilation grille",
     "Other",
     "Supply or return air grille with duct behind",
     {0.30f, 0.40f, 0.50f, 0.50f, 0.50f, 0.40f, 0.40f}},
    {"Open window",
     "Other",
     "Opening to the outside: all sound leaves the room",
     {1.00f, 1.00f, 1.00f, 1.00f, 1.00f, 1.00f, 1.00f}},
};

bool endsWithTab(const std::string& s) {
  if (s.size() < 4) return false;
  std::string tail = s.substr(s.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return tail == ".TAB";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR | FILE.TAB\n", argv[0]);
    return 1;
  }
  const std::string target = argv[1];
  const std::string path =
      endsWithTab(target) ? target : (std::filesystem::path(target) / "materials.TAB").string();

  std::vector<AbsorberMaterial> records;
  std::set<std::string> names;
  for (const Finish& f : FINISHES) {
    const bool fits = std::strlen(f.name) <= 21 && std::strlen(f.description) <= 79 &&
                      std::strlen(f.category) <= 79;
    bool inRange = true;
    for (float a : f.alpha) inRange = inRange && a >= 0.0f && a <= 1.0f;
    if (!fits || !inRange || !names.insert(f.name).second) {
      std::fprintf(stderr, "bad entry: %s\n", f.name);
      return 2;
    }
    AbsorberMaterial m;
    setFixedString(m.name, f.name);
    setFixedString(m.description, f.description);
    setFixedString(m.category, f.category);
    m.alpha = f.alpha;
    records.push_back(m);
  }
  if (records.size() > MAX_DATABASE_MATERIALS) {
    std::fprintf(stderr, "too many materials\n");
    return 2;
  }
  if (!saveFileAtomically(path, encodeAbsorberDatabase(records))) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 3;
  }
  std::fprintf(stderr, "%zu materials written to %s\n", records.size(), path.c_str());
  return 0;
}
