// Small value types shared by every subsystem: 2D vectors, angles, rectangles
// and colours. Positions are logical screen pixels with y growing downwards,
// so an angle of 90 degrees points down the screen. Angles are held in
// radians; data and pattern parameters give degrees.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace sdk {

inline constexpr float pi = 3.14159265358979323846f;

enum class Angle_Unit { degrees, radians };

class Angle {
public:
    constexpr Angle() = default;
    constexpr Angle(float value, Angle_Unit unit)
        : radians_(unit == Angle_Unit::degrees ? value * (pi / 180.0f) : value) {}

    static constexpr Angle from_degrees(float d) { return Angle(d, Angle_Unit::degrees); }
    static constexpr Angle from_radians(float r) { return Angle(r, Angle_Unit::radians); }

    constexpr float to_radians() const { return radians_; }
    constexpr float to_degrees() const { return radians_ * (180.0f / pi); }
    void set_degrees(float d) { radians_ = d * (pi / 180.0f); }
    void set_radians(float r) { radians_ = r; }

    // Brought into [0, 360) degrees.
    Angle& normalize() {
        float two_pi = 2.0f * pi;
        radians_ = std::fmod(radians_, two_pi);
        if (radians_ < 0) radians_ += two_pi;
        return *this;
    }

    constexpr Angle operator+(Angle o) const { return from_radians(radians_ + o.radians_); }
    constexpr Angle operator-(Angle o) const { return from_radians(radians_ - o.radians_); }
    constexpr Angle operator-() const { return from_radians(-radians_); }
    constexpr Angle operator*(float f) const { return from_radians(radians_ * f); }
    Angle& operator+=(Angle o) { radians_ += o.radians_; return *this; }
    Angle& operator-=(Angle o) { radians_ -= o.radians_; return *this; }
    constexpr bool operator==(const Angle&) const = default;

private:
    float radians_ = 0.0f;
};

struct Vec2f {
    float x = 0.0f;
    float y = 0.0f;

    constexpr Vec2f() = default;
    constexpr Vec2f(float x_, float y_) : x(x_), y(y_) {}

    constexpr Vec2f operator+(Vec2f o) const { return {x + o.x, y + o.y}; }
    constexpr Vec2f operator-(Vec2f o) const { return {x - o.x, y - o.y}; }
    constexpr Vec2f operator*(float f) const { return {x * f, y * f}; }
    constexpr Vec2f operator/(float f) const { return {x / f, y / f}; }
    constexpr Vec2f operator-() const { return {-x, -y}; }
    Vec2f& operator+=(Vec2f o) { x += o.x; y += o.y; return *this; }
    Vec2f& operator-=(Vec2f o) { x -= o.x; y -= o.y; return *this; }
    Vec2f& operator*=(float f) { x *= f; y *= f; return *this; }
    constexpr bool operator==(const Vec2f&) const = default;

    float length() const { return std::sqrt(x * x + y * y); }
    constexpr float dot(Vec2f o) const { return x * o.x + y * o.y; }
    float distance(Vec2f o) const { return (*this - o).length(); }
    // Scales to length 1; a zero vector stays zero.
    Vec2f& normalize() {
        float l = length();
        if (l > 0) { x /= l; y /= l; }
        return *this;
    }
    Vec2f normalized() const { Vec2f v = *this; return v.normalize(); }
    // The unsigned angle between this vector and `o`, 0 to 180 degrees.
    Angle angle(Vec2f o) const {
        float l = length() * o.length();
        if (l <= 0) return Angle();
        float c = std::clamp(dot(o) / l, -1.0f, 1.0f);
        return Angle::from_radians(std::acos(c));
    }
    // Rotates about `origin` by `a` (positive turns clockwise on screen,
    // since y grows downwards).
    Vec2f& rotate(Vec2f origin, Angle a) {
        float c = std::cos(a.to_radians()), s = std::sin(a.to_radians());
        float dx = x - origin.x, dy = y - origin.y;
        x = origin.x + dx * c - dy * s;
        y = origin.y + dx * s + dy * c;
        return *this;
    }
};

using Pointf = Vec2f;

struct Point {
    int x = 0;
    int y = 0;
    constexpr bool operator==(const Point&) const = default;
};

struct Sizef {
    float width = 0.0f;
    float height = 0.0f;
    constexpr bool operator==(const Sizef&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    constexpr bool operator==(const Size&) const = default;
};

// Edges: left and top inside, right and bottom outside.
struct Rectf {
    float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;

    constexpr Rectf() = default;
    constexpr Rectf(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}

    constexpr float get_width() const { return right - left; }
    constexpr float get_height() const { return bottom - top; }
    constexpr bool contains(Vec2f p) const {
        return p.x >= left && p.y >= top && p.x < right && p.y < bottom;
    }
    constexpr bool operator==(const Rectf&) const = default;
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;

    constexpr Rect() = default;
    constexpr Rect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}

    constexpr int get_width() const { return right - left; }
    constexpr int get_height() const { return bottom - top; }
    constexpr bool contains(Point p) const {
        return p.x >= left && p.y >= top && p.x < right && p.y < bottom;
    }
    constexpr bool operator==(const Rect&) const = default;
};

// Colour with float channels 0..1.
struct Colorf {
    float r = 1.0f, g = 1.0f, b = 1.0f, a = 1.0f;

    constexpr Colorf() = default;
    constexpr Colorf(float r_, float g_, float b_, float a_ = 1.0f) : r(r_), g(g_), b(b_), a(a_) {}
    constexpr bool operator==(const Colorf&) const = default;

    static constexpr Colorf white() { return {1, 1, 1, 1}; }
    static constexpr Colorf black() { return {0, 0, 0, 1}; }
    static constexpr Colorf transparent() { return {0, 0, 0, 0}; }
};

// Colour with byte channels 0..255.
struct Color {
    uint8_t r = 255, g = 255, b = 255, a = 255;

    constexpr Color() = default;
    constexpr Color(uint8_t r_, uint8_t g_, uint8_t b_, uint8_t a_ = 255) : r(r_), g(g_), b(b_), a(a_) {}
    explicit Color(const Colorf& c)
        : r(to_byte(c.r)), g(to_byte(c.g)), b(to_byte(c.b)), a(to_byte(c.a)) {}
    constexpr bool operator==(const Color&) const = default;

    Colorf to_colorf() const { return {r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f}; }

private:
    static uint8_t to_byte(float v) {
        return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
    }
};

}  // namespace sdk
