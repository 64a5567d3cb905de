// Help opens the manual at "#cmd-<number>" of the running command, so every
// command number needs an anchor there, and the manual's own links must land.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

#include "shell/menu_table.h"

namespace {

std::string readManual() {
  std::ifstream in(std::string(TAVIRON_SOURCE_DIR) + "/docs/manual.html", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::set<std::string> idsOf(const std::string& html) {
  std::set<std::string> ids;
  static const std::regex ID(R"re(\bid="([^"]+)")re");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), ID); it != std::sregex_iterator(); ++it)
    ids.insert((*it)[1]);
  return ids;
}

// The command numbers of the menu tables, written out here independently of
// the program's own table: File and Edit, the shared drawing and editing
// commands of Room, Audience Areas and AUX Drawing, Room/Audience/Calculate,
// Loudspeakers, View and Options, and the commands without a menu item.
const int MENU_COMMANDS[] = {
    104, 101, 102, 103, 120, 122, 121, 123, 124, 126, 125, 127, 105, 110, 111, 112, 113, 201, 202,
    210, 11111,
    2201, 4201, 2202, 3202, 4202, 2203, 3203, 4203, 2204, 3204, 4204, 4205, 2206, 4206,
    2301, 3301, 4301, 2302, 3302, 4302, 2303, 3303, 4303, 2304, 3304, 4304, 2305, 3305, 4305,
    2306, 3306, 4306, 2307, 4307, 2308, 4308, 2309, 4309, 2310, 4310, 2311, 3311, 4311,
    2312, 4312, 2313, 4313, 2314, 4314, 2315, 4315, 2319, 2320,
    2501, 2502, 2801, 2802, 2803, 2601, 5001, 5101, 5102, 5103, 5010, 5011, 5012, 5013, 5020, 5021,
    5030, 5031, 5032, 5033, 5034,
    1021, 1002, 1003, 1004, 1005, 1006, 1013, 1007, 1015, 1012, 1008, 1009, 1014, 1010, 1011, 1017,
    1018, 1016, 1019, 1020,
    602, 603, 604, 605, 606, 608, 610, 611, 612, 613, 614, 615, 507, 511, 512, 513, 508, 509, 510,
    506, 514, 516, 517,
};

}  // namespace

TEST(Manual, EveryCommandNumberHasItsAnchor) {
  const std::string html = readManual();
  ASSERT_FALSE(html.empty()) << "docs/manual.html is missing";
  const std::set<std::string> ids = idsOf(html);
  EXPECT_TRUE(ids.count("index")) << "the index anchor Help opens when idle";

  for (int number : MENU_COMMANDS)
    EXPECT_TRUE(ids.count("cmd-" + std::to_string(number))) << "no anchor for command " << number;

  // Every command the shell knows, menu items and the commands without one.
  std::size_t known = 0;
  for (const tav::CommandSpec& spec : tav::commandSpecs()) {
    ++known;
    EXPECT_TRUE(ids.count("cmd-" + std::to_string(spec.number)))
        << "no anchor for command " << spec.number << " \"" << spec.text << "\"";
  }
  EXPECT_GE(known, std::size(MENU_COMMANDS));
}

TEST(Manual, AnchorsAreUniqueAndLinksLand) {
  const std::string html = readManual();
  ASSERT_FALSE(html.empty());
  std::multiset<std::string> all;
  static const std::regex ID(R"re(\bid="([^"]+)")re");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), ID); it != std::sregex_iterator(); ++it)
    all.insert((*it)[1]);
  for (const std::string& id : all) EXPECT_EQ(all.count(id), 1u) << "duplicate id " << id;

  const std::set<std::string> ids(all.begin(), all.end());
  static const std::regex LINK(R"re(href="#([^"]+)")re");
  std::size_t links = 0;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), LINK); it != std::sregex_iterator();
       ++it, ++links)
    EXPECT_TRUE(ids.count((*it)[1])) << "link to missing #" << (*it)[1];
  EXPECT_GT(links, 20u);
}
