#include "reflections/ui/etc_plot.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/canvas.h"
#include "platform/palette.h"
#include "reflections/reflection_run.h"

namespace tav {

namespace {

constexpr int ETC_BAR_COLOUR = 19;
constexpr int ETC_CURVE_COLOUR = COLOUR_RED;
constexpr int ETC_MARKER_COLOUR = COLOUR_RED;
constexpr int ETC_TEXT_HEIGHT = 14;
constexpr std::array<double, 20> FULL_SCALES = {100,  200,  300,  400,  500,  600,  700,
                                                800,  900,  1000, 1500, 2000, 3000, 4000,
                                                5000, 6000, 7000, 8000, 9000, 10000};

std::string xyz(const Node& p) {
  return "X: " + fixedText(p.x, 1) + "  Y: " + fixedText(p.y, 1) + "  Z: " + fixedText(p.z, 1);
}

}  // namespace

std::string fixedText(double value, int decimals) {
  char buf[64];
  if (!std::isfinite(value)) return value > 0 ? "inf" : (value < 0 ? "-inf" : "nan");
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  if (r.ec != std::errc()) return "*";
  std::string s(buf, r.ptr);
  if (s.find_first_not_of("-0.") == std::string::npos && s[0] == '-') s.erase(0, 1);  // no "-0.0"
  return s;
}

double etcFullScaleMs(double tMax) {
  for (double s : FULL_SCALES)
    if (!(s < tMax)) return s;
  return 10000;
}

int EtcLayout::timeX(double ms) const {
  return left + 1 + static_cast<int>(ms * (right - left) / fullScaleMs);
}

int EtcLayout::levelY(double db) const {
  const double perDb = (baseline - top) / 60.0;
  const double y = baseline - (db - (topDb - 60)) * perDb;
  return static_cast<int>(std::min<double>(baseline, std::max<double>(top - 1e6, y)));
}

EtcLayout etcLayout(int width, int height, const ReflectionStats& stats) {
  EtcLayout l;
  l.left = 32;
  l.right = width - 16;
  l.top = 60;
  l.baseline = height / 2 + 60;
  l.fullScaleMs = etcFullScaleMs(stats.tMax);
  l.topDb = std::ceil(stats.maxLevel / 10.0) * 10.0;
  return l;
}

std::array<std::string, 3> etcBottomLine(const ReflectionStats& s, int band) {
  const int b = std::clamp(band, 0, BROADBAND);
  return {"Ld-Lr : " + fixedText(s.early[b] - s.reverberant[b], 1) + " dB",
          "RT 60 : " + fixedText(s.rt[b], 1) + " s",
          "Alcons : " + fixedText(alcons(s, b), 1) + " %"};
}

std::vector<std::string> etcPathInfo(const EtcPicture& p) {
  std::vector<std::string> lines;
  if (!p.paths || p.selected < 0 || p.selected >= static_cast<int>(p.paths->size())) return lines;
  const EtcPath& path = (*p.paths)[static_cast<std::size_t>(p.selected)];
  const int b = std::clamp(p.band, 0, BROADBAND);
  const double level = pathLevel(path.data, b);
  lines.push_back("dE : " + fixedText(level - p.stats->refLevel[b], 1) + " dB");
  lines.push_back("dT : " + fixedText(path.data.time - p.stats->refTime[b], 2) + " ms");
  const int source = path.data.ids.empty() ? -1 : path.data.ids.front();
  if (source >= 0 && source < static_cast<int>(p.speakerNames.size()))
    lines.push_back("Source : " + p.speakerNames[static_cast<std::size_t>(source)] + "  " +
                    xyz(p.speakerPositions[static_cast<std::size_t>(source)]));
  if (!path.points.empty()) lines.push_back("Target : " + xyz(path.points.back()));
  if (path.data.reflections > 0) {
    std::string faces = "Reflecting Faces : ";
    for (std::size_t i = 1; i + 1 < path.data.ids.size(); ++i) {
      if (i > 1) faces += ",";
      faces += "#" + std::to_string(path.data.ids[i] + 1);
    }
    lines.push_back(faces);
  }
  return lines;
}

void paintEtc(Canvas& c, const EtcPicture& p) {
  const ReflectionStats& s = *p.stats;
  const int band = std::clamp(p.band, 0, BROADBAND);
  c.fillRect({0, 0, c.width(), c.height()}, COLOUR_WHITE);
  const EtcLayout l = etcLayout(c.width(), c.height(), s);
  TextStyle text;
  text.height = ETC_TEXT_HEIGHT;

  // Frame and scales.
  c.setDrawMode(DrawMode::Copy);
  c.setBrush(Brush::none());
  c.setPen(COLOUR_BLACK);
  c.rectangle({l.left, l.top, l.right - l.left + 1, l.baseline - l.top + 1});
  TextStyle centred = text;
  centred.align = TextAlign::Centre;
  for (int i = 0; i <= 10; ++i) {
    const double ms = l.fullScaleMs * i / 10;
    const int x = l.timeX(ms);
    c.line({x, l.baseline}, {x, l.baseline + 4});
    c.text({x, l.baseline + 6}, std::to_string(static_cast<int>(ms)), centred);
  }
  c.text({l.right, l.baseline + 6 + ETC_TEXT_HEIGHT}, "ms", centred);
  TextStyle right = text;
  right.align = TextAlign::Right;
  for (int i = 0; i <= 6; ++i) {
    const double db = l.topDb - 10.0 * i;
    const int y = l.levelY(db);
    c.line({l.left - 4, y}, {l.left, y});
    char buf[16];
    const int v = static_cast<int>(db);
    std::snprintf(buf, sizeof buf, "%3d", v);  // integers only: no decimal separator
    c.text({l.left - 5, y - ETC_TEXT_HEIGHT / 2}, buf, right);
  }
  c.text({l.left - 5, l.top - ETC_TEXT_HEIGHT - 4}, "dB", right);

  // Bars of every path but the selected one.
  c.setClip({l.left, l.top, l.right - l.left + 1, l.baseline - l.top + 1});
  c.setPen(ETC_BAR_COLOUR);
  if (p.paths) {
    for (std::size_t i = 0; i < p.paths->size(); ++i) {
      if (static_cast<int>(i) == p.selected) continue;
      const PathData& d = (*p.paths)[i].data;
      const int x = l.timeX(d.time);
      c.line({x, l.baseline}, {x, l.levelY(pathLevel(d, band))});
    }
  }
  // The decay curve: the running sum of the histogram from the last bin.
  c.setPen(ETC_CURVE_COLOUR);
  double sum = 0;
  std::vector<PixelPoint> curve;
  for (int i = HISTOGRAM_BINS - 1; i >= 0; --i) {
    sum += s.histogram[band][i];
    const double t =
        i == HISTOGRAM_BINS - 1 ? s.tMin + (HISTOGRAM_BINS - 1) * s.binWidth : i * s.binWidth;
    curve.push_back({l.timeX(t), l.levelY(10.0 * std::log10(std::max(sum, 1.0)))});
  }
  c.polyline(curve);
  // The selected path: a marker at its bar.
  if (p.paths && p.selected >= 0 && p.selected < static_cast<int>(p.paths->size())) {
    const PathData& d = (*p.paths)[static_cast<std::size_t>(p.selected)].data;
    const int x = l.timeX(d.time), y = l.levelY(pathLevel(d, band));
    c.setPen(ETC_MARKER_COLOUR);
    c.line({x, l.baseline}, {x, y});
    c.rectangle({x - 3, y - 3, 7, 7});
  }
  c.clearClip();

  // Texts: title, band, path info, bottom line.
  TextStyle bold = text;
  bold.bold = true;
  // The header stands right of the window's command bar.
  const int hx = l.left + 200;
  c.text({hx, 4}, std::string(PROGRAM_TITLE) + "  " + p.projectName, bold);
  c.text({hx, 4 + ETC_TEXT_HEIGHT + 2}, ETC_TITLE, text);
  c.text({hx, 4 + 2 * (ETC_TEXT_HEIGHT + 2)}, ETC_BAND_NAMES[band], bold);
  int y = l.baseline + 2 * ETC_TEXT_HEIGHT + 12;
  for (const std::string& line : etcPathInfo(p)) {
    c.text({l.left, y}, line, text);
    y += ETC_TEXT_HEIGHT + 2;
  }
  const auto bottom = etcBottomLine(s, band);
  const int by = c.height() - ETC_TEXT_HEIGHT - 8;
  const int step = (l.right - l.left) / 3;
  for (int i = 0; i < 3; ++i) c.text({l.left + i * step, by}, bottom[i], bold);
}

}  // namespace tav
