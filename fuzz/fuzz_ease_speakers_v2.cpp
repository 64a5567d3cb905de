// EASE 2.x loudspeakers: any text reads as sound records, and what the writer
// writes of them reads back unchanged.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_ease.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tav::fuzz::writeSeedsIfAsked([](const std::filesystem::path& dir) {
    const std::string seed =
        "1.50,-2.25,3.00\n-10.0,-170.0,5.0\n\"HORN      "
        "\"\n12.500000,0.000000\n100.0,0.0,3.0,90.0,90.0,90.0,90.0\n 12.5,  0.0, 40.0,  1.0,  1.0, "
        " 1.0,  1.0\n";
    tav::fuzz::writeFile(dir / "seed.exp",
                         {reinterpret_cast<const std::uint8_t*>(seed.data()), seed.size()});
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tav;
  const std::string text(reinterpret_cast<const char*>(data), size);
  fuzz::checkSpeakers(readEaseSpeakersV2(text, 0), false);
  return 0;
}
