// How well the Speak game's comparison tells a phrase said again from another phrase, and how long the learner
// waits for it. The stage's shipped sounds are the references; every phrase is said again by four other voices of
// espeak-ng at other speeds, clean and with white noise at 20 dB SNR. The AUC is the chance that a saying lies
// nearer its own phrase than the other phrase of the most similar length does. The learner's wait is measured
// twice: the analysis alone, and in the game's own window from the end of the recording to the result painted.

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEvent>
#include <QTemporaryDir>

#include <valgrind/callgrind.h>

#include "bench/figures.h"
#include "bench/measure.h"
#include "bench/raw.h"
#include "bench/school.h"
#include "games/speak/pitchcurves.h"
#include "games/speak/speakround.h"
#include "games/speak/speaktexts.h"
#include "games/speak/speakwindow.h"
#include "games/speak/speechaudio.h"
#include "games/speak/speechcapture.h"
#include "games/speak/speechcompare.h"
#include "games/speak/speechfeatures.h"
#include "platform/database.h"
#include "platform/lessons/products.h"
#include "platform/lessons/speaker.h"
#include "platform/wholefile.h"

namespace bench {

namespace {

    using namespace games;

    const QString CleanFigure = QStringLiteral("speech, same phrase against another, clean: AUC");
    const QString NoisyFigure = QStringLiteral("speech, same phrase against another, 20 dB SNR: AUC");
    const QString LatencyFigure = QStringLiteral("speech, a 3 s saying analysed and compared");
    const QString ScreenFigure = QStringLiteral("speech, a 3 s saying's score and curves on screen");
    const QString WordFigure = QStringLiteral("speech, the marked word is the one said differently");

    // Other voices than the shipped sounds' own, at 0.8 to 1.25 times its 140 words a minute.
    struct Voice
    {
        const char* variant;
        int wordsPerMinute;
    };
    constexpr Voice Voices[] = { { "+m3", 112 }, { "+f2", 130 }, { "+f4", 155 }, { "+m7", 175 } };

    struct Phrase
    {
        QString text;
        QByteArray sound; // the shipped WAVE
        SpeechFeatures reference;
        qint64 referenceMs = 0;
        std::vector<std::vector<float>> sayings; // one a voice
    };

    std::vector<float> withNoise(const std::vector<float>& samples, double snrDb, std::mt19937& random)
    {
        double power = 0;
        for (float s : samples)
            power += double(s) * s;
        power /= double(std::max<size_t>(1, samples.size()));
        std::normal_distribution<float> noise(0.f, float(std::sqrt(power / std::pow(10.0, snrDb / 10))));
        std::vector<float> noisy(samples);
        for (float& s : noisy)
            s += noise(random);
        return noisy;
    }

    // The espeak-ng voice of the stage's product.
    QString productVoice()
    {
        const lessons::ProductInfo* product
            = lessons::productForExtension(ProgramFolder::layoutOf(stageFolder() + QLatin1Char('/')).extension);
        need(product != nullptr, QStringLiteral("the stage's product is not known"));
        return product->voice;
    }

