// EASE 2.x room faces: any text reads as sound records, and what the writer
// writes of them reads back unchanged.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_ease.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tav::fuzz::writeSeedsIfAsked([](const std::filesystem::path& dir) {
    const std::string seed =
        "0,0,0\n4,0,0\n4,3,0\n0,3,0\n0\n0\n0\n0\n0\n0\n1,1,1\n2,1,1\n2,2,1\n0\n";
    tav::fuzz::writeFile(dir / "seed.exp",
                         {reinterpret_cast<const std::uint8_t*>(seed.data()), seed.size()});
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tav;
  const std::string text(reinterpret_cast<const char*>(data), size);
  fuzz::checkFaces(readEaseFacesV2(text), false);
  return 0;
}
