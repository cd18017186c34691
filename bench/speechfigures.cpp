// How well the Speak game's comparison tells a phrase said again from another phrase, and how long the learner
// waits for it. The stage's shipped sounds are the references; every phrase is said again by four other voices of
// espeak-ng at other speeds, clean and with white noise at 20 dB SNR. The AUC is the chance that a saying lies
// nearer its own phrase than the other phrase of the most similar length does.

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include <QElapsedTimer>
#include <QTemporaryDir>

#include "bench/figures.h"
#include "bench/measure.h"
#include "bench/raw.h"
#include "bench/school.h"
#include "games/speak/speakround.h"
#include "games/speak/speechaudio.h"
#include "games/speak/speechcompare.h"
#include "games/speak/speechfeatures.h"
#include "platform/database.h"
#include "platform/wholefile.h"
#include "tools/subjecttool/phrasebook.h"
#include "tools/subjecttool/products.h"

namespace bench {

namespace {

    using namespace games;

    const QString CleanFigure = QStringLiteral("speech, same phrase against another, clean: AUC");
    const QString NoisyFigure = QStringLiteral("speech, same phrase against another, 20 dB SNR: AUC");
    const QString LatencyFigure = QStringLiteral("speech, a 3 s saying analysed and compared");
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
        const subjecttool::ProductInfo* product
            = subjecttool::productForExtension(ProgramFolder::layoutOf(stageFolder() + QLatin1Char('/')).extension);
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
                need(platform::writeWholeFile(wave, rows.blob(row, QStringLiteral("bsound"))),
                    QStringLiteral("a shipped sound could not be written"));
                const SpeechAudio reference = readSpeechAudio(wave);
                need(reference.ok(), QStringLiteral("a shipped sound could not be read"));
                phrase.referenceMs = reference.durationMs();
                phrase.reference = speechFeatures(reference.samples);
                for (const Voice& variant : Voices) {
                    subjecttool::Speaker speaker;
                    speaker.wordsPerMinute = variant.wordsPerMinute;
                    const QString failure
                        = subjecttool::speak(speaker, voice + QLatin1String(variant.variant), phrase.text, wave);
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
            const QString failure = subjecttool::speak(subjecttool::Speaker(), voice, said, wave);
            need(failure.isEmpty(), failure);
            const SpeechComparison c = compareSpeech(phrases[i].reference, speechFeatures(readSpeechAudio(wave).samples));
            ++tried;
            marked += c.verdict == SpeechVerdict::Compared && markedWord(text, c, phrases[i].reference) == swapped;
        }
        need(tried > 0, QStringLiteral("no shipped phrase has three words"));
        value(WordFigure,
            QStringLiteral("%1 % of %2 phrases (goal at least 70 %)").arg(100.0 * marked / tried, 0, 'f', 0).arg(tried));
    }

    void latency(const std::vector<Phrase>& phrases)
    {
        // The saying of the phrase nearest three seconds, padded with silence or cut to three seconds: a recording
        // that stopped once the learner fell silent.
        const Phrase* chosen = &phrases.front();
        for (const Phrase& p : phrases) {
            if (std::abs(p.referenceMs - 3000) < std::abs(chosen->referenceMs - 3000))
                chosen = &p;
        }
        std::vector<float> saying = chosen->sayings.front();
        saying.resize(size_t(3 * kSpeechRate), 0.f);
        std::vector<double> runs;
        for (int run = 0; run < std::max(3, settings().repeats); ++run) {
            QElapsedTimer clock;
            clock.start();
            const SpeechComparison c = compareSpeech(chosen->reference, speechFeatures(saying));
            runs.push_back(double(clock.nsecsElapsed()) / 1e6);
            need(c.verdict == SpeechVerdict::Compared, QStringLiteral("the three-second saying was not compared"));
        }
        value(LatencyFigure, QStringLiteral("%1 ms (goal under 300 ms)").arg(median(runs), 0, 'f', 1));
    }

    const Group registered(70, [](const Context&) {
        if (!wantedAny({ CleanFigure, NoisyFigure, LatencyFigure, WordFigure }))
            return;
        const QTemporaryDir work;
        const std::vector<Phrase> phrases = shippedPhrases(work);
        if (wanted(CleanFigure))
            accuracy(phrases, CleanFigure, 0);
        if (wanted(NoisyFigure))
            accuracy(phrases, NoisyFigure, 20);
        if (wanted(LatencyFigure))
            latency(phrases);
        if (wanted(WordFigure))
            markedWords(phrases, work);
    });

}

}
