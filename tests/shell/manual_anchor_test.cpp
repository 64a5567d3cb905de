// Help opens the manual at "#cmd-<number>" of the running command, so every
// command number needs an anchor there, and the manual's own links must land.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

#include "platform/scripted/scripted_platform.h"
#include "shell/command_ids.h"
#include "shell/command_set.h"
#include "shell/menu_table.h"
#include "shell/shell.h"

namespace {

std::string readManual() {
  std::ifstream in(std::string(TAVIRON_SOURCE_DIR) + "/docs/manual.html", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Every capture of the pattern's first group, repeats kept.
std::multiset<std::string> matchesOf(const std::string& html, const std::regex& pattern) {
  std::multiset<std::string> found;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), pattern);
       it != std::sregex_iterator(); ++it)
    found.insert((*it)[1]);
  return found;
}

}  // namespace

TEST(Manual, EveryCommandHasItsAnchorAnchorsAreUniqueAndLinksLand) {
  const std::string html = readManual();
  ASSERT_FALSE(html.empty()) << "docs/manual.html is missing";
  const std::multiset<std::string> all = matchesOf(html, std::regex(R"re(\bid="([^"]+)")re"));
  for (const std::string& id : std::set<std::string>(all.begin(), all.end()))
    EXPECT_EQ(all.count(id), 1u) << "duplicate id " << id;
  EXPECT_TRUE(all.count("index")) << "the index anchor Help opens when idle";

  // Every command the shell knows, menu items and the commands without one.
  for (const tav::CommandSpec& spec : tav::commandSpecs()) {
    EXPECT_TRUE(all.count("cmd-" + std::to_string(spec.number)))
        << "no anchor for command " << spec.number << " \"" << spec.text << "\"";
  }
  // Help asks for the running command: any number the program registers,
  // and zoom in, which F6 and the panel start without a menu item.
  tav::ScriptedPlatform platform;
  tav::Shell shell(platform, {"/nonexistent/HISTORY.TVX", TAVIRON_SOURCE_DIR "/data", "", ""});
  tav::registerAllCommands(shell);
  std::vector<int> asked = shell.registry().numbers();
  asked.push_back(tav::CMD_ZOOM_IN);
  for (int number : asked)
    EXPECT_TRUE(all.count("cmd-" + std::to_string(number))) << "Help for " << number;

  const std::multiset<std::string> links = matchesOf(html, std::regex(R"re(href="#([^"]+)")re"));
  for (const std::string& target : links)
    EXPECT_TRUE(all.count(target)) << "link to missing #" << target;
  EXPECT_GT(links.size(), 20u);
}
