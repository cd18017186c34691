#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// One phrase handed to an activity.
struct StudyPhrase
{
    QString fileName; // installed subject the phrase comes from
    int phraseNo = 0;
    QString tPhrase;
    QString tTranslation;
    QString tTranslation2;
};

// The program-wide state; it lives for the whole run.
struct ModMain
{
    QString ProgramCode;
    QString ProductName;
    QString InterfaceLanguage;
    QString TaughtLanguage;
    QString SubjectExtension;
    int LogoImage = 0;
    QStringList Captions; // indexes 0 to n + 1; 0 and n + 1 are empty
    QString DataDir;
    QString InstalledSubjectsDir;
    QString VirtualSubjectsDir;
    QString CurrentStudent;
    bool VirtualSubjectsChanged = false;
    QVector<StudyPhrase> StudyPhrases;
    int StudyPhraseCount = 0;
    QByteArray ClickSoundBuffer;
    // The number that names this run's exchange files (one for the whole run).
    qint64 WindowHandle = 0;
    // The program folder; empty means the folder of the running program.
    QString AppPathOverride;
};

extern ModMain modMain;

// Interface text k; "" for a number the template does not have.
QString Caption(int k);
// Sets the product identity from the product table; false when the code has no row.
bool Set_Product(const QString& programCode);
