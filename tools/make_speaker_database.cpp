// Writes the example loudspeaker database (third layout): generic types
// whose balloons come from physical radiation models, with Q and efficiency
// integrated from the balloon and a cabinet shape each.
//
// Usage: make_speaker_database OUTPUT.TSB
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "model/le_io.h"
#include "speakers/directivity.h"
#include "speakers/speaker_database.h"
#include "speakers/speaker_shape.h"

using namespace tav;

namespace {

constexpr double PI = 3.141592653589793;
constexpr double RHO_C = 415.0;  // characteristic impedance of air, Pa s/m
constexpr double P_REF = 2e-5;   // Pa

double waveNumber(int band) { return 2 * PI * BAND_FREQUENCIES[band] / SPEED_OF_SOUND; }

// Far field of a rigid circular piston in a baffle: 2 J1(u) / u.
double piston(double ka, double sinTheta) {
  const double u = ka * sinTheta;
  if (std::fabs(u) < 1e-6) return 1.0;
  return std::fabs(2.0 * std::cyl_bessel_j(1.0, std::fabs(u)) / u);
}

// A closed cabinet shadows the rear more as the wavelength shrinks.
double cabinetShadow(double ka, double cosTheta) {
  const double w = ka / (1.0 + ka);
  return (1.0 - w) + w * (1.0 + cosTheta) / 2.0;
}

// Pressure magnitude in a direction (unit vector in the local frame).
using Pattern = std::function<double(int band, const Vec3d& dir)>;

Pattern pulsatingSphere() {
  return [](int, const Vec3d&) { return 1.0; };
}

Pattern boxedPiston(double diameter) {
  return [diameter](int band, const Vec3d& d) {
    const double ka = waveNumber(band) * diameter / 2;
    const double sinT = std::sqrt(d.y * d.y + d.z * d.z);
    return piston(ka, sinT) * cabinetShadow(ka, d.x);
  };
}

// A constant-directivity horn: the nominal -6 dB angles hold while the mouth
// (width x height) is large enough for the wavelength; below that the
// pattern widens as that of an aperture of the mouth's size. Level falls as
// -6 (theta / theta6)^2 dB down to a rear floor that deepens with frequency.
Pattern constantDirectivityHorn(double hDeg, double vDeg, double width, double height) {
  return [=](int band, const Vec3d& d) {
    const double lambda = SPEED_OF_SOUND / BAND_FREQUENCIES[band];
    auto half = [lambda](double nominalDeg, double mouth) {
      const double aperture = std::asin(std::min(1.0, 0.60 * lambda / mouth));
      return std::max(nominalDeg * PI / 360.0, aperture);
    };
    const double th = half(hDeg, width), tv = half(vDeg, height);
    const double theta = std::acos(std::clamp(d.x, -1.0, 1.0));
    const double rho = std::sqrt(d.y * d.y + d.z * d.z);
    const double c = rho > 0 ? d.y / rho : 1.0, s = rho > 0 ? d.z / rho : 0.0;
    const double t6 = 1.0 / std::sqrt(c * c / (th * th) + s * s / (tv * tv));
    const double floorDb = -std::min(35.0, 12.0 + 4.0 * band);
    const double db = std::max(-6.0 * (theta / t6) * (theta / t6), floorDb);
    return std::pow(10.0, db / 20.0);
  };
}

// N pistons stacked vertically at spacing d: driver pattern x array factor.
Pattern column(int n, double spacing, double driverDiameter) {
  return [=](int band, const Vec3d& d) {
    const double k = waveNumber(band);
    const double psi = k * spacing * d.z / 2.0;
    const double af =
        std::fabs(std::sin(psi)) < 1e-9 ? 1.0 : std::fabs(std::sin(n * psi) / (n * std::sin(psi)));
    return boxedPiston(driverDiameter)(band, d) * af;
  };
}

// Two monopoles `spacing` apart on the axis; the rear one delayed by the
// travel time and inverted: a cardioid in the bands the subwoofer plays,
// a large boxed piston above them.
Pattern cardioidSub(double spacing, double driverDiameter) {
  return [=](int band, const Vec3d& d) {
    if (band > 1) return boxedPiston(driverDiameter)(band, d);
    const double kd = waveNumber(band) * spacing;
    return std::abs(1.0 - std::polar(1.0, -kd * (1.0 + d.x)));
  };
}

// --- shapes ---------------------------------------------------------------

struct ShapeParts {
  std::vector<Node> nodes;
  std::vector<IndexEntry> entries;

