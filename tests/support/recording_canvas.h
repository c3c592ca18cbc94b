// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "render/canvas.h"

namespace dorvo::test {

/// One primitive as the pages drew it, with its device coordinates.
struct Drawn {
    enum class Kind { Line, Polyline, Polygon, Arc, Ellipse, Text, TextBox, Clip, Unclip };
    Kind kind = Kind::Line;
    std::vector<DevicePoint> points;  // line ends, polyline points, arc box corners + ends
    std::string text;
    int width = 0;
    Colour colour = 0;
    Fill fill = Fill::Solid;
    TextAlign align = TextAlign::TopLeft;
    FontRequest font;
};

/// A canvas that logs every primitive, for tests to check what is drawn where.
class RecordingCanvas : public Canvas {
  public:
    explicit RecordingCanvas(double dpi = 96.0) : dpi_(dpi) {}

    double dpiX() const override { return dpi_; }
    double dpiY() const override { return dpi_; }

    void drawLine(DevicePoint from, DevicePoint to, PenStyle, int width, Colour colour) override {
        if (width == 0) return;
        add(Drawn::Kind::Line, {from, to}, width, colour);
    }
    void drawPolyline(std::span<const DevicePoint> points, PenStyle, int width,
                      Colour colour) override {
        add(Drawn::Kind::Polyline, {points.begin(), points.end()}, width, colour);
    }
    void fillPolygons(std::span<const DevicePoint> points, std::span<const int>, Fill fill,
                      Colour colour) override {
        add(Drawn::Kind::Polygon, {points.begin(), points.end()}, 0, colour).fill = fill;
    }
    void drawArc(DeviceRect box, DevicePoint start, DevicePoint end, PenStyle, int width,
                 Colour colour) override {
        add(Drawn::Kind::Arc, {{box.left, box.top}, {box.right, box.bottom}, start, end}, width,
            colour);
    }
    void drawEllipse(DeviceRect box, PenStyle, int width, Colour colour) override {
        add(Drawn::Kind::Ellipse, {{box.left, box.top}, {box.right, box.bottom}}, width, colour);
    }
    void drawTextBox(DeviceRect rect, std::string_view utf8, Colour colour, int) override {
        add(Drawn::Kind::TextBox, {{rect.left, rect.top}, {rect.right, rect.bottom}}, 0, colour)
            .text = utf8;
    }
    void drawText(DevicePoint at, std::string_view utf8) override {
        Drawn& text = add(Drawn::Kind::Text, {at}, 0, font_.colour);
        text.text = utf8;
        text.align = align_;
        text.font = font_;
    }
    void setTextAlign(TextAlign align) override { align_ = align; }
    bool selectFont(const FontRequest& font) override {
        font_ = font;
        return true;
    }
    void clipToRect(DeviceRect rect) override {
        add(Drawn::Kind::Clip, {{rect.left, rect.top}, {rect.right, rect.bottom}}, 0, 0);
    }
    void removeClip() override { add(Drawn::Kind::Unclip, {}, 0, 0); }

    std::vector<Drawn> drawn;

    std::vector<Drawn> ofColour(Drawn::Kind kind, Colour colour) const {
        std::vector<Drawn> found;
        for (const Drawn& d : drawn) {
            if (d.kind == kind && d.colour == colour) found.push_back(d);
        }
        return found;
    }
    std::vector<Drawn> texts() const {
        std::vector<Drawn> found;
        for (const Drawn& d : drawn) {
            if (d.kind == Drawn::Kind::Text) found.push_back(d);
        }
        return found;
    }
    bool hasText(std::string_view text) const {
        for (const Drawn& d : drawn) {
            if (d.kind == Drawn::Kind::Text && d.text == text) return true;
        }
        return false;
    }

    /// One line per primitive with everything it was drawn with, bytes outside printable
    /// ASCII escaped, for comparing whole drawings.
    std::string transcript() const {
        std::string out;
        for (const Drawn& d : drawn) {
            out += std::to_string(static_cast<int>(d.kind));
            for (const DevicePoint& p : d.points) {
                out += " " + std::to_string(p.x) + "," + std::to_string(p.y);
            }
            out += " w" + std::to_string(d.width) + " c" + std::to_string(d.colour) + " f" +
                   std::to_string(static_cast<int>(d.fill));
            if (d.kind == Drawn::Kind::Text) {
                out += " a" + std::to_string(static_cast<int>(d.align)) + " [" +
                       escaped(d.font.face) + " " + std::to_string(d.font.heightPx) + " " +
                       std::to_string(d.font.colour) + "] \"" + escaped(d.text) + "\"";
            }
            out += "\n";
        }
        return out;
    }

  private:
    static std::string escaped(std::string_view bytes) {
        std::string out;
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte >= 0x20 && byte < 0x7f && c != '\\') {
                out.push_back(c);
            } else {
                char hex[5];
                std::snprintf(hex, sizeof hex, "\\x%02x", byte);
                out += hex;
            }
        }
        return out;
    }

    Drawn& add(Drawn::Kind kind, std::vector<DevicePoint> points, int width, Colour colour) {
        Drawn& entry = drawn.emplace_back();
        entry.kind = kind;
        entry.points = std::move(points);
        entry.width = width;
        entry.colour = colour;
        return entry;
    }

    double dpi_;
    TextAlign align_ = TextAlign::TopLeft;
    FontRequest font_;
};

}  // namespace dorvo::test