    std::vector<Phrase> shippedPhrases(const QTemporaryDir& work)
    {
        const ProgramFolder::Layout layout = ProgramFolder::layoutOf(stageFolder() + QLatin1Char('/'));
        const QString voice = productVoice();
        const QString wave = work.filePath(QStringLiteral("sound.wav"));
        std::vector<Phrase> phrases;
        for (const QString& name : raw::list(layout.installed, QStringLiteral("*.") + layout.extension)) {
            const platform::Recordset rows = platform::Database::openFile(layout.installed + name)
                                                 .query(QStringLiteral("SELECT tPhrase, bsound FROM tblPhrases"));
            for (int row = 0; row < rows.count(); ++row) {
                Phrase phrase;
                phrase.text = rows.text(row, QStringLiteral("tPhrase"));
                phrase.sound = rows.blob(row, QStringLiteral("bsound"));
                need(platform::writeWholeFile(wave, phrase.sound),
                    QStringLiteral("a shipped sound could not be written"));
                const SpeechAudio reference = readSpeechAudio(wave);
                need(reference.ok(), QStringLiteral("a shipped sound could not be read"));
                phrase.referenceMs = reference.durationMs();
                phrase.reference = speechFeatures(reference.samples);
                for (const Voice& variant : Voices) {
                    lessons::Speaker speaker;
                    speaker.wordsPerMinute = variant.wordsPerMinute;
                    const QString failure
                        = lessons::speak(speaker, voice + QLatin1String(variant.variant), phrase.text, wave);
                    need(failure.isEmpty(), failure);
                    phrase.sayings.push_back(readSpeechAudio(wave).samples);
                }
                phrases.push_back(std::move(phrase));
            }
        }
        need(phrases.size() >= 2, QStringLiteral("the stage holds no shipped phrases"));
        return phrases;
    }

    // The other phrase whose sound is nearest in length: the hardest to tell apart by length alone.
    size_t similarInLength(const std::vector<Phrase>& phrases, size_t i)
    {
        size_t best = i == 0 ? 1 : 0;
        for (size_t j = 0; j < phrases.size(); ++j) {
            if (j != i
                && std::abs(phrases[j].referenceMs - phrases[i].referenceMs)
                    < std::abs(phrases[best].referenceMs - phrases[i].referenceMs))
                best = j;
        }
        return best;
    }

    double cost(const SpeechFeatures& reference, const SpeechFeatures& saying)
    {
        const SpeechComparison c = compareSpeech(reference, saying);
        return c.verdict == SpeechVerdict::Compared ? c.meanCost : std::numeric_limits<double>::infinity();
    }

    // The area under the ROC curve of "same phrase" by a cost that is lower for the same phrase: the share of
    // (same, other) pairs in which the same phrase costs less, ties counting half.
    double auc(const std::vector<double>& same, const std::vector<double>& other)
    {
        double wins = 0;
        for (double s : same) {
            for (double o : other)
                wins += s < o ? 1.0 : (s == o ? 0.5 : 0.0);
        }
        return wins / (double(same.size()) * double(other.size()));
    }

    void accuracy(const std::vector<Phrase>& phrases, const QString& figure, double snrDb)
    {
        std::mt19937 random(7);
        std::vector<double> same;
        std::vector<double> other;
        for (size_t i = 0; i < phrases.size(); ++i) {
            const Phrase& lookalike = phrases[similarInLength(phrases, i)];
            for (const std::vector<float>& saying : phrases[i].sayings) {
                const SpeechFeatures said = speechFeatures(snrDb > 0 ? withNoise(saying, snrDb, random) : saying);
                same.push_back(cost(phrases[i].reference, said));
                other.push_back(cost(lookalike.reference, said));
            }
        }
        value(figure,
            QStringLiteral("%1 (goal at least %2; %3 phrases, %4 sayings each)")
                .arg(auc(same, other), 0, 'f', 3)
                .arg(snrDb > 0 ? QStringLiteral("0.90") : QStringLiteral("0.95"))
                .arg(phrases.size())
                .arg(std::size(Voices)));
    }

