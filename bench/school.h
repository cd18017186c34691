#pragma once

#include <QString>
#include <QTemporaryDir>

// A school-size program folder in a temporary folder: a copy of the shipped program folder with 2,000
// installed subjects of ten phrases (50 KB sounds), 200 virtual subject files of ten virtual subjects each,
// and a user database with 500 students, 100,000 results and 200,000 phrase results (each student 80 phrases of
// the scored subjects, five results each, through the year up to PhraseNow).
namespace bench {

inline constexpr int InstalledSubjects = 2000;
inline constexpr int VirtualFiles = 200;
inline constexpr int VirtualSubjectsPerFile = 10;
inline constexpr int PhrasesPerSubject = 10;
inline constexpr int SoundBytes = 50 * 1024;
inline constexpr int Students = 500;
inline constexpr int Activities = 40;
inline constexpr int ScoredSubjects = 200;
inline constexpr int Results = 100000;
inline constexpr int PhraseResults = 200000;
inline constexpr int ReviewsPerPhrase = 5;
inline constexpr char PhraseNow[] = "2026-12-01T00:00:00Z";

QString studentName(int i); // "First Last" as the scores carry it
QString activityName(int i);
QString subjectName(int i); // as the scores carry it

class ProgramFolder
{
public:
    // A copy of stage (the shipped program folder); with school set, the school-size data is added. With keepAt,
    // the folder is made there and kept, and a complete one found there is used as it is.
    ProgramFolder(const QString& stage, bool school, const QString& keepAt = QString());
    QString path() const; // ends with "/"
    QString installedDir() const; // the installed subjects folder, ends with "/"
    QString virtualDir() const; // the virtual subjects folder, ends with "/"
    QString usersFile() const; // the user database
    QString subjectExtension() const; // "ale" for prlale
    // The subject folders of a program folder and the product's subject file extension.
    struct Layout
    {
        QString installed; // ends with "/"
        QString virtualFiles; // ends with "/"
        QString extension; // "ale" for prlale
    };
    static Layout layoutOf(const QString& folder);
    // A generated installed subject file name (i from 0) and a virtual file name.
    static QString installedName(int i, const QString& extension);
    static QString virtualName(int i, const QString& extension);

private:
    void make(const QString& stage, bool school);
    QTemporaryDir m_dir;
    QString m_path;
};

// The stage folder of this build: next to the benchmark program, "../stage".
QString stageFolder();

}
