#include <QtTest>

#include "activities/listening.h"
#include "activities/studyset.h"
#include "common/apppath.h"
#include "common/files.h"
#include "common/frmmsgbox.h"
#include "subjects/subjectchecks.h"
#include "subjects/subjectref.h"
#include "tests/support/fakes.h"
#include "tests/support/maintree.h"
#include "tests/support/subjectfixtures.h"
#include "tests/support/treetest.h"

namespace {
QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

SubjectRef installedSubject(const QString& file) { return SubjectRef::subject(file, "S", QString()); }
SubjectRef phrase(const QString& tag) { return SubjectRef::phraseOf(NodeTag::parse(tag)); }
SubjectRef virtualSubject(const QStringList& phraseTags)
{
    SubjectRef subject = SubjectRef::virtualSubject("Mine.vale", 1, "V", QString());
    for (const QString& tag : phraseTags)
        subject.phrases << phrase(tag);
    return subject;
}
}

class TestStudySet : public fixtures::TreeTest<fixtures::MainTree>
{
    Q_OBJECT
private:
    const Session& session() const { return m_main->session; }
    QString soundFile(int i) const { return Get_Temp_Path() + Exchange_Sound_File_Name(session().ExchangeNumber, i); }
    StudySet gather(const SubjectRef& subject)
    {
        SubjectChecks checks(session());
        return Get_Phraes_to_Study(subject, session(), checks);
    }

private Q_SLOTS:
    void init() { start(); }
    void cleanup() { finish(); }

    void installedSubjectGivesItsPhrasesInTableOrder()
    {
        QVector<fixtures::PhraseFixture> phrases = fixtures::numberedPhrases(10);
        std::reverse(phrases.begin(), phrases.end());
        phrases[0].tPhrase = QVariant();
        fixtures::writeInstalledSubject(installed("ten.ale"), phrases);
        const StudySet set = gather(installedSubject("ten.ale"));
        QCOMPARE(set.size(), 10);
        for (int i = 1; i <= 10; ++i) {
            const StudyPhrase& p = set[i - 1];
            QCOMPARE(p.fileName, QStringLiteral("ten.ale"));
            QCOMPARE(p.phraseNo, i); // the rows come in key order
            QCOMPARE(p.tTranslation, QStringLiteral("Tr%1").arg(i));
            QCOMPARE(contents(soundFile(i)), fixtures::waveBytes(300 + i, i));
        }
        QCOMPARE(set[9].tPhrase, QString());
        QVERIFY(m_env->dialogs.shown.isEmpty());
    }

