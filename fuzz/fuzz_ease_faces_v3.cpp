// EASE 3.x room faces: any text reads as sound records, and what the writer
// writes of them reads back unchanged.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_ease.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tav::fuzz::writeSeedsIfAsked([](const std::filesystem::path& dir) {
    const std::string seed =
        "\"Filetype\",\"Faces\"\n\"Format\",3,0\n\"LengthUnit\",\"m\"\n\"Material\","
        "\"Absorber\"\n0.000000,0.000000,0.000000\n4.000000,0.000000,0.000000\n4.000000,3.000000,2."
        "500000\n; comment\n\"End\"\n";
    tav::fuzz::writeFile(dir / "seed.xfc",
                         {reinterpret_cast<const std::uint8_t*>(seed.data()), seed.size()});
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tav;
  const std::string text(reinterpret_cast<const char*>(data), size);
  fuzz::checkFaces(readEaseFacesV3(text), true);
  return 0;
}
