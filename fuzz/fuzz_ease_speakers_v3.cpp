// EASE 3.x loudspeakers: any text reads as sound records, and what the writer
// writes of them reads back unchanged.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_ease.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tav::fuzz::writeSeedsIfAsked([](const std::filesystem::path& dir) {
    const std::string seed =
        "\"Filetype\",\"Loudspeakers\"\n\"Format\",3.0\n\"LengthUnit\",\"m\"\n\"Label\","
        "\"S1\"\n\"Position\",1.00,2.00,3.00\n\"Ver/Hor/"
        "Rot\",-10.0,180.0,5.0\n\"Speaker\",\"HORN\"\n\"Delay/Align\",12.500000,0.000000\n\"dB "
        "1m\",100.0,100.0,100.0,90.0,90.0,90.0,90.0,90.0,90.0,90.0,90.0,90.0,90.0,90.0,90.0,90.0,"
        "90.0,90.0,90.0,90.0,90.0\n\"Watts\",1.0,1.0,1.0,2.0,2.0,2.0,3.0,3.0,3.0,4.0,4.0,4.0,5.0,5."
        "0,5.0,6.0,6.0,6.0,7.0,7.0,7.0\n";
    tav::fuzz::writeFile(dir / "seed.xld",
                         {reinterpret_cast<const std::uint8_t*>(seed.data()), seed.size()});
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tav;
  const std::string text(reinterpret_cast<const char*>(data), size);
  fuzz::checkSpeakers(readEaseSpeakersV3(text, 0), true);
  return 0;
}