    // Each phrase of three words or more said by another voice with one of its words swapped for a word of another
    // phrase: the share in which the game marks that word for practice.
    void markedWords(const std::vector<Phrase>& phrases, const QTemporaryDir& work)
    {
        const QString voice = productVoice() + QLatin1String(Voices[1].variant);
        const QString wave = work.filePath(QStringLiteral("swapped.wav"));
        int tried = 0;
        int marked = 0;
        for (size_t i = 0; i < phrases.size(); ++i) {
            const QString& text = phrases[i].text;
            const QVector<PhraseWord> words = phraseWords(text);
            if (words.size() < 3)
                continue;
            const int swapped = int(i % size_t(words.size())); // first, middle and last words alike
            const QString own = text.mid(words[swapped].from, words[swapped].length);
            // The longest word of the next phrase that is another word.
            const QString& donor = phrases[(i + 1) % phrases.size()].text;
            QString replacement;
            for (const PhraseWord& w : phraseWords(donor)) {
                const QString candidate = donor.mid(w.from, w.length);
                if (candidate.compare(own, Qt::CaseInsensitive) != 0 && candidate.size() > replacement.size())
                    replacement = candidate;
            }
            const QString said = text.left(words[swapped].from) + replacement
                + text.mid(words[swapped].from + words[swapped].length);
            const QString failure = lessons::speak(lessons::Speaker(), voice, said, wave);
            need(failure.isEmpty(), failure);
            const SpeechComparison c = compareSpeech(phrases[i].reference, speechFeatures(readSpeechAudio(wave).samples));
            ++tried;
            marked += c.verdict == SpeechVerdict::Compared && markedWord(text, c, phrases[i].reference) == swapped;
        }
        need(tried > 0, QStringLiteral("no shipped phrase has three words"));
        value(WordFigure,
            QStringLiteral("%1 % of %2 phrases (goal at least 70 %)").arg(100.0 * marked / tried, 0, 'f', 0).arg(tried));
    }

    // The saying of the phrase nearest three seconds, padded with silence or cut to three seconds: a recording that
    // stopped once the learner fell silent.
    struct ThreeSeconds
    {
        const Phrase* phrase = nullptr;
        std::vector<float> saying;
    };

    ThreeSeconds threeSeconds(const std::vector<Phrase>& phrases)
    {
        ThreeSeconds three { &phrases.front(), {} };
        for (const Phrase& p : phrases) {
            if (std::abs(p.referenceMs - 3000) < std::abs(three.phrase->referenceMs - 3000))
                three.phrase = &p;
        }
        three.saying = three.phrase->sayings.front();
        three.saying.resize(size_t(3 * kSpeechRate), 0.f);
        return three;
    }

    // dumpAs: under callgrind, the label of the instructions counted.
    double analysisMs(const ThreeSeconds& three, const QByteArray& dumpAs = {})
    {
        QElapsedTimer clock;
        clock.start();
        if (!dumpAs.isEmpty())
            CALLGRIND_ZERO_STATS;
        const SpeechComparison c = compareSpeech(three.phrase->reference, speechFeatures(three.saying));
        if (!dumpAs.isEmpty())
            CALLGRIND_DUMP_STATS_AT(dumpAs.constData());
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        need(c.verdict == SpeechVerdict::Compared, QStringLiteral("the three-second saying was not compared"));
        return ms;
    }

    void latency(const ThreeSeconds& three)
    {
        std::vector<double> runs;
        for (int run = 0; run < std::max(3, settings().repeats); ++run)
            runs.push_back(analysisMs(three));
        value(LatencyFigure, QStringLiteral("%1 ms (the analysis alone)").arg(median(runs), 0, 'f', 1));
    }

    // Counts the paints a widget is sent; a paint has ended once the event loop has returned from delivering it.
    class Paints : public QObject
    {
    public:
        explicit Paints(QWidget* widget) { widget->installEventFilter(this); }
        int count = 0;

    protected:
        bool eventFilter(QObject*, QEvent* event) override
        {
            count += event->type() == QEvent::Paint;
            return false;
        }
    };

    void runEventsUntil(const std::function<bool()>& done, const QString& what)
    {
        const QDeadlineTimer deadline(10000);
        while (!done()) {
            need(!deadline.hasExpired(), what);
            QCoreApplication::processEvents();
        }
    }

