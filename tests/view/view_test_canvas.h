// A Canvas that records what is drawn, for checking the drawing code
// without a window.
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"

namespace tav::test {

enum class OpKind { Line, Polyline, Polygon, Rectangle, FillRect, Text };

struct DrawOp {
  OpKind kind = OpKind::Line;
  int pen = 0;
  Brush brush;
  std::vector<PixelPoint> points;  // line: two points
  PixelRect rect;                  // rectangle, fillRect
  int fill = 0;                    // fillRect colour
  std::string text;
  TextStyle style;
};

class ViewTestCanvas : public Canvas {
 public:
  ViewTestCanvas(int w, int h) : w_(w), h_(h) {}
  int width() const override { return w_; }
  int height() const override { return h_; }
  void setPen(int colour) override { pen_ = colour; }
  void setBrush(const Brush& brush) override { brush_ = brush; }
  void setDrawMode(DrawMode mode) override { mode_ = mode; }
  void line(PixelPoint from, PixelPoint to) override { add(OpKind::Line, {from, to}); }
  void polyline(std::span<const PixelPoint> p) override {
    add(OpKind::Polyline, {p.begin(), p.end()});
  }
  void polygon(std::span<const PixelPoint> p) override {
    add(OpKind::Polygon, {p.begin(), p.end()});
  }
  void rectangle(const PixelRect& r) override {
    add(OpKind::Rectangle, {});
    ops.back().rect = r;
  }
  void fillRect(const PixelRect& r, int colour) override {
    add(OpKind::FillRect, {});
    ops.back().rect = r;
    ops.back().fill = colour;
  }
  void text(PixelPoint at, std::string_view utf8, const TextStyle& style) override {
    add(OpKind::Text, {at});
    ops.back().text = std::string(utf8);
    ops.back().style = style;
  }
  TextMetrics measureText(std::string_view utf8, int height, bool) const override {
    return {static_cast<int>(utf8.size()) * height / 2, height, height * 3 / 4};
  }
  void setClip(const PixelRect&) override {}
  void clearClip() override {}
  void drawImage(PixelPoint, const RgbImage&) override {}

  std::vector<DrawOp> ops;

  std::vector<DrawOp> ofKind(OpKind k) const {
    std::vector<DrawOp> out;
    for (const DrawOp& op : ops)
      if (op.kind == k) out.push_back(op);
    return out;
  }

 private:
  void add(OpKind k, std::vector<PixelPoint> pts) {
    DrawOp op;
    op.kind = k;
    op.pen = pen_;
    op.brush = brush_;
    op.points = std::move(pts);
    ops.push_back(std::move(op));
  }
  int w_, h_;
  int pen_ = 0;
  Brush brush_;
  DrawMode mode_ = DrawMode::Copy;
};

}  // namespace tav::test
