#include "exchange.h"

#include <QCoreApplication>
#include <QSaveFile>

#include "app/modmain.h"
#include "app/util/apppath.h"
#include "app/util/files.h"

namespace {
// A line break inside a text would end its line early and shift every line after it, so the activity
// would read the wrong fields; it becomes a blank.
QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// Quotes inside the text are not doubled: the activity takes away exactly the first and the last character.
QString quoted(const QString& text)
{
    return QLatin1Char('"') + oneLine(text) + QLatin1Char('"');
}

// The print layout of a whole number: a blank for the sign of a number that is not negative, the digits,
// one trailing blank.
QString printNumber(int value)
{
    return (value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value)) + QLatin1Char(' ');
}
}

QStringList Exchange_File_Lines(const QString& subjectText, qint64 processId)
{
    // Line 8 promises what follows, so it counts the records there are.
    const int count = qBound(0, modMain.StudyPhraseCount, static_cast<int>(modMain.StudyPhrases.size()) - 1);
    QStringList lines { QString::number(processId), modMain.ProgramCode, modMain.ProductName,
        modMain.InterfaceLanguage, modMain.TaughtLanguage, modMain.CurrentStudent, subjectText,
        QString::number(count), modMain.DataDir + QStringLiteral("Users.dat") };
    for (int i = 0; i < 5; ++i)
        lines << QStringLiteral("EMPTY");
    lines << printNumber(0);
    for (QString& line : lines)
        line = oneLine(line);
    for (int n = 1; n <= count; ++n) {
        const StudyPhrase& p = modMain.StudyPhrases[n];
        lines << quoted(p.tPhrase) << quoted(p.tTranslation) << quoted(p.tTranslation2)
              << quoted(Get_Temp_Path() + Exchange_Sound_File_Name(n));
    }
    return lines;
}

QByteArray Exchange_File_Bytes(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLocal8Bit() + "\r\n";
    return bytes;
}

bool Write_Exchange_File(const QString& subjectText, QString* error)
{
    const QByteArray bytes = Exchange_File_Bytes(Exchange_File_Lines(subjectText, QCoreApplication::applicationPid()));
    QSaveFile file(Get_Temp_Path() + Exchange_File_Name());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
