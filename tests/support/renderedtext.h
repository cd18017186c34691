#pragma once

#include <QLabel>
#include <QTextDocument>

// What a reader sees of a text: the text itself, or what is left of it once read as markup. A label reads its text
// as markup by its format; a tool tip (format Qt::AutoText) whenever the text looks like markup.
inline QString renderedText(const QString& text, Qt::TextFormat format = Qt::AutoText)
{
    if (format != Qt::RichText && (format != Qt::AutoText || !Qt::mightBeRichText(text)))
        return text;
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}

inline QString renderedText(const QLabel* label) { return renderedText(label->text(), label->textFormat()); }
