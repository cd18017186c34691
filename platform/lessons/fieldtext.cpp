#include "platform/lessons/fieldtext.h"

#include <optional>

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace lessons {

namespace {

    const QRegularExpression& soundTag()
    {
        static const QRegularExpression pattern(QStringLiteral("\\[sound:([^\\]]*)\\]"));
        return pattern;
    }

    // The named entities that turn up in pasted text: markup's own, typography, and HTML 4's Latin-1 letters, whose
    // names run in code point order from U+00A0.
    const QHash<QString, char32_t>& namedEntities()
    {
        static const QHash<QString, char32_t> table = [] {
            QHash<QString, char32_t> names { { QStringLiteral("amp"), U'&' }, { QStringLiteral("lt"), U'<' },
                { QStringLiteral("gt"), U'>' }, { QStringLiteral("quot"), U'"' }, { QStringLiteral("apos"), U'\'' },
                { QStringLiteral("OElig"), U'\u0152' }, { QStringLiteral("oelig"), U'\u0153' },
                { QStringLiteral("ndash"), U'\u2013' }, { QStringLiteral("mdash"), U'\u2014' },
                { QStringLiteral("lsquo"), U'\u2018' }, { QStringLiteral("rsquo"), U'\u2019' },
                { QStringLiteral("ldquo"), U'\u201C' }, { QStringLiteral("rdquo"), U'\u201D' },
                { QStringLiteral("bull"), U'\u2022' }, { QStringLiteral("hellip"), U'\u2026' },
                { QStringLiteral("euro"), U'\u20AC' } };
            const QStringList latin1 = QStringLiteral(
                "nbsp iexcl cent pound curren yen brvbar sect uml copy ordf laquo not shy reg macr deg plusmn sup2 "
                "sup3 acute micro para middot cedil sup1 ordm raquo frac14 frac12 frac34 iquest Agrave Aacute Acirc "
                "Atilde Auml Aring AElig Ccedil Egrave Eacute Ecirc Euml Igrave Iacute Icirc Iuml ETH Ntilde Ograve "
                "Oacute Ocirc Otilde Ouml times Oslash Ugrave Uacute Ucirc Uuml Yacute THORN szlig agrave aacute "
                "acirc atilde auml aring aelig ccedil egrave eacute ecirc euml igrave iacute icirc iuml eth ntilde "
                "ograve oacute ocirc otilde ouml divide oslash ugrave uacute ucirc uuml yacute thorn yuml")
                                           .split(u' ');
            for (qsizetype i = 0; i < latin1.size(); ++i)
                names.insert(latin1[i], static_cast<char32_t>(0xA0 + i));
            return names;
        }();
        return table;
    }

    std::optional<char32_t> entityValue(QStringView name)
    {
        if (!name.startsWith(u'#')) {
            const auto found = namedEntities().constFind(name.toString());
            return found == namedEntities().cend() ? std::nullopt : std::optional<char32_t>(*found);
        }
        const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
        bool ok = false;
        const uint code = name.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        if (!ok)
            return std::nullopt;
        // As browsers do: what no character can be becomes the replacement character, not a hole in the text.
        if (code == 0 || code > 0x10FFFF || QChar::isSurrogate(code))
            return U'\uFFFD';
        return static_cast<char32_t>(code);
    }

    QString decodeEntities(QStringView text)
    {
        QString out;
        out.reserve(text.size());
        qsizetype i = 0;
        while (i < text.size()) {
            const qsizetype semicolon = text[i] == u'&' ? text.indexOf(u';', i + 1) : -1;
            // The longest entity read here is "&#x10FFFF;"; a lone "&" in "Salt & pepper" stays as it is.
            if (semicolon > i + 1 && semicolon - i <= 10) {
                if (const std::optional<char32_t> code = entityValue(text.sliced(i + 1, semicolon - i - 1))) {
                    out += QString::fromUcs4(&*code, 1);
                    i = semicolon + 1;
                    continue;
                }
            }
            out += text[i++];
        }
        return out;
    }

    // Anki writes "{{c1::answer::hint}}" and lets clozes nest; each pass reduces the innermost ones, so a field
    // takes as many passes as its clozes are deep, never one per cloze.
    bool reduceClozes(QString& text)
    {
        static const QRegularExpression cloze(
            QStringLiteral("\\{\\{c\\d+::((?:(?!\\{\\{|\\}\\}|::).)*)(?:::(?:(?!\\{\\{|\\}\\}).)*)?\\}\\}"),
            QRegularExpression::DotMatchesEverythingOption);
        bool found = false;
        while (text.contains(cloze)) {
            found = true;
            text.replace(cloze, QStringLiteral("\\1"));
        }
        return found;
    }

    bool breaksLine(const QString& tag)
    {
        static const QSet<QString> tags { QStringLiteral("br"), QStringLiteral("p"), QStringLiteral("div"),
            QStringLiteral("li"), QStringLiteral("ul"), QStringLiteral("ol"), QStringLiteral("dl"),
            QStringLiteral("dt"), QStringLiteral("dd"), QStringLiteral("tr"), QStringLiteral("td"),
            QStringLiteral("th"), QStringLiteral("table"), QStringLiteral("hr"), QStringLiteral("blockquote"),
            QStringLiteral("pre"), QStringLiteral("h1"), QStringLiteral("h2"), QStringLiteral("h3"),
            QStringLiteral("h4"), QStringLiteral("h5"), QStringLiteral("h6") };
        return tags.contains(tag);
    }

    // The index of the ">" that ends a tag whose name starts at from, passing over quoted attribute values; -1 when
    // the tag never ends.
    qsizetype tagEnd(const QString& text, qsizetype from)
    {
        QChar quote;
        for (qsizetype i = from; i < text.size(); ++i) {
            const QChar c = text[i];
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u'>') {
                return i;
            }
        }
        return -1;
    }

    // Passes over the markup that starts at the "<" at open and returns where the text goes on. A "<" that starts
    // no tag, as in "a < b", is text.
    qsizetype skipMarkup(const QString& text, qsizetype open, QString& out, CleanText& result)
    {
        if (QStringView(text).sliced(open).startsWith(QStringLiteral("<!--"))) {
            const qsizetype end = text.indexOf(QStringLiteral("-->"), open + 4);
            return end < 0 ? text.size() : end + 3;
        }
        const bool closing = open + 1 < text.size() && text[open + 1] == u'/';
        const qsizetype nameStart = open + 1 + (closing ? 1 : 0);
        const QChar first = nameStart < text.size() ? text[nameStart] : QChar();
        const qsizetype close
            = first.isLetter() || (!closing && (first == u'!' || first == u'?')) ? tagEnd(text, nameStart) : -1;
        if (close < 0) {
            out += u'<';
            return open + 1;
        }
        qsizetype nameEnd = nameStart;
        while (nameEnd < close && text[nameEnd].isLetterOrNumber())
            ++nameEnd;
        const QString name = text.sliced(nameStart, nameEnd - nameStart).toLower();
        if (name == QStringLiteral("img"))
            result.hadImage = true;
        else if (breaksLine(name))
            out += u' ';
        if (!closing && (name == QStringLiteral("script") || name == QStringLiteral("style"))
            && text[close - 1] != u'/') {
            const qsizetype endTag = text.indexOf(QStringLiteral("</") + name, close + 1, Qt::CaseInsensitive);
            const qsizetype after = endTag < 0 ? -1 : text.indexOf(u'>', endTag);
            return after < 0 ? text.size() : after + 1;
        }
        return close + 1;
    }

}

