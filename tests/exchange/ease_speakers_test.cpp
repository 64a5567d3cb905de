// Loudspeakers in EASE 2.x and 3.x files: the angle conventions, files
// written against text built here, hand-written files read, the 5000 limit,
// and finding and entering an imported loudspeaker's type.
#include "exchange/ease_speakers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/le_io.h"
#include "model/project.h"
#include "speakers/project_speaker_types.h"
#include "speakers/speaker_database.h"
#include "speakers/speaker_drawing.h"
#include "speakers/speaker_session_test_support.h"
#include "support/near.h"

namespace tav {
namespace {

constexpr double DEG = 3.14159265358979323846 / 180.0;

PlacedSpeaker importedSpeakerNamed(const char* name) {
  PlacedSpeaker s;
  setFixedString(s.group, name);
  return s;
}

struct AngleCase {
  double model, ease;
};

TEST(EaseSpeakerAngles, HorizontalTurnsByNinetyDegreesIntoMinus180To180) {
  // Model -> EASE: +90, above 180 less 360; what shows as 180.0 stays.
  const AngleCase out[] = {{0, 90},    {90, 180},   {100, -170},     {-90, 0},
                           {180, -90}, {-180, -90}, {90.06, -179.94}};
  for (const AngleCase& c : out) {
    SCOPED_TRACE(c.model);
    EXPECT_NEAR(easeHorizontalDegrees(c.model * DEG), c.ease, 1e-6);
  }
  // 90 degrees as the float a record holds is a little above pi / 2.
  EXPECT_NEAR(easeHorizontalDegrees(static_cast<float>(90 * DEG)), 180.0, 1e-4);
  // EASE -> model: -90, below -pi plus 2 pi; -180 itself stays.
  const AngleCase in[] = {{90, 180}, {100, -170}, {-90, 0}, {-180, -90}, {179, -91}, {0, 90}};
  for (const AngleCase& c : in) {
    SCOPED_TRACE(c.ease);
    EXPECT_NEAR(modelHorizontalRadians(c.ease), c.model * DEG, 1e-6);
  }
  EXPECT_EQ(easeLevelDb(1e10), 100.0);
  EXPECT_EQ(easeLevelDb(0.5), 0.0) << "a level below 0 dB is written as 0.0";
}

// A project with the types HORN (slot 0) and SUB (slot 1) and two
// loudspeakers, B then A in list order (each new drawing goes to the head).
struct ExportFixture {
  Project project;
  ExportFixture() {
    for (const char* name : {"HORN", "SUB"}) {
      auto t = std::make_unique<SpeakerType>(speakertest::testType(name, 90, 10, name));
      project.speakerTypes.push_back(std::move(t));
    }
    PlacedSpeaker a = newPlacedSpeaker({1.5, -2.25, 3});
    a.horizontal = float(90 * DEG);
    a.vertical = float(-10 * DEG);
    a.rotation = float(5 * DEG);
    a.delay = 12.5f;
    a.acousticFactor = {1e10f, 0.5f, 0, 1e9f, 1e9f, 1e9f, 1e9f};
    a.electricalPower = {12.5f, 0, 0, 1, 1, 1, 1};
    buildSpeakerDrawing(project, a, nullptr);
    PlacedSpeaker b = newPlacedSpeaker({-4, 0.125, 10});
    b.typeIndex = 1;
    b.horizontal = float(100 * DEG);
    b.acousticFactor.fill(1e12f);
    b.electricalPower.fill(100);
    buildSpeakerDrawing(project, b, nullptr);
  }
};

TEST(EaseSpeakersWrite, V2WritesSixLinesPerLoudspeaker) {
  ExportFixture f;
  EXPECT_EQ(writeEaseSpeakersV2(f.project),
            "-4.00,0.12,10.00\n0.0,-170.0,0.0\n\"SUB       \"\n0.000000,0.000000\n"
            "120.0,120.0,120.0,120.0,120.0,120.0,120.0\n"
            "100.0,100.0,100.0,100.0,100.0,100.0,100.0\n"
            "1.50,-2.25,3.00\n-10.0,180.0,5.0\n\"HORN      \"\n12.500000,0.000000\n"
            "100.0,0.0,0.0,90.0,90.0,90.0,90.0\n"
            " 12.5,  0.0,  0.0,  1.0,  1.0,  1.0,  1.0\n");
}

TEST(EaseSpeakersWrite, V3WritesKeyedLinesWithThreeValuesPerBand) {
  ExportFixture f;
  const std::string text = writeEaseSpeakersV3(f.project);
  const std::string head =
      "\"Filetype\",\"Loudspeakers\"\n\"Format\",3.0\n\"LengthUnit\",\"m\"\n"
      "\"Label\",\"S1\"\n\"Position\",-4.00,0.12,10.00\n\"Ver/Hor/Rot\",0.0,-170.0,0.0\n"
      "\"Speaker\",\"SUB\"\n\"Delay/Align\",0.000000,0.000000\n";
  ASSERT_EQ(text.substr(0, head.size()), head);
  const std::string second =
      "\"Label\",\"S2\"\n\"Position\",1.50,-2.25,3.00\n\"Ver/Hor/Rot\",-10.0,180.0,5.0\n"
      "\"Speaker\",\"HORN\"\n\"Delay/Align\",12.500000,0.000000\n"
      "\"dB 1m\",100.0,100.0,100.0,0.0,0.0,0.0,0.0,0.0,0.0,90.0,90.0,90.0,90.0,90.0,90.0,"
      "90.0,90.0,90.0,90.0,90.0,90.0\n"
      "\"Watts\", 12.5, 12.5, 12.5,  0.0,  0.0,  0.0,  0.0,  0.0,  0.0,  1.0,  1.0,  1.0,"
      "  1.0,  1.0,  1.0,  1.0,  1.0,  1.0,  1.0,  1.0,  1.0\n";
  ASSERT_GE(text.size(), second.size());
  EXPECT_EQ(text.substr(text.size() - second.size()), second);
}

TEST(EaseSpeakersRead, V2RecordTakesPositionAnglesNameDelayLevelsAndPowers) {
  const EaseSpeakerImport r = readEaseSpeakersV2(
      "1.50,-2.25,3.00\r\n-10.0,-170.0,5.0\r\n\"HORN      \"\r\n12.500000,0.000000\r\n"
      "100.0,0.0,3.0,90.0,90.0,90.0,90.0\r\n 12.5,  0.0, 40.0,  1.0,  1.0,  1.0,  1.0\r\n"
      "\r\n0,0,0\n0,0,0\n\"S\"\n0,0\n0,0,0,0,0,0,0\n0,0,0,0,0,0,0\n"
      "0,0,0\n0,0,0\n\"\n0,0\n0,0,0,0,0,0,0\n0,0,0,0,0,0,0\n",
      0);
  ASSERT_EQ(r.speakers.size(), 3u);
  const PlacedSpeaker& s = r.speakers[0];
  EXPECT_EQ(fixedString(s.group), "HORN");
  EXPECT_EQ(s.position, (Node{1.5f, -2.25f, 3.0f}));
  EXPECT_NEAR(s.vertical, -10 * DEG, 1e-6);
  EXPECT_NEAR(s.horizontal, 100 * DEG, 1e-6);
  EXPECT_NEAR(s.rotation, 5 * DEG, 1e-6);
  EXPECT_FLOAT_EQ(s.delay, 12.5f);
  EXPECT_FLOAT_EQ(s.acousticFactor[0], 1e10f);
  EXPECT_NEAR(s.acousticFactor[2], 1.9952623, 1e-6);
  EXPECT_FLOAT_EQ(s.electricalPower[2], 40.0f);
  EXPECT_FLOAT_EQ(s.nominalPower, 40.0f) << "the largest band power";
  // A name field without blanks ends at its closing quote.
  EXPECT_EQ(fixedString(r.speakers[1].group), "S");
  EXPECT_EQ(fixedString(r.speakers[2].group), "") << "a name field of its quote alone";
  EXPECT_EQ(r.skippedLines, 0u);
}

TEST(EaseSpeakersRead, V3RecordsFromTheirLabelLines) {
  const std::string text =
      "\"Filetype\",\"Loudspeakers\"\n\"Format\",3.0\n\"LengthUnit\",\"m\"\n"
      "\"Label\",\"S1\"\n\"Position\",2.00,3.50,-1.25\n\"Ver/Hor/Rot\",30.0,90.0,-45.0\n"
      "\"Speaker\",\"SUB\"\n\"Delay/Align\",7.25,0.0\n\"dB 1m\",1,2,3\n"
      "\"Watts\",1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21\n"
      "\"Label\",\"S2\"\n\"Speaker\",\"LONGNAME99\"\n\"Watts\",1,2\n";
  const EaseSpeakerImport r = readEaseSpeakersV3(text, 0);
  ASSERT_EQ(r.speakers.size(), 2u);
  const PlacedSpeaker& s = r.speakers[0];
  EXPECT_EQ(fixedString(s.group), "SUB");
  EXPECT_EQ(s.position, (Node{2.0f, 3.5f, -1.25f}));
  EXPECT_NEAR(s.vertical, 30 * DEG, 1e-6);
  EXPECT_NEAR(s.horizontal, 0, 1e-6);
  EXPECT_FLOAT_EQ(s.delay, 7.25f);
  // The middle value of each band's three: 2, 5, 8, ... 20.
  EXPECT_EQ(s.electricalPower, (std::array<float, BAND_COUNT>{2, 5, 8, 11, 14, 17, 20}));
  EXPECT_FLOAT_EQ(s.nominalPower, 20);
  EXPECT_EQ(fixedString(r.speakers[1].group), "LONGNAME") << "at most 8 characters";
  EXPECT_EQ(r.skippedLines, 1u) << "a Watts line of two values";
}

TEST(EaseSpeakersRead, CountStopsAtFiveThousandLoudspeakers) {
  const std::string record = "0,0,0\n0,0,0\n\"A\"\n0,0\n0,0,0,0,0,0,0\n0,0,0,0,0,0,0\n";
  const std::string v3 = "\"Label\",\"S\"\n\"Speaker\",\"A\"\n";
  struct Case {
    std::size_t existing, records, read;
    bool limit;
  };
  for (const Case c : {Case{4999, 3, 1, true}, Case{4998, 1, 1, false}, Case{5000, 2, 0, true}}) {
    SCOPED_TRACE(c.existing);
    std::string v2Text, v3Text;
    for (std::size_t i = 0; i < c.records; ++i) {
      v2Text += record;
      v3Text += v3;
    }
    const EaseSpeakerImport a = readEaseSpeakersV2(v2Text, c.existing);
    EXPECT_EQ(a.speakers.size(), c.read);
    EXPECT_EQ(a.limitReached, c.limit);
    const EaseSpeakerImport b = readEaseSpeakersV3(v3Text, c.existing);
    EXPECT_EQ(b.speakers.size(), c.read);
    EXPECT_EQ(b.limitReached, c.limit);
  }
}

TEST(EaseSpeakersResolve, ProjectTypeFirstThenTheDatabaseAndGainsFromThePowers) {
  speakertest::SessionFolder dir;
  const std::string path = dir.file("DB.TSB");
  ASSERT_TRUE(writeSpeakerDatabase(path, {{speakertest::testType("HORN", 100, 20, "h"), nullptr},
                                          {speakertest::testType("SUB", 95, 100, "s"), nullptr}}));
  SpeakerDatabaseIndex index;
  ASSERT_TRUE(loadSpeakerDatabase(index, path).loaded);
  Project project;
  project.speakerTypes.push_back(
      std::make_unique<SpeakerType>(speakertest::testType("SUB", 80, 1, "project's own")));

  PlacedSpeaker sub = importedSpeakerNamed("SUB");
  ASSERT_TRUE(findImportedSpeakerType(project, index, sub));
  EXPECT_EQ(sub.typeIndex, 0) << "the project's type of that name, not the database's";

  PlacedSpeaker horn = importedSpeakerNamed("horn");
  ASSERT_TRUE(findImportedSpeakerType(project, index, horn)) << "database names without case";
  EXPECT_EQ(horn.typeIndex, 1);

  PlacedSpeaker none = importedSpeakerNamed("NONE");
  UserMessage m;
  EXPECT_FALSE(findImportedSpeakerType(project, index, none, &m));
  EXPECT_TRUE(m.empty()) << "the caller says it, after asking the user";

  // HORN: maximum power 20, 40, 60 ... W. File powers 2.5 W (-9.0 dB),
  // none (off), 80 W of 60 (capped at 0 dB) and 53 W of 80 (-1.8 dB).
  horn.electricalPower = {2.5f, 0, 80, 53, 0, 0, 0};
  ModelObject* o = enterImportedSpeaker(project, horn, true);
  ASSERT_NE(o, nullptr);
  const PlacedSpeaker in = *speakerOf(*o);
  EXPECT_EQ(fixedString(in.group), "");
  EXPECT_FLOAT_EQ(in.eqGain[0], -9.0f);
  EXPECT_FLOAT_EQ(in.eqGain[1], -100.0f);
  EXPECT_FLOAT_EQ(in.eqGain[2], 0.0f);
  EXPECT_FLOAT_EQ(in.eqGain[3], -1.8f);
  EXPECT_NEAR(in.electricalPower[0], 20 * std::pow(10.0, -0.9), 1e-4);
  EXPECT_FLOAT_EQ(in.electricalPower[2], 60.0f);
  EXPECT_NEAR(in.acousticFactor[2], 60 * 1e10, 1e5);
}

}  // namespace
}  // namespace tav
