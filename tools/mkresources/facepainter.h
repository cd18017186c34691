#pragma once

// Shared by the files that paint a face; not used elsewhere.
#include <QPainter>
#include <QPainterPath>

#include "canvas.h"
#include "facespec.h"

namespace mkres::facedraw {

// Every face is laid out on a 96-unit square whatever the output size.
constexpr double unit = 96.0;
constexpr double cx = 48.0;
constexpr double outlineWidth = 1.3;

struct Geometry
{
    double cy, rx, ry, jaw;
    double eyeY, eyeDx, eyeRx, eyeRy;
    double noseY, mouthY, mouthW;
    double shoulderY, shoulderHalf;
};

Geometry geometryFor(Age age);

inline QPainterPath ellipse(double x, double y, double rx, double ry)
{
    QPainterPath p;
    p.addEllipse(QPointF(x, y), rx, ry);
    return p;
}

inline QPainterPath rect(double x, double y, double w, double h, double radius = 0)
{
    QPainterPath p;
    if (radius > 0)
        p.addRoundedRect(QRectF(x, y, w, h), radius, radius);
    else
        p.addRect(QRectF(x, y, w, h));
    return p;
}

inline QPainterPath above(double y) { return rect(-50, -50, unit + 100, y + 50); }

inline QPainterPath below(double y) { return rect(-50, y, unit + 100, unit + 100); }

class FacePainter
{
public:
    FacePainter(QPainter& p, const FaceSpec& s)
        : m_p(p)
        , m_s(s)
        , m_g(geometryFor(s.age))
    {
    }

    void paint();

private:
    void fill(const QPainterPath& path, const QColor& colour, double outlineFactor = 0.62)
    {
        m_p.setPen(QPen(shade(colour, outlineFactor), outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        m_p.setBrush(colour);
        m_p.drawPath(path);
    }
    void stroke(const QPainterPath& path, const QColor& colour, double width)
    {
        m_p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        m_p.setBrush(Qt::NoBrush);
        m_p.drawPath(path);
    }

    QPainterPath head() const;
    QPainterPath hairWindow() const;
    QPainterPath hairCap(double grow = 3.0) const;
    QPainterPath bumps(
        double ecx, double ecy, double erx, double ery, double r, double from, double to, int count) const;

    void backdrop();
    void hairBack();
    void body();
    void ears();
    void face();
    void eyes();
    void mouth();
    void beard();
    void hairFront();
    void glasses();
    void hat();

    QColor skin() const { return QColor(m_s.skin); }
    QColor hairColour() const { return QColor(m_s.hairColour); }
    double top() const { return m_g.cy - m_g.ry; }

    QPainter& m_p;
    const FaceSpec& m_s;
    Geometry m_g;
};

}