CleanText cleanField(const QString& field)
{
    CleanText result;
    QString source = field;
    if (source.contains(soundTag())) {
        result.hadSound = true;
        source.replace(soundTag(), QStringLiteral(" "));
    }
    result.hadCloze = reduceClozes(source);

    QString out;
    qsizetype at = 0;
    while (at < source.size()) {
        const qsizetype open = source.indexOf(u'<', at);
        const qsizetype textEnd = open < 0 ? source.size() : open;
        out += decodeEntities(QStringView(source).sliced(at, textEnd - at));
        if (open < 0)
            break;
        at = skipMarkup(source, open, out, result);
    }
    result.text = out.simplified();
    return result;
}

QString plainText(const QString& field) { return cleanField(field).text; }

QStringList soundReferences(const QString& field)
{
    QStringList names;
    for (const QRegularExpressionMatch& match : soundTag().globalMatch(field)) {
        const QString name = decodeEntities(match.captured(1)).trimmed();
        if (!name.isEmpty())
            names << name;
    }
    if (!names.isEmpty())
        return names;

    static const QSet<QString> soundSuffixes { QStringLiteral("wav"), QStringLiteral("mp3"), QStringLiteral("ogg"),
        QStringLiteral("oga"), QStringLiteral("flac"), QStringLiteral("opus"), QStringLiteral("m4a") };
    const QString bare = field.trimmed();
    if (bare.contains(u'<') || bare.contains(u'\n') || bare.contains(u'\r'))
        return {};
    if (soundSuffixes.contains(QFileInfo(bare).suffix().toLower()) && !QFileInfo(bare).completeBaseName().isEmpty())
        return { bare };
    return {};
}

}
