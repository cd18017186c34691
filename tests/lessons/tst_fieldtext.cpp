#include <QtTest>

#include "platform/lessons/fieldtext.h"

using namespace lessons;

class TestFieldText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleansField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hadImage");
        QTest::addColumn<bool>("hadCloze");
        QTest::addColumn<bool>("hadSound");

        QTest::newRow("plain") << "der Hund"
                               << "der Hund" << false << false << false;
        QTest::newRow("inline tags join") << "Hun<b>d</b> <span style=\"color: red\">bellt</span>"
                                          << "Hund bellt" << false << false << false;
        QTest::newRow("breaks and blocks") << "Guten<br>Tag<div>wie</div>geht's<p>dir</p>"
                                           << "Guten Tag wie geht's dir" << false << false << false;
        QTest::newRow("named entities") << "a&nbsp;&amp;&nbsp;b &lt;c&gt; &quot;d&quot; &apos;e&#39; Stra&szlig;e"
                                        << "a & b <c> \"d\" 'e' Straße" << false << false << false;
        QTest::newRow("numeric entities") << "&#x263A;&#9731; &#x110000; &#0;"
                                          << "☺☃ \uFFFD \uFFFD" << false << false << false;
        QTest::newRow("unknown and lone ampersands") << "Salt & pepper &madeup; &amp;lt;"
                                                     << "Salt & pepper &madeup; &lt;" << false << false << false;
        QTest::newRow("image dropped") << "Hund<img src=\"dog.jpg\" alt=\"a > b\">"
                                       << "Hund" << true << false << false;
        QTest::newRow("script and style dropped")
            << "a<script type=\"x\">if (1 < 2) alert('</b>')</script>b<STYLE>p { }</STYLE>c"
            << "abc" << false << false << false;
        QTest::newRow("comment") << "a<!-- <b>x</b> -->b"
                                 << "ab" << false << false << false;
        QTest::newRow("less than as text") << "1 < 2 and 3 <= 4"
                                           << "1 < 2 and 3 <= 4" << false << false << false;
        QTest::newRow("tag never closed") << "a <b"
                                          << "a <b" << false << false << false;
        QTest::newRow("cloze with hint") << "Der {{c1::Hund::Tier}} bellt"
                                         << "Der Hund bellt" << false << true << false;
        QTest::newRow("clozes nested and marked up") << "{{c1::ein {{c2::<b>großer</b>}} Hund}}"
                                                     << "ein großer Hund" << false << true << false;
        QTest::newRow("sound reference") << "Hund[sound:hund.mp3] "
                                         << "Hund" << false << false << true;
        QTest::newRow("white space") << " \t viele\n\r  Leer&nbsp;&nbsp;zeichen \u2028"
                                     << "viele Leer zeichen" << false << false << false;
        QTest::newRow("encoded markup stays text") << "&lt;b&gt;x&lt;/b&gt;"
                                                   << "<b>x</b>" << false << false << false;
    }

    void cleansField()
    {
        QFETCH(QString, field);
        QTEST(cleanField(field).text, "text");
    }

    void reportsWhatWasDropped_data() { cleansField_data(); }
    void reportsWhatWasDropped()
    {
        QFETCH(QString, field);
        QFETCH(bool, hadImage);
        QFETCH(bool, hadCloze);
        QFETCH(bool, hadSound);
        const CleanText clean = cleanField(field);
        QCOMPARE(clean.hadImage, hadImage);
        QCOMPARE(clean.hadCloze, hadCloze);
        QCOMPARE(clean.hadSound, hadSound);
        QCOMPARE(plainText(field), clean.text);
    }

    void findsSoundReferences_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("names");

        QTest::newRow("tags in order") << "[sound:b.mp3]Hund<br>[sound:a &amp; c.ogg][sound:]"
                                       << QStringList { "b.mp3", "a & c.ogg" };
        QTest::newRow("bare name") << " hund.WAV " << QStringList { "hund.WAV" };
        QTest::newRow("relative path with blanks")
            << "sounds/die katze.flac" << QStringList { "sounds/die katze.flac" };
        QTest::newRow("absolute path") << "/home/t/rec.opus" << QStringList { "/home/t/rec.opus" };
        QTest::newRow("other extensions") << "a.oga" << QStringList { "a.oga" };
        QTest::newRow("not a sound") << "hund.jpg" << QStringList {};
        QTest::newRow("only an extension") << ".wav" << QStringList {};
        QTest::newRow("text") << "der Hund" << QStringList {};
        QTest::newRow("markup around a name") << "<b>hund.wav</b>" << QStringList {};
        QTest::newRow("two lines") << "a.wav\nb.wav" << QStringList {};
    }

    void findsSoundReferences()
    {
        QFETCH(QString, field);
        QTEST(soundReferences(field), "names");
    }
};

QTEST_GUILESS_MAIN(TestFieldText)
#include "tst_fieldtext.moc"
