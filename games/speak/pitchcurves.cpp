#include "pitchcurves.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPath>

namespace games {

namespace {
    // An octave up and down from the speaker's middle holds any phrase's melody.
    constexpr float Semitones = 12.f;
    const QColor ModelColour(0x2f, 0x7f, 0xd1);
    const QColor LearnerColour(0xe0, 0x76, 0x1c);
}

PitchCurves::PitchCurves(QWidget* parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PitchCurves::setLegend(const QString& model, const QString& learner)
{
    m_model = model;
    m_learner = learner;
    update();
}

void PitchCurves::showComparison(const SpeechComparison& comparison)
{
    m_points = comparison.pitch;
    m_worstFromMs = comparison.worstFromMs;
    m_worstToMs = comparison.worstToMs;
    update();
}

void PitchCurves::clear()
{
    m_points.clear();
    update();
}

void PitchCurves::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(1, 1, -1, -1);
    p.setPen(QPen(QColor(0xe3, 0xe7, 0xee), 1));
    p.setBrush(QColor(0xfa, 0xfb, 0xfd));
    p.drawRoundedRect(frame, 6, 6);
    if (m_points.size() < 2)
        return;

    const QFontMetrics metrics(font());
    const QRectF area = frame.adjusted(12, metrics.height() + 10, -12, -10);
    const double first = double(m_points.front().ms);
    const double span = std::max(1.0, double(m_points.back().ms) - first);
    const auto x = [&](double ms) { return area.left() + (ms - first) / span * area.width(); };
    const auto y = [&](float note) {
        return area.center().y() - double(std::clamp(note, -Semitones, Semitones)) / Semitones * area.height() / 2;
    };

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xe0, 0x8a, 150));
    p.drawRect(QRectF(QPointF(x(double(m_worstFromMs)), area.top()), QPointF(x(double(m_worstToMs)), area.bottom())));
    p.setPen(QPen(QColor(0xe3, 0xe7, 0xee), 1, Qt::DashLine));
    p.drawLine(QPointF(area.left(), area.center().y()), QPointF(area.right(), area.center().y()));

    // Each curve is broken where its voice is silent or unvoiced.
    const auto curve = [&](float SpeechPitchPoint::*note, const QColor& colour) {
        QPainterPath path;
        bool drawing = false;
        for (const SpeechPitchPoint& point : m_points) {
            const float value = point.*note;
            if (std::isnan(value)) {
                drawing = false;
                continue;
            }
            const QPointF at(x(double(point.ms)), y(value));
            if (drawing)
                path.lineTo(at);
            else
                path.moveTo(at);
            drawing = true;
        }
        p.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    };
    curve(&SpeechPitchPoint::reference, ModelColour);
    curve(&SpeechPitchPoint::learner, LearnerColour);

    double left = frame.left() + 12;
    const double base = frame.top() + 6 + metrics.ascent();
    for (const auto& [label, colour] : { std::pair { m_model, ModelColour }, std::pair { m_learner, LearnerColour } }) {
        p.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(left, base - metrics.ascent() / 2.5), QPointF(left + 18, base - metrics.ascent() / 2.5));
        p.setPen(QColor(0x44, 0x4b, 0x57));
        p.drawText(QPointF(left + 24, base), label);
        left += 24 + metrics.horizontalAdvance(label) + 20;
    }
}

}
