#include "platform/lessons/kvtml.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QXmlStreamWriter>

#include "platform/lessons/subjectfile.h"

namespace lessons {

namespace {

    bool moveInto(const QString& from, const QString& to, QString* problem)
    {
        std::error_code error;
        std::filesystem::rename(
            std::filesystem::path(from.toStdU16String()), std::filesystem::path(to.toStdU16String()), error);
        if (error && problem)
            *problem = QString::fromStdString(error.message());
        return !error;
    }

    // Only letters, digits, "-" and "_" of ASCII, so that the names survive every file system, zip tool and URL the
    // file may pass through on its way to another computer.
    QString kvtmlSoundName(int lesson, int phrase, const QString& text)
    {
        QString slug;
        QString decomposed = text.normalized(QString::NormalizationForm_KD);
        decomposed.replace(u'ß', QStringLiteral("ss"));
        for (const QChar c : decomposed) {
            if (c.unicode() < 128 && c.isLetterOrNumber())
                slug += c.toLower();
            else if (!slug.isEmpty() && !slug.endsWith(u'-') && !c.isMark())
                slug += u'-';
        }
        slug = slug.left(32);
        while (slug.endsWith(u'-'))
            slug.chop(1);
        return QStringLiteral("%1-%2%3.wav")
            .arg(lesson, 2, 10, QLatin1Char('0'))
            .arg(phrase, 2, 10, QLatin1Char('0'))
            .arg(slug.isEmpty() ? QString() : QStringLiteral("-") + slug);
    }

    // One folder beside the file, whose name survives a copy to Windows and reads the same when another program
    // takes the reference for a relative URL.
    bool isPlainFolderName(const QString& name)
    {
        static const QString forbidden = QStringLiteral("/\\:*?\"<>|%#");
        if (name.isEmpty() || name.startsWith(u'.') || name.endsWith(u'.') || name.endsWith(u' '))
            return false;
        return std::none_of(
            name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 0x20 || forbidden.contains(c); });
    }

    QString kvtmlLanguageName(const QString& code)
    {
        const QLocale::Language language = QLocale(code).language();
        return language == QLocale::C || language == QLocale::AnyLanguage ? code : QLocale::languageToString(language);
    }