    void elevenPhrasesOrANullSoundGiveNothing_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("nullSound");
        QTest::newRow("eleven phrases") << 11 << 0;
        QTest::newRow("a NULL sound") << 5 << 3;
    }

    void elevenPhrasesOrANullSoundGiveNothing()
    {
        QFETCH(int, count);
        QFETCH(int, nullSound);
        QVector<fixtures::PhraseFixture> phrases = fixtures::numberedPhrases(count);
        if (nullSound)
            phrases[nullSound - 1].sound = QByteArray();
        fixtures::writeInstalledSubject(installed("bad.ale"), phrases);
        QVERIFY(gather(installedSubject("bad.ale")).isEmpty());
        QCOMPARE(errorReports().size(), 1);
        QVERIFY(errorReports()[0].startsWith("T149\r\n\r\nGet_Phraes_to_Study: "));
        // No sound file of the failed gathering stays behind.
        for (int i = 1; i <= 10; ++i)
            QVERIFY2(!QFile::exists(soundFile(i)), qPrintable(soundFile(i)));
    }

    void virtualSubjectSkipsPhrasesWhoseSourceIsGone()
    {
        fixtures::writeInstalledSubject(installed("a.ale"), fixtures::numberedPhrases(3));
        fixtures::writeInstalledSubject(installed("b.ale"), fixtures::numberedPhrases(2));
        const SubjectRef subject
            = virtualSubject({ "a.ale*3*x*y*z", "gone.ale*1*G*G*G", "b.ale*2*x*y*z", "a.ale*1*x*y*z" });
        const StudySet p = gather(subject);
        QCOMPARE(p.size(), 3);
        QCOMPARE(p[0].fileName + QString::number(p[0].phraseNo), QStringLiteral("a.ale3"));
        QCOMPARE(p[1].fileName + QString::number(p[1].phraseNo), QStringLiteral("b.ale2"));
        QCOMPARE(p[2].fileName + QString::number(p[2].phraseNo), QStringLiteral("a.ale1"));
        // The texts come from the source, not from the tag.
        QCOMPARE(p[0].tPhrase, QStringLiteral("P3"));
        QCOMPARE(contents(soundFile(2)), fixtures::waveBytes(302, 2));
        QVERIFY(!QFile::exists(soundFile(4)));
        QVERIFY(m_env->dialogs.shown.isEmpty());
    }

    void virtualSubjectKeepsThePhrasesBeforeAFailure()
    {
        fixtures::writeInstalledSubject(installed("a.ale"), fixtures::numberedPhrases(10));
        QStringList tags;
        for (int k = 1; k <= 10; ++k)
            tags << QStringLiteral("a.ale*%1*x*y*z").arg(k);
        QCOMPARE(gather(virtualSubject(tags + QStringList { "a.ale*1*x*y*z" })).size(), 10);
        QCOMPARE(errorReports().size(), 1);
        QVERIFY(QFile::exists(soundFile(10)));
        // A key that is not there: the phrases before it stay.
        const StudySet kept
            = gather(virtualSubject({ "a.ale*2*x*y*z", "a.ale*99*x*y*z", "a.ale*3*x*y*z" }));
        QCOMPARE(kept.size(), 1);
        QCOMPARE(kept[0].phraseNo, 2);
        QCOMPARE(errorReports().size(), 2);
        QVERIFY(QFile::exists(soundFile(1)));
        QVERIFY(!QFile::exists(soundFile(2)));
    }

    void aNewGatheringDeletesThePreviousLaunchsFiles()
    {
        fixtures::writeInstalledSubject(installed("ten.ale"), fixtures::numberedPhrases(10));
        fixtures::writeInstalledSubject(installed("two.ale"), fixtures::numberedPhrases(2));
        QCOMPARE(gather(installedSubject("ten.ale")).size(), 10);
        QFile exchange(Get_Temp_Path() + Exchange_File_Name(session().ExchangeNumber));
        QVERIFY(exchange.open(QIODevice::WriteOnly));
        exchange.close();
        // A longer file at position 1 must not lend its tail to the new, shorter sound.
        QCOMPARE(gather(installedSubject("two.ale")).size(), 2);
        QCOMPARE(contents(soundFile(1)), fixtures::waveBytes(301, 1));
        for (int i = 3; i <= 10; ++i)
            QVERIFY(!QFile::exists(soundFile(i)));
        QVERIFY(!exchange.exists());
    }

    void listeningShowsThePhraseThenPlaysIt()
    {
        QVector<fixtures::PhraseFixture> phrases = fixtures::numberedPhrases(3);
        phrases[1].sound = fixtures::waveBytes(900, 9);
        fixtures::writeInstalledSubject(installed("a.ale"), phrases);
        QString shown, caption;
        int height = 0;
        int playsDuringWait = -1;
        m_main->session.ProductName = QStringLiteral("Parlanta Alemán");
        m_env->clock.onEvents = [&] {
            if (frmMsgBox* box = frmMsgBox::showing(); box && shown.isEmpty()) {
                shown = box->lblMsg->text();
                caption = box->windowTitle();
                height = platform::toTwips(box->height());
                playsDuringWait = static_cast<int>(m_env->sound.files.size());
            }
        };
        Listen_to_Phrase(phrase("a.ale*2*Gesprochen*Tr2*x"), session());
        QCOMPARE(shown, QStringLiteral("Gesprochen"));
        QCOMPARE(caption, QStringLiteral("Parlanta Alemán"));
        QVERIFY(qAbs(height - 1500) <= 15);
        QCOMPARE(playsDuringWait, 0);
        const QString sound = Get_Temp_Path() + "~selectedphrase.wav";
        QCOMPARE(m_env->sound.files.size(), 1);
        QCOMPARE(m_env->sound.files[0], qMakePair(sound, 0));
        QCOMPARE(contents(sound), phrases[1].sound);
        QVERIFY(m_env->clock.ms >= 500);
        QVERIFY(!frmMsgBox::isLoaded());
    }

    void listeningStopsQuietly()
    {
        QVector<fixtures::PhraseFixture> phrases = fixtures::numberedPhrases(2);
        phrases[1].sound = QByteArray();
        fixtures::writeInstalledSubject(installed("a.ale"), phrases);

        // Closed during the wait: no sound.
        m_env->clock.onEvents = [] {
            if (frmMsgBox* box = frmMsgBox::showing())
                box->close();
        };
        Hear_Phrase(phrase("a.ale*1*P1*Tr1*"), session());
        QVERIFY(m_env->sound.files.isEmpty());
        m_env->clock.onEvents = {};

        // A source that is gone, a placeholder, a subject node: nothing at all.
        Listen_to_Phrase(phrase("gone.ale*1*P*T*U"), session());
        Hear_Phrase(SubjectRef::placeholder(), session());
        Hear_Phrase(installedSubject("a.ale"), session());
        QVERIFY(m_env->sound.files.isEmpty());
        QVERIFY(m_env->dialogs.shown.isEmpty());

        // No sound or no such key: the error report and no notice.
        bool noticeShown = false;
        m_env->clock.onEvents = [&] { noticeShown = noticeShown || frmMsgBox::showing(); };
        Listen_to_Phrase(phrase("a.ale*2*P2*Tr2*"), session());
        Listen_to_Phrase(phrase("a.ale*7*P7*Tr7*"), session());
        QCOMPARE(errorReports().size(), 2);
        QVERIFY(errorReports()[0].startsWith("T149\r\n\r\nListen_to_Phrase: "));
        QVERIFY(!noticeShown);
        QVERIFY(m_env->sound.files.isEmpty());
    }
};

QTEST_MAIN(TestStudySet)
#include "tst_studyset.moc"
