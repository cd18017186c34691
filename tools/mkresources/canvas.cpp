#include "canvas.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace mkres {

QImage blankImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage reduce(const QImage& large, int width, int height)
{
    return large.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

QColor shade(const QColor& c, double factor)
{
    auto channel = [factor](int v) {
        const double x = factor >= 1.0 ? v + (255 - v) * (factor - 1.0) : v * factor;
        return qBound(0, qRound(x), 255);
    };
    return QColor(channel(c.red()), channel(c.green()), channel(c.blue()), c.alpha());
}

QColor mix(const QColor& a, const QColor& b, double t)
{
    auto lerp = [t](int x, int y) { return qRound(x + (y - x) * t); };
    return QColor(
        lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()), lerp(a.alpha(), b.alpha()));
}

std::uint64_t Rng::next()
{
    // splitmix64
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Rng::uniform(double low, double high)
{
    return low + (high - low) * static_cast<double>(next() >> 11) / 9007199254740992.0;
}

int Rng::below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

Output::Output(QString folder)
    : m_folder(std::move(folder))
{
}

bool Output::prepare(const QString& relativePath, QString& absolute)
{
    absolute = QDir(m_folder).filePath(relativePath);
    if (!QDir().mkpath(QFileInfo(absolute).absolutePath())) {
        m_ok = false;
        return false;
    }
    m_files.append(relativePath);
    return true;
}

bool Output::savePng(const QImage& image, const QString& relativePath)
{
    QString absolute;
    if (!prepare(relativePath, absolute) || !image.save(absolute, "PNG")) {
        m_ok = false;
        return false;
    }
    return true;
}

bool Output::saveBytes(const QByteArray& bytes, const QString& relativePath)
{
    QString absolute;
    if (!prepare(relativePath, absolute))
        return false;
    QSaveFile file(absolute);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        m_ok = false;
        return false;
    }
    return true;
}

bool Output::writeQrc(const QString& fileName) const
{
    QByteArray text = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const QString& file : m_files)
        text += "    <file>" + file.toUtf8() + "</file>\n";
    text += "</qresource>\n</RCC>\n";
    QSaveFile out(QDir(m_folder).filePath(fileName));
    return out.open(QIODevice::WriteOnly) && out.write(text) == text.size() && out.commit();
}

}