    // One try in a fresh Speak window, shown as the game shows it, with the saying heard through the test hook: the
    // time from the recording's end until the window has painted the try's score and curves. The baseline runs
    // just before the try, with the window shown and settled, so that both sides meet the same process.
    double onScreenMs(const GameContext& context, const std::function<void()>& baseline, const QByteArray& dumpAs = {})
    {
        SpeakWindow window(context);
        auto* curves = window.findChild<PitchCurves*>();
        need(curves != nullptr, QStringLiteral("the Speak window has no curves"));
        const Paints paints(curves);
        window.show();
        runEventsUntil([&] { return paints.count > 0; }, QStringLiteral("the Speak window was never painted"));
        baseline();
        QElapsedTimer clock;
        int paintsBefore = 0;
        QObject::connect(&window, &SpeakWindow::recordingEnded, [&] {
            paintsBefore = paints.count;
            clock.start();
            if (!dumpAs.isEmpty())
                CALLGRIND_ZERO_STATS;
        });
        window.toggleRecording();
        runEventsUntil([&] { return clock.isValid() && paints.count > paintsBefore; },
            QStringLiteral("the Speak window did not paint the try"));
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        if (!dumpAs.isEmpty())
            CALLGRIND_DUMP_STATS_AT(dumpAs.constData());
        need(window.lastComparison().verdict == SpeechVerdict::Compared && !curves->empty(),
            QStringLiteral("the Speak window did not compare the saying"));
        need(readSpeechAudio(window.recordingFile()).durationMs() >= 2900,
            QStringLiteral("the Speak window stopped the recording before its three seconds"));
        return ms;
    }

    void onScreen(const ThreeSeconds& three, const QTemporaryDir& work)
    {
        GameContext context { speak::activity(), {}, Language::English, work.filePath(QStringLiteral("~prl1.txt")) };
        platform::exchange::Phrase shown;
        shown.tPhrase = three.phrase->text;
        shown.soundFile = work.filePath(QStringLiteral("model.wav"));
        context.exchange.phrases = { shown };
        const QString saying = work.filePath(QStringLiteral("saying.wav"));
        need(platform::writeWholeFile(shown.soundFile, three.phrase->sound)
                && platform::writeWholeFile(saying, speechWave(three.saying)),
            QStringLiteral("the Speak window's sounds could not be written"));
        qputenv(SpeakCaptureVariable, saying.toUtf8());
        // The window's try and the analysis alone, alternately, after a warm-up of each; under callgrind one of
        // each is counted after the warm-up.
        std::vector<double> measured;
        std::vector<double> baseline;
        const int runs = settings().callgrind ? 1 : settings().repeats;
        for (int run = 0; run <= runs; ++run) {
            if (run > 0 && settings().callgrind) {
                onScreenMs(
                    context, [&] { analysisMs(three, (ScreenFigure + QStringLiteral(" (baseline)")).toUtf8()); },
                    ScreenFigure.toUtf8());
                continue;
            }
            double analysis = 0;
            const double ms = onScreenMs(context, [&] { analysis = analysisMs(three); });
            if (run > 0) {
                measured.push_back(ms);
                baseline.push_back(analysis);
            }
        }
        qunsetenv(SpeakCaptureVariable);
        if (settings().callgrind)
            value(ScreenFigure, QStringLiteral("counted"));
        else
            print({ ScreenFigure, median(measured), median(baseline) });
    }

    const Group registered(70, [](const Context&) {
        if (!wantedAny({ CleanFigure, NoisyFigure, LatencyFigure, ScreenFigure, WordFigure }))
            return;
        const QTemporaryDir work;
        const std::vector<Phrase> phrases = shippedPhrases(work);
        if (wanted(CleanFigure))
            accuracy(phrases, CleanFigure, 0);
        if (wanted(NoisyFigure))
            accuracy(phrases, NoisyFigure, 20);
        if (wanted(LatencyFigure))
            latency(threeSeconds(phrases));
        if (wanted(ScreenFigure))
            onScreen(threeSeconds(phrases), work);
        if (wanted(WordFigure))
            markedWords(phrases, work);
    });
}

}
