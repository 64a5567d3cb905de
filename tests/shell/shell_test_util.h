// The shell sessions of tests/support and a command that collects points.
#pragma once

#include <filesystem>

#include "shell/command_context.h"
#include "shell/panel_template.h"
#include "support/shell_session.h"

namespace tav::test {

// Collects every point given until the input is finished or cancelled;
// `runs` counts how often the command ran.
struct PointCollector {
  std::vector<Node> points;
  InputOutcome end = InputOutcome::PointGiven;
  int runs = 0;
  void operator()(CommandContext& ctx) {
    ++runs;
    while ((end = ctx.askPoint("Point :")) == InputOutcome::PointGiven)
      points.push_back(ctx.input().current);
  }
};

}  // namespace tav::test
