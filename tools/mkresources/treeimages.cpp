#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

#include "canvas.h"
#include "pictures.h"

namespace mkres {

namespace {

    // Outlines run along pixel centres (x.5) so that at 16 pixels they stay one sharp pixel wide.
    struct Ink
    {
        QColor fill, light, line;
    };

    const Ink fixedFolder { QColor(0xF6C343), QColor(0xFDDF80), QColor(0x9C6B12) };
    const Ink virtualFolder { QColor(0x5DA3E6), QColor(0x98C8F4), QColor(0x1F5A99) };
    const Ink installedBook { QColor(0xD9443F), QColor(0xF07A72), QColor(0x85201C) };
    const Ink virtualBook { QColor(0x8E58C8), QColor(0xB890E6), QColor(0x4E2580) };
    const Ink subjectBook { QColor(0x2E9C8E), QColor(0x6CC8BA), QColor(0x175E55) };
    const Ink brokenBook { QColor(0xA8A8A8), QColor(0xCFCFCF), QColor(0x5E5E5E) };
    const QColor paper(0xFFFDF6);
    const QColor paperLine(0x9A9486);

    void begin(QPainter& p, int scale)
    {
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
    }

    void shape(QPainter& p, const QPainterPath& path, const QColor& fill, const QColor& line)
    {
        p.setPen(QPen(line, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(fill);
        p.drawPath(path);
    }

    void line(QPainter& p, QPointF a, QPointF b, const QColor& colour, double width = 1.0)
    {
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(a, b);
    }

    QPainterPath poly(std::initializer_list<QPointF> points)
    {
        QPainterPath path;
        path.addPolygon(QPolygonF(QList<QPointF>(points)));
        path.closeSubpath();
        return path;
    }

    QPainterPath box(double x0, double y0, double x1, double y1)
    {
        return poly({ { x0, y0 }, { x1, y0 }, { x1, y1 }, { x0, y1 } });
    }

    void folder(QPainter& p, const Ink& ink, bool open)
    {
        const QPainterPath back
            = poly({ { 0.5, 13.5 }, { 0.5, 2.5 }, { 5.5, 2.5 }, { 6.5, 3.5 }, { 14.5, 3.5 }, { 14.5, 13.5 } });
        if (!open) {
            shape(p, back, ink.fill, ink.line);
            line(p, { 1, 5.5 }, { 14, 5.5 }, ink.light);
            line(p, { 1, 4.5 }, { 14, 4.5 }, shade(ink.fill, 0.85));
            return;
        }
        shape(p, back, shade(ink.fill, 0.82), ink.line);
        shape(p, box(2.5, 4.5, 12.5, 9.5), paper, paperLine);
        line(p, { 4, 6.5 }, { 11, 6.5 }, QColor(0xC9C3B4));
        shape(p, poly({ { 0.5, 13.5 }, { 3.5, 7.5 }, { 15.5, 7.5 }, { 12.5, 13.5 } }), ink.light, ink.line);
    }

    void star(QPainter& p, QPointF c, double outer, const QColor& fill, const QColor& line)
    {
        QPolygonF s;
        for (int i = 0; i < 10; ++i) {
            const double r = i % 2 ? outer * 0.45 : outer;
            const double a = -M_PI / 2 + i * M_PI / 5;
            s << c + QPointF(r * std::cos(a), r * std::sin(a));
        }
        p.setPen(QPen(line, 0.6));
        p.setBrush(fill);
        p.drawPolygon(s);
    }

    void closedBook(QPainter& p, const Ink& ink, bool withStar)
    {
        // page block showing on the right and at the bottom, cover in front of it
        shape(p, box(4.5, 2.5, 13.5, 14.5), paper, paperLine);
        line(p, { 5, 13.5 }, { 13, 13.5 }, QColor(0xD8D2C2));
        shape(p, box(2.5, 1.5, 12.5, 13.5), ink.fill, ink.line);
        line(p, { 4.5, 2 }, { 4.5, 13 }, shade(ink.fill, 0.75));
        line(p, { 3.5, 2 }, { 3.5, 13 }, ink.light);
        if (withStar)
            star(p, { 8.5, 7.0 }, 3.6, QColor(0xFFD23F), QColor(0xB07D00));
        else
            shape(p, box(6.5, 4.5, 10.5, 6.5), ink.light, shade(ink.fill, 0.75));
    }

    void openBook(QPainter& p, const Ink& ink, bool withStar)
    {
        shape(p, poly({ { 0.5, 4.5 }, { 8, 5.5 }, { 15.5, 4.5 }, { 15.5, 14.5 }, { 8, 15.5 }, { 0.5, 14.5 } }),
            ink.fill, ink.line);
        shape(p, poly({ { 1.5, 2.5 }, { 7.5, 3.5 }, { 7.5, 13.5 }, { 1.5, 12.5 } }), paper, paperLine);
        shape(p, poly({ { 14.5, 2.5 }, { 8.5, 3.5 }, { 8.5, 13.5 }, { 14.5, 12.5 } }), paper, paperLine);
        const QColor text = withStar ? ink.light : QColor(0xB9B3A3);
        for (int i = 0; i < 3; ++i) {
            const double y = 6.5 + 2 * i;
            line(p, { 3, y - 0.3 }, { 6.5, y + 0.2 }, text);
            if (!withStar)
                line(p, { 9.5, y + 0.2 }, { 13, y - 0.3 }, text);
        }
        if (withStar)
            star(p, { 11.5, 8.0 }, 3.3, QColor(0xFFD23F), QColor(0xB07D00));
    }

    void bubble(QPainter& p, const QColor& fill, const QColor& lineColour)
    {
        QPainterPath b;
        b.addRoundedRect(QRectF(0.5, 1.5, 15, 10), 3, 3);
        b = b.united(poly({ { 3.5, 10.5 }, { 3.5, 14.5 }, { 7.5, 10.5 } }));
        shape(p, b, fill, lineColour);
        line(p, { 3.5, 5.5 }, { 12.5, 5.5 }, lineColour);
        line(p, { 3.5, 7.5 }, { 10, 7.5 }, lineColour);
    }

    void brokenMark(QPainter& p)
    {
        // a white halo keeps the cross readable on any row colour
        for (const auto& [colour, width] :
            { std::pair { QColor(Qt::white), 4.2 }, std::pair { QColor(0xE0201C), 2.2 } }) {
            p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(8.5, 8.5), QPointF(14, 14));
            p.drawLine(QPointF(14, 8.5), QPointF(8.5, 14));
        }
    }

    void gamepad(QPainter& p, bool open)
    {
        const QColor body = open ? QColor(0x3C8DDE) : QColor(0x5F6E84);
        const QColor outline = open ? QColor(0x1B4F86) : QColor(0x2E3846);
        QPainterPath pad;
        pad.addRoundedRect(QRectF(0.5, 4.5, 15, 7), 3, 3);
        pad.addEllipse(QPointF(4, 11), 3.3, 3.3);
        pad.addEllipse(QPointF(12, 11), 3.3, 3.3);
        pad.setFillRule(Qt::WindingFill);
        pad = pad.simplified();
        p.setPen(QPen(outline, 1.0));
        p.setBrush(body);
        p.drawPath(pad);
        line(p, { 2, 8.5 }, { 7, 8.5 }, Qt::white, 1.6);
        line(p, { 4.5, 6 }, { 4.5, 11 }, Qt::white, 1.6);
        p.setPen(Qt::NoPen);
        p.setBrush(open ? QColor(0xFFD23F) : QColor(0xF06A6A));
        p.drawEllipse(QPointF(11.2, 7.4), 1.25, 1.25);
        p.setBrush(open ? QColor(0x8CF08C) : QColor(0x7CD67C));
        p.drawEllipse(QPointF(13.2, 9.6), 1.25, 1.25);
    }
}

QImage drawTreeImage(int n, int scale)
{
    QImage image = blankImage(16 * scale, 16 * scale);
    QPainter p(&image);
    begin(p, scale);
    switch (n) {
    case 1:
    case 2:
        folder(p, fixedFolder, n == 2);
        break;
    case 3:
    case 4:
        folder(p, virtualFolder, n == 4);
        break;
    case 5:
        closedBook(p, installedBook, false);
        break;
    case 6:
        openBook(p, installedBook, false);
        break;
    case 7:
        closedBook(p, virtualBook, true);
        break;
    case 8:
        openBook(p, virtualBook, true);
        break;
    case 9:
        bubble(p, QColor(0xDDEEFF), QColor(0x2F6DB0));
        break;
    case 10:
        bubble(p, QColor(0xF0E2FF), QColor(0x6A35A8));
        break;
    case 11:
        closedBook(p, brokenBook, false);
        brokenMark(p);
        break;
    default:
        break;
    }
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage drawActivity(bool open)
{
    QImage image = blankImage(16, 16);
    QPainter p(&image);
    begin(p, 1);
    gamepad(p, open);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage drawScoresSubject()
{
    QImage image = blankImage(16, 16);
    QPainter p(&image);
    begin(p, 1);
    closedBook(p, subjectBook, false);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

}