  void face(const std::vector<Node>& corners) {
    const auto base = static_cast<std::uint16_t>(nodes.size());
    nodes.insert(nodes.end(), corners.begin(), corners.end());
    for (std::size_t i = 0; i < corners.size(); ++i) {
      const std::uint16_t code =
          i == 0 ? IDX_START : (i + 1 == corners.size() ? IDX_CLOSE : IDX_LINE);
      entries.push_back({code, static_cast<std::uint16_t>(base + i)});
      if (i == 0) entries.push_back({IDX_MATERIAL, 0});
    }
  }
  // A box from (x0,y0,z0) to (x1,y1,z1), faces counter-clockwise from outside.
  void box(float x0, float x1, float y0, float y1, float z0, float z1) {
    face({{x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}, {x1, y0, z0}});
    face({{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}});
    face({{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}});
    face({{x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}});
    face({{x1, y1, z0}, {x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1}});
    face({{x0, y1, z0}, {x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}});
  }
  // A circle in the plane x = const, facing +x.
  void circle(float x, float yc, float zc, float r, int n = 36) {
    std::vector<Node> c;
    for (int i = 0; i < n; ++i) {
      const double a = 2 * PI * i / n;
      c.push_back(
          {x, static_cast<float>(yc + r * std::cos(a)), static_cast<float>(zc + r * std::sin(a))});
    }
    face(c);
  }
  // A regular dodecahedron of circumradius r about the origin.
  void dodecahedron(double r) {
    const double g = (1 + std::sqrt(5.0)) / 2;
    std::vector<Vec3d> v;
    for (int i = 0; i < 8; ++i)
      v.push_back({i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.0 : -1.0});
    for (int i = 0; i < 4; ++i) {
      const double a = i & 1 ? 1 / g : -1 / g, b = i & 2 ? g : -g;
      v.push_back({0, a, b});
      v.push_back({a, b, 0});
      v.push_back({b, 0, a});
    }
    const double scale = r / std::sqrt(3.0);
    // Face normals point at the vertices of the dual icosahedron.
    std::vector<Vec3d> normals;
    for (int i = 0; i < 4; ++i) {
      const double a = i & 1 ? 1.0 : -1.0, b = i & 2 ? g : -g;
      normals.push_back({0, a, b});
      normals.push_back({a, b, 0});
      normals.push_back({b, 0, a});
    }
    for (const Vec3d& n : normals) {
      std::vector<Vec3d> ring;
      double best = -1e9;
      for (const Vec3d& p : v) best = std::max(best, dot(p, n));
      for (const Vec3d& p : v)
        if (dot(p, n) > best - 1e-6) ring.push_back(p);
      // Order counter-clockwise seen from outside (along the normal).
      Vec3d centre{};
      for (const Vec3d& p : ring) centre += p * (1.0 / ring.size());
      const Vec3d u = ring[0] - centre;
      const Vec3d w = cross(n, u);
      std::sort(ring.begin(), ring.end(), [&](const Vec3d& a, const Vec3d& b) {
        return std::atan2(dot(a - centre, w), dot(a - centre, u)) <
               std::atan2(dot(b - centre, w), dot(b - centre, u));
      });
      std::vector<Node> corners;
      for (const Vec3d& p : ring) corners.push_back(toNode(p * scale));
      face(corners);
    }
  }
};

// --- types ----------------------------------------------------------------

struct Model {
  const char* name;
  const char* description;
  std::array<float, BAND_COUNT> sensitivity;
  std::array<float, BAND_COUNT> maxPower;
  Pattern pattern;
  ShapeParts shape;
};

void setText(char* field, std::size_t width, const char* text) {
  std::memset(field, 0, width);
  std::strncpy(field, text, width - 1);
}

SpeakerType makeType(const Model& m) {
  SpeakerType t;
  setText(t.brand, sizeof t.brand, "GENERIC");
  setText(t.name, sizeof t.name, m.name);
  setText(t.description, sizeof t.description, m.description);
  t.sensitivity = m.sensitivity;
  t.maxPower = m.maxPower;
  // Record key: bytes 470..489, derived from the name so the file is reproducible.
  std::uint32_t h = 2166136261u;
  for (const char* p = m.name; *p; ++p) h = (h ^ std::uint8_t(*p)) * 16777619u;
  for (int i = 0; i < 20; ++i) {
    h = h * 1103515245u + 12345u;
    t.tail[8 + i] = static_cast<std::uint8_t>(h >> 16);
  }
  for (int b = 0; b < BAND_COUNT; ++b) {
    const double axis = m.pattern(b, {1, 0, 0});
    for (int r = 0; r < DIRECTIVITY_ROWS; ++r) {
      const double theta = r * 5.0 * PI / 180.0;
      for (int c = 0; c < DIRECTIVITY_COLUMNS; ++c) {
        const double phi = c * 5.0 * PI / 180.0;
        const Vec3d dir{std::cos(theta), std::sin(theta) * std::cos(phi),
                        std::sin(theta) * std::sin(phi)};
        const double p = m.pattern(b, dir) / axis;
        t.grids[b].at(r, c) = directivityCodeFromDb(p > 0 ? 20.0 * std::log10(p) : -1000.0);
      }
    }
    // Of the stored balloon, so that Q and efficiency agree with what the
    // calculations will look up.
    const double integral = balloonEnergyIntegral(t.grids[b]);
    const double q = 4 * PI / integral;
    t.directivityFactor[b] = static_cast<std::uint16_t>(std::lround(q * 10));
    // Acoustic power for 1 W: on-axis intensity at 1 m times the balloon's
    // integral (the area of the unit sphere weighted by the directivity).
    const double intensity = P_REF * P_REF * std::pow(10.0, m.sensitivity[b] / 10.0) / RHO_C;
    const double efficiency = m.maxPower[b] > 0 ? intensity * integral : 0.0;
    t.efficiency[b] = static_cast<std::uint16_t>(std::lround(std::min(1.0, efficiency) * 1000));
  }
  return t;
}

std::vector<Model> models() {
  std::vector<Model> list;
  auto pistonBox = [](float depth, float width, float height, float diameter) {
    ShapeParts s;
    s.box(-depth / 2, depth / 2, -width / 2, width / 2, -height / 2, height / 2);
    s.circle(depth / 2 + 0.002f, 0, 0, diameter / 2);
    return s;
  };
  {
    ShapeParts s;
    s.dodecahedron(0.22);
    list.push_back({"OMNI12",
                    "Dodecahedron, omnidirectional",
                    {86, 89, 90, 90, 90, 89, 87},
                    {60, 100, 120, 120, 100, 60, 30},
                    pulsatingSphere(),
                    s});
  }
  list.push_back({"PISTON4",
                  "Full range 4 in. cone, closed box",
                  {76, 82, 86, 87, 87, 86, 84},
                  {5, 15, 25, 25, 20, 15, 10},
                  boxedPiston(0.10),
                  pistonBox(0.16f, 0.14f, 0.22f, 0.10f)});
  list.push_back({"PISTON8",
                  "Full range 8 in. cone, closed box",
                  {86, 90, 91, 91, 90, 88, 84},
                  {40, 60, 80, 80, 60, 40, 20},
                  boxedPiston(0.20),
                  pistonBox(0.25f, 0.28f, 0.40f, 0.20f)});
  list.push_back({"PISTON12",
                  "12 in. cone, closed box",
                  {93, 96, 97, 97, 95, 92, 88},
                  {150, 200, 200, 150, 100, 60, 30},
                  boxedPiston(0.30),
                  pistonBox(0.38f, 0.40f, 0.60f, 0.30f)});
  auto hornBox = [](float mouthW, float mouthH) {
    ShapeParts s;
    s.box(-0.25f, 0.25f, -0.23f, 0.23f, -0.38f, 0.38f);
    const float x = 0.252f;
    s.face({{x, -mouthW / 2, 0.36f - mouthH},
            {x, mouthW / 2, 0.36f - mouthH},
            {x, mouthW / 2, 0.36f},
            {x, -mouthW / 2, 0.36f}});
    s.circle(x, 0, -0.18f, 0.15f);
    return s;
  };
  list.push_back({"CD9040",
                  "Two-way, CD horn 90 x 40 deg",
                  {94, 97, 100, 104, 107, 107, 105},
                  {200, 250, 200, 120, 60, 40, 20},
                  constantDirectivityHorn(90, 40, 0.42, 0.26),
                  hornBox(0.42f, 0.26f)});
  list.push_back({"CD6040",
                  "Two-way, CD horn 60 x 40 deg",
                  {95, 98, 102, 106, 109, 110, 108},
                  {200, 250, 200, 120, 60, 40, 20},
                  constantDirectivityHorn(60, 40, 0.44, 0.30),
                  hornBox(0.44f, 0.30f)});
  {
    ShapeParts s;
    s.box(-0.07f, 0.07f, -0.07f, 0.07f, -0.50f, 0.50f);
    for (int i = 0; i < 8; ++i)
      s.circle(0.072f, 0, static_cast<float>((i - 3.5) * 0.12), 0.05f, 24);
    list.push_back({"COLUMN8",
                    "Column, 8 x 4 in. drivers, 0.96 m",
                    {84, 88, 92, 95, 96, 95, 92},
                    {40, 80, 100, 100, 80, 60, 40},
                    column(8, 0.12, 0.10),
                    s});
  }
  {
    ShapeParts s;
    s.box(-0.45f, 0.30f, -0.30f, 0.30f, -0.35f, 0.35f);
    s.circle(0.302f, 0, 0, 0.22f);
    list.push_back({"SUBCARD",
                    "Cardioid subwoofer, 2 x 18 in. end-fire",
                    {100, 98, 80, 70, 60, 50, 40},
                    {1200, 800, 0, 0, 0, 0, 0},
                    cardioidSub(0.34, 0.45),
                    s});
  }
  return list;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.TSB\n", argv[0]);
    return 1;
  }
  std::vector<Model> list = models();
  std::vector<std::unique_ptr<ModelObject>> shapes;
  std::vector<DatabaseTypeSource> sources;
  for (Model& m : list) {
    shapes.push_back(makeSpeakerShape(m.shape.nodes, m.shape.entries));
    sources.push_back({makeType(m), shapes.back().get()});
  }
  if (!writeSpeakerDatabase(argv[1], sources)) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 2;
  }
  for (const DatabaseTypeSource& s : sources)
    std::fprintf(stderr, "%-8s Q(1k) %.1f  eff(1k) %u per mille\n", s.type.name,
                 s.type.directivityFactor[3] / 10.0, s.type.efficiency[3]);
  return 0;
}
