// The record check of protected loudspeaker records: any bytes pass or fail
// it without harm; a record that passes decodes, and protecting a decoded
// record again gives a record that passes with the same fields.
#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "model/le_io.h"
#include "speakers/record_scrambling.h"
#include "speakers/speaker_type.h"

namespace {

using namespace tav;

using RecordSpan = std::span<std::uint8_t, SPEAKER_TYPE_SIZE>;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::writeSeedsIfAsked([](const std::filesystem::path& dir) {
    std::vector<std::uint8_t> record(SPEAKER_TYPE_SIZE);
    SpeakerType t = resetSpeakerType();
    setFixedString(t.name, "SEED");
    for (std::size_t k = 0; k < t.tail.size(); ++k) t.tail[k] = static_cast<std::uint8_t>(31 * k);
    encodeSpeakerType(t, RecordSpan(record.data(), SPEAKER_TYPE_SIZE));
    scrambleSpeakerRecord(RecordSpan(record.data(), SPEAKER_TYPE_SIZE));
    fuzz::writeFile(dir / "protected.rec", record);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Short inputs are padded: the check works on whole records only.
  std::vector<std::uint8_t> record(SPEAKER_TYPE_SIZE, 0);
  std::copy_n(data, std::min(size, SPEAKER_TYPE_SIZE), record.begin());

  std::array<std::uint8_t, SPEAKER_HEAD_SIZE> head;
  std::copy_n(record.begin(), SPEAKER_HEAD_SIZE, head.begin());
  unscrambleSpeakerHead(head);

  // Older plain records convert to the current layout.
  const auto converted = convertOldSpeakerRecord(
      std::span<const std::uint8_t>(record.data(), OLD_SPEAKER_TYPE_SIZE), 470);
  fuzz::check(converted.size() == SPEAKER_TYPE_SIZE, "a whole older record converts");

  const RecordSpan span(record.data(), SPEAKER_TYPE_SIZE);
  if (!unscrambleSpeakerRecord(span)) return 0;
  const SpeakerType type = decodeSpeakerType(span);
  fuzz::check(std::equal(head.begin(), head.end(), record.begin()),
              "the head unscrambles as the whole record does");
  std::vector<std::uint8_t> again(SPEAKER_TYPE_SIZE);
  const RecordSpan againSpan(again.data(), SPEAKER_TYPE_SIZE);
  encodeSpeakerType(type, againSpan);
  scrambleSpeakerRecord(againSpan);
  fuzz::check(unscrambleSpeakerRecord(againSpan), "a protected record passes its check");
  // The two check words are recomputed by the protection; every other field stays.
  SpeakerType back = decodeSpeakerType(againSpan);
  back.checksum = type.checksum;
  back.tailCheck = type.tailCheck;
  fuzz::check(back == type, "protection keeps every field");
  return 0;
}
