#include "logingrid.h"

#include <algorithm>

#include <QFontMetrics>
#include <QListView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextLayout>

#include "resources/resourcepaths.h"

namespace {
// The frame round the selected item, and the margin either side of a name inside it.
constexpr int SelectionFrame = 2;
constexpr int TextMargin = 4;
constexpr int ItemFrame = SelectionFrame + TextMargin;
// Between the face and the name.
constexpr int FaceGap = 6;
// Between the highlights of neighbouring cells.
constexpr int CellGap = 8;
constexpr int DesignCell = 150;
constexpr int WidestText = 300;
// Far more than two lines of the widest cell hold: a longer name (only a damaged file has one) is cut anyway, and
// measuring all of it would keep the login window waiting for seconds.
constexpr int MeasuredCharacters = 1000;
const QColor NameColour(0x1d, 0x35, 0x57);
const QColor FrameColour(0x45, 0x7b, 0x9d);

// The narrowest width in which the name breaks at a blank into at most two lines.
int twoLineWidth(const QFontMetrics& metrics, const QString& name)
{
    const QStringList words = name.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    int best = metrics.horizontalAdvance(words.join(QLatin1Char(' ')));
    for (int i = 1; i < words.size(); ++i) {
        const int first = metrics.horizontalAdvance(words.mid(0, i).join(QLatin1Char(' ')));
        const int second = metrics.horizontalAdvance(words.mid(i).join(QLatin1Char(' ')));
        best = std::min(best, std::max(first, second));
    }
    return best;
}

// The style would measure a wrapped name, round the measure down and wrap it once more when it draws it, cutting
// a name that fits. So each item fills its cell, and the name is laid out here, once, in the width of the cell.
class LoginDelegate : public QStyledItemDelegate
{
public:
    explicit LoginDelegate(QListView* list)
        : QStyledItemDelegate(list)
        , m_list(list)
    {
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return m_list->gridSize() - QSize(CellGap, CellGap);
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QStyle* style = m_list->style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, m_list);
        const QRect face(opt.rect.left() + (opt.rect.width() - resources::FaceSize) / 2,
            opt.rect.top() + ItemFrame, resources::FaceSize, resources::FaceSize);
        opt.icon.paint(painter, face, Qt::AlignCenter, QIcon::Normal);

        painter->save();
        painter->setFont(opt.font);
        painter->setPen(NameColour);
        const QFontMetrics metrics(opt.font);
        const int width = opt.rect.width() - 2 * ItemFrame;
        int top = face.bottom() + 1 + FaceGap;
        for (const QString& line : Name_Lines(opt.font, opt.text, width, 2)) {
            painter->drawText(QRect(opt.rect.left() + ItemFrame, top, width, metrics.lineSpacing()),
                Qt::AlignHCenter | Qt::AlignTop, line);
            top += metrics.lineSpacing();
        }
        if (opt.state & QStyle::State_Selected) {
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(QPen(FrameColour, SelectionFrame));
            painter->setBrush(Qt::NoBrush);
            const qreal inset = SelectionFrame / 2.0;
            painter->drawRoundedRect(QRectF(opt.rect).adjusted(inset, inset, -inset, -inset), 8, 8);
        }
        painter->restore();
    }

private:
    QListView* m_list;
};
}

LoginGrid Login_Grid(const QFont& font, const QStringList& names)
{
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    int text = DesignCell - 2 * ItemFrame;
    for (const QString& name : names)
        text = std::max(text, twoLineWidth(metrics, name.left(MeasuredCharacters)) + 2);
    LoginGrid grid;
    grid.textWidth = std::min(text, WidestText);
    const int height = ItemFrame + resources::FaceSize + FaceGap + grid.textLines * metrics.lineSpacing() + ItemFrame;
    grid.cell = QSize(grid.textWidth + 2 * ItemFrame + CellGap, std::max(DesignCell, height) + CellGap);
    return grid;
}

QStringList Name_Lines(const QFont& font, const QString& name, int width, int maxLines)
{
    const QFontMetrics metrics(font);
    QTextLayout layout(name, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        const bool last = lines.size() == maxLines - 1;
        const QString rest = name.mid(line.textStart());
        if (last || line.naturalTextWidth() > width) {
            // A word longer than the line, or more lines than there is room for: cut where the room ends.
            const QString cut = last ? rest : name.mid(line.textStart(), line.textLength());
            lines << metrics.elidedText(cut.trimmed(), Qt::ElideRight, width);
            if (last)
                break;
            continue;
        }
        lines << name.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

QStyledItemDelegate* New_Login_Delegate(QListView* list) { return new LoginDelegate(list); }
