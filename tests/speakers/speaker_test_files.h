// The loudspeaker record and database builders of tests/support under the
// names the loudspeaker tests use, and bare loudspeaker objects.
#pragma once

#include "model/project.h"
#include "speakers/placed_speaker.h"
#include "support/speaker_records.h"
#include "support/temp_folder.h"

namespace tav::test {

using tavtest::append;
using tavtest::databaseHeader;
using tavtest::shapeData;
using SpeakerTempDir = tavtest::TempFolder;
inline void putU16(tavtest::Buf& b, std::size_t at, std::uint16_t v) { tavtest::put16(b, at, v); }
inline void putU32(tavtest::Buf& b, std::size_t at, std::uint32_t v) { tavtest::put32(b, at, v); }
using tavtest::putF32;
using tavtest::putText;

// A plain current-layout record with shape ordinal 0 whose band b grid holds
// code `code0 + b`.
inline tavtest::Buf plainRecord(const std::string& name, std::uint8_t code0 = 200) {
  return tavtest::plainSpeakerRecord(name, 0, 1, code0);
}
inline tavtest::Buf scrambled(tavtest::Buf r) { return tavtest::testScramble(std::move(r)); }
// A layout-1 record whose row r of band b holds code 100 + 10 b + r.
inline tavtest::Buf plainOldRecord(const std::string& name) {
  return tavtest::oldSpeakerRecord(name, 0, true);
}

// A loudspeaker object of project type `typeIndex` without a drawing,
// appended to the project.
inline ModelObject* addBareSpeaker(Project& project, PlacedSpeaker s, std::int16_t typeIndex = 0) {
  auto o = ObjectList::allocObject(0, 0, 0);
  o->layer = LAYER_SPEAKERS;
  s.typeIndex = typeIndex;
  storeSpeaker(*o, s);
  return project.objects.appendObject(std::move(o));
}

}  // namespace tav::test
