#include "studentnames.h"

#include <QList>

QString Stored_Name(const QString& typed) { return typed.trimmed().normalized(QString::NormalizationForm_C); }

QString Name_Key(const QString& displayName) { return Stored_Name(displayName).toCaseFolded(); }

bool Has_Hidden_Characters(const QString& name)
{
    for (const uint c : name.toUcs4()) {
        switch (QChar::category(c)) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Other_PrivateUse:
        case QChar::Other_NotAssigned:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return true;
        case QChar::Separator_Space:
            if (c != 0x20)
                return true;
            break;
        default:
            // Letters that draw as nothing: the Hangul fillers and the blank Braille pattern.
            if (c == 0x115F || c == 0x1160 || c == 0x3164 || c == 0xFFA0 || c == 0x2800)
                return true;
            break;
        }
    }
    return false;
}
