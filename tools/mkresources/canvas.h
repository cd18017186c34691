#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace mkres {

// A transparent image to paint on.
QImage blankImage(int width, int height);

// Smooth pictures are painted larger and reduced, which softens edges more evenly than anti-aliasing alone.
QImage reduce(const QImage& large, int width, int height);

// Lighter (factor > 1) or darker (factor < 1) version of a colour, keeping its alpha.
QColor shade(const QColor& c, double factor);
QColor mix(const QColor& a, const QColor& b, double t);

// A small generator of our own: its sequence is fixed for a seed on every platform and library,
// which the standard distributions do not promise.
class Rng
{
public:
    explicit Rng(std::uint64_t seed)
        : m_state(seed)
    {
    }
    std::uint64_t next();
    double uniform(double low, double high);
    int below(int n);

private:
    std::uint64_t m_state;
};

// Collects what the generator writes so that the resource list names exactly those files.
class Output
{
public:
    explicit Output(QString folder);
    bool savePng(const QImage& image, const QString& relativePath);
    bool saveBytes(const QByteArray& bytes, const QString& relativePath);
    bool writeQrc(const QString& fileName) const;
    bool ok() const { return m_ok; }

private:
    bool prepare(const QString& relativePath, QString& absolute);
    QString m_folder;
    QStringList m_files;
    bool m_ok = true;
};

}
