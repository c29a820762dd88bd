#pragma once

// Lengths of the report layout. Templates place objects in report pixels
// (96 per inch), paper and margins are given in millimetres and font sizes
// as pixel heights; every conversion between them lives here.
class Length
{
public:
    static constexpr double PixelsPerInch = 96.0;
    static constexpr double MillimetresPerInch = 25.4;
    static constexpr double PointsPerInch = 72.0;

    constexpr Length() = default;
    static constexpr Length px(double pixels) { return Length(pixels); }
    static constexpr Length mm(double millimetres) { return Length(millimetres * PixelsPerInch / MillimetresPerInch); }
    static constexpr Length pt(double points) { return Length(points * PixelsPerInch / PointsPerInch); }

    constexpr double toPx() const { return m_px; }
    constexpr double toMm() const { return m_px * MillimetresPerInch / PixelsPerInch; }
    constexpr double toPt() const { return m_px * PointsPerInch / PixelsPerInch; }
    // Device units of a device with `dpi` dots per inch.
    constexpr double toDevice(double dpi) const { return m_px * dpi / PixelsPerInch; }

    constexpr Length operator+(Length other) const { return Length(m_px + other.m_px); }
    constexpr Length operator-(Length other) const { return Length(m_px - other.m_px); }
    constexpr Length operator*(double factor) const { return Length(m_px * factor); }
    constexpr bool operator<(Length other) const { return m_px < other.m_px; }

private:
    constexpr explicit Length(double pixels) : m_px(pixels) {}
    double m_px = 0.0;
};

// Shorthands for templates written in report pixels or millimetres.
constexpr double mmToPx(double millimetres) { return Length::mm(millimetres).toPx(); }
constexpr double pxToMm(double pixels) { return Length::px(pixels).toMm(); }
constexpr double pxToPt(double pixels) { return Length::px(pixels).toPt(); }