    void writeIdentifier(QXmlStreamWriter& xml, int id, const QString& code)
    {
        xml.writeStartElement(QStringLiteral("identifier"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(id));
        xml.writeTextElement(QStringLiteral("name"), kvtmlLanguageName(code));
        xml.writeTextElement(QStringLiteral("locale"), code);
        xml.writeEndElement();
    }

    void writeTranslation(QXmlStreamWriter& xml, int id, const QString& text, const QString& pronunciation = {},
        const QString& sound = {})
    {
        xml.writeStartElement(QStringLiteral("translation"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(id));
        xml.writeTextElement(QStringLiteral("text"), text);
        if (!pronunciation.isEmpty())
            xml.writeTextElement(QStringLiteral("pronunciation"), pronunciation);
        if (!sound.isEmpty())
            xml.writeTextElement(QStringLiteral("sound"), sound);
        xml.writeEndElement();
    }

    class KvtmlWriter
    {
    public:
        KvtmlWriter(const LessonLanguages& languages, const QString& path, const QString& soundFolderName,
            const QString& workFolder)
            : m_languages(languages)
            , m_path(path)
            , m_soundFolderName(soundFolderName)
            , m_soundWork(workFolder + QStringLiteral("/sounds"))
            , m_xml(&m_document)
        {
        }

        // The document, with the sounds written into the work folder as it goes; empty after an error.
        QByteArray write(const QList<Lesson>& lessons, const QString& title, Outcome& outcome)
        {
            m_xml.setAutoFormatting(true);
            m_xml.setAutoFormattingIndent(1);
            m_xml.writeStartDocument();
            m_xml.writeDTD(
                QStringLiteral("<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">"));
            m_xml.writeStartElement(QStringLiteral("kvtml"));
            m_xml.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));
            m_xml.writeStartElement(QStringLiteral("information"));
            m_xml.writeTextElement(QStringLiteral("generator"), QStringLiteral("Parlanta"));
            m_xml.writeTextElement(QStringLiteral("title"), title);
            m_xml.writeEndElement();

            m_xml.writeStartElement(QStringLiteral("identifiers"));
            writeIdentifier(m_xml, 0, m_languages.taught);
            writeIdentifier(m_xml, 1, m_languages.learner);
            if (!m_languages.learner2.isEmpty())
                writeIdentifier(m_xml, 2, m_languages.learner2);
            m_xml.writeEndElement();

            m_xml.writeStartElement(QStringLiteral("entries"));
            int entry = 0;
            for (int l = 0; l < lessons.size(); ++l) {
                for (int p = 0; p < lessons[l].phrases.size(); ++p) {
                    if (!writeEntry(entry++, lessons[l].phrases[p],
                            kvtmlSoundName(l + 1, p + 1, lessons[l].phrases[p].phrase), outcome))
                        return {};
                }
            }
            m_xml.writeEndElement();

            m_xml.writeStartElement(QStringLiteral("lessons"));
            entry = 0;
            for (const Lesson& lesson : lessons) {
                m_xml.writeStartElement(QStringLiteral("container"));
                m_xml.writeTextElement(QStringLiteral("name"), lesson.title);
                m_xml.writeTextElement(QStringLiteral("inpractice"), QStringLiteral("true"));
                for (qsizetype p = 0; p < lesson.phrases.size(); ++p) {
                    m_xml.writeEmptyElement(QStringLiteral("entry"));
                    m_xml.writeAttribute(QStringLiteral("id"), QString::number(entry++));
                }
                m_xml.writeEndElement();
            }
            m_xml.writeEndElement();
            m_xml.writeEndDocument();
            return m_document;
        }

    private:
        bool writeEntry(int id, const LessonPhrase& phrase, const QString& soundName, Outcome& outcome)
        {
            QString sound;
            if (!phrase.sound.isEmpty()) {
                // The file is named .wav and other programs trust the name.
                if (const QString problem = waveProblem(phrase.sound); !problem.isEmpty()) {
                    outcome.errors << located(
                        m_path, 0, QStringLiteral("the sound of \"%1\" is %2").arg(phrase.phrase, problem));
                    return false;
                }
                QFile file(m_soundWork + u'/' + soundName);
                if (!file.open(QIODevice::WriteOnly) || file.write(phrase.sound) != phrase.sound.size()
                    || !file.flush()) {
                    outcome.errors << located(
                        m_path, 0, QStringLiteral("cannot write the sound %1: %2").arg(soundName, file.errorString()));
                    return false;
                }
                sound = m_soundFolderName + u'/' + soundName;
            }
            m_xml.writeStartElement(QStringLiteral("entry"));
            m_xml.writeAttribute(QStringLiteral("id"), QString::number(id));
            // Without a language of its own, the second translation is how the phrase is said.
            const bool pronunciation = m_languages.learner2.isEmpty();
            writeTranslation(m_xml, 0, phrase.phrase, pronunciation ? phrase.translation2 : QString(), sound);
            writeTranslation(m_xml, 1, phrase.translation);
            if (!pronunciation)
                writeTranslation(m_xml, 2, phrase.translation2);
            m_xml.writeEndElement();
            return true;
        }

        const LessonLanguages& m_languages;
        const QString m_path;
        const QString m_soundFolderName;
        const QString m_soundWork;
        QByteArray m_document;
        QXmlStreamWriter m_xml;
    };

}

Outcome writeKvtml(const QList<Lesson>& lessons, const LessonLanguages& languages, const QString& title,
    const QString& path, const QString& soundFolderName)
{
    Outcome outcome;
    const QFileInfo target(path);
    const bool anySound = std::any_of(lessons.cbegin(), lessons.cend(), [](const Lesson& lesson) {
        return std::any_of(lesson.phrases.cbegin(), lesson.phrases.cend(),
            [](const LessonPhrase& phrase) { return !phrase.sound.isEmpty(); });
    });
    const QString soundFolder = target.absoluteDir().filePath(soundFolderName);
    if (anySound) {
        if (!isPlainFolderName(soundFolderName)) {
            outcome.errors << located(path, 0,
                QStringLiteral("\"%1\" cannot name the sound folder: it must be one folder's name, neither starting "
                               "with \".\" nor ending with \".\" or a blank, without any of / \\ : * ? \" < > | % #")
                    .arg(soundFolderName));
            return outcome;
        }
        if (QFileInfo::exists(soundFolder)) {
            outcome.errors << located(path, 0,
                QStringLiteral("%1 already exists; remove it or name another folder for the sounds").arg(soundFolder));
            return outcome;
        }
    }
    if (!QDir().mkpath(target.absolutePath())) {
        outcome.errors << located(path, 0, QStringLiteral("cannot create the folder %1").arg(target.absolutePath()));
        return outcome;
    }
    // Beside the target, so that the final renames never cross file systems; removed with whatever is left in it.
    QTemporaryDir work(target.absoluteDir().filePath(QStringLiteral(".parlanta-XXXXXX")));
    if (!work.isValid() || !QDir(work.path()).mkdir(QStringLiteral("sounds"))) {
        outcome.errors << located(path, 0, QStringLiteral("cannot write here: %1").arg(work.errorString()));
        return outcome;
    }

    KvtmlWriter writer(languages, path, soundFolderName, work.path());
    const QByteArray document = writer.write(lessons, title, outcome);
    if (!outcome.ok())
        return outcome;
    const QString workFile = work.filePath(QStringLiteral("lessons.kvtml"));
    QFile file(workFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(document) != document.size() || !file.flush()) {
        outcome.errors << located(path, 0, QStringLiteral("cannot write: %1").arg(file.errorString()));
        return outcome;
    }
    file.close();
    // The temporary folder is private; the file is for others to open.
    QFile::setPermissions(workFile, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);

    // The sounds first, so that the file never names sounds that are not there.
    QString problem;
    if (anySound && !moveInto(work.filePath(QStringLiteral("sounds")), soundFolder, &problem)) {
        outcome.errors << located(
            path, 0, QStringLiteral("cannot make the sound folder %1: %2").arg(soundFolder, problem));
        return outcome;
    }
    if (!moveInto(workFile, target.absoluteFilePath(), &problem)) {
        outcome.errors << located(path, 0, QStringLiteral("cannot replace the file: %1").arg(problem));
        if (anySound)
            moveInto(soundFolder, work.filePath(QStringLiteral("sounds")), nullptr);
    }
    return outcome;
}

}
