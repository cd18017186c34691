#pragma once

// The chart of a try: the model's pitch and the learner's on the model's time axis, each in semitones from its
// speaker's own middle, with the stretch said least alike shaded.

#include <vector>

#include <QWidget>

#include "games/speak/speechcompare.h"

namespace games {

class PitchCurves : public QWidget
{
    Q_OBJECT
public:
    explicit PitchCurves(QWidget* parent = nullptr);

    void setLegend(const QString& model, const QString& learner);
    void showComparison(const SpeechComparison& comparison);
    void clear();
    bool empty() const { return m_points.empty(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    QSize sizeHint() const override { return { 520, 150 }; }
    QSize minimumSizeHint() const override { return { 300, 90 }; }

private:
    std::vector<SpeechPitchPoint> m_points;
    qint64 m_worstFromMs = 0;
    qint64 m_worstToMs = 0;
    QString m_model;
    QString m_learner;
};

}
