#include "lessoncommands.h"

#include <cstdio>

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "platform/lessons/ankipackage.h"
#include "platform/lessons/kvtml.h"
#include "platform/lessons/lessonexport.h"
#include "platform/lessons/lessonimport.h"
#include "platform/lessons/products.h"

using namespace lessons;

namespace {

void print(const Outcome& outcome)
{
    for (const QString& line : outcome.errors)
        std::fprintf(stderr, "error: %s\n", line.toLocal8Bit().constData());
    for (const QString& line : outcome.warnings)
        std::fprintf(stderr, "warning: %s\n", line.toLocal8Bit().constData());
}

// The product whose subject files are in folder, when they are all of one product.
QString productOfFolder(const QString& folder)
{
    QSet<QString> codes;
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files)) {
        if (const ProductInfo* product = productForExtension(file.suffix()))
            codes.insert(product->programCode);
    }
    return codes.size() == 1 ? *codes.begin() : QString();
}

// Applies "role=field,..." to mapping; empty when it could, otherwise why not.
QString applyMap(const QString& map, const QStringList& fieldNames, FieldMapping& mapping)
{
    for (const QString& entry : map.split(u',', Qt::SkipEmptyParts)) {
        const QString role = entry.section(u'=', 0, 0).trimmed();
        const QString field = entry.section(u'=', 1).trimmed();
        int* slot = role == QLatin1String("phrase") ? &mapping.phrase
            : role == QLatin1String("translation")  ? &mapping.translation
            : role == QLatin1String("translation2") ? &mapping.translation2
            : role == QLatin1String("sound")        ? &mapping.sound
                                                    : nullptr;
        if (!slot || !entry.contains(u'='))
            return QStringLiteral("--map takes phrase=, translation=, translation2= and sound=, not \"%1\"").arg(entry);
        bool number = false;
        const int n = field.toInt(&number);
        int index = number ? n - 1 : int(fieldNames.indexOf(field));
        if (field == QLatin1String("none"))
            index = -1;
        else if (index < 0 || index >= fieldNames.size())
            return QStringLiteral("the deck has no field %1; its fields are %2")
                .arg(field, fieldNames.isEmpty() ? QStringLiteral("none") : fieldNames.join(QStringLiteral(", ")));
        *slot = index;
    }
    return {};
}

void printPreview(const Deck& deck, const FieldMapping& mapping, bool speakMissing)
{
    std::printf("%s: %lld notes; fields:\n", deck.path.toLocal8Bit().constData(), qlonglong(deck.notes.size()));
    const QList<QPair<int, const char*>> roles { { mapping.phrase, "phrase" }, { mapping.translation, "translation" },
        { mapping.translation2, "translation2" }, { mapping.sound, "sound" } };
    for (int i = 0; i < deck.fieldNames.size(); ++i) {
        QStringList as;
        for (const auto& [index, role] : roles) {
            if (index == i)
                as << QLatin1String(role);
        }
        std::printf("  %d %s%s\n", i + 1, deck.fieldNames[i].toLocal8Bit().constData(),
            as.isEmpty() ? "" : qPrintable(QStringLiteral(" -> ") + as.join(QStringLiteral(", "))));
    }
    for (const ImportedPhrase& p : previewPhrases(deck, mapping, 10)) {
        const char* sound = p.origin == ImportedPhrase::Sound::FromDeck ? "sound from the deck"
            : speakMissing                                              ? "sound spoken by espeak-ng"
                                                                        : "no sound";
        std::printf("%s: %s | %s | %s | %s\n", p.where.toLocal8Bit().constData(), p.phrase.toLocal8Bit().constData(),
            p.translation.toLocal8Bit().constData(), p.translation2.toLocal8Bit().constData(), sound);
    }
}

}

int wrongUsage(const QString& message)
{
    std::fprintf(stderr, "parlanta-subject: %s\nTry 'parlanta-subject --help'.\n", message.toLocal8Bit().constData());
    return 2;
}

int importLessons(const ImportRequest& request)
{
    const QString code = request.programCode.isEmpty() ? productOfFolder(request.folder) : request.programCode;
    if (code.isEmpty() && !request.preview)
        return wrongUsage(QStringLiteral("%1 holds no product's subjects to go by; give --code").arg(request.folder));
    const Deck deck = readDeck(request.deckPath);
    print(deck.outcome);
    if (!deck.outcome.ok())
        return 1;
    FieldMapping mapping = guessMapping(deck, code);
    if (const QString problem = applyMap(request.map, deck.fieldNames, mapping); !problem.isEmpty())
        return wrongUsage(QStringLiteral("%1: %2").arg(request.deckPath, problem));
    if (request.preview) {
        printPreview(deck, mapping, request.speakMissing);
        return 0;
    }
    const ImportPlan plan = planImport(deck, { mapping, code, request.speakMissing, {} });
    Outcome outcome = plan.outcome;
    QStringList written;
    if (outcome.ok())
        outcome.merge(writeImport(plan, request.folder, {}, &written));
    print(outcome);
    if (!outcome.ok()) {
        std::fprintf(stderr, "Nothing was written to %s.\n", request.folder.toLocal8Bit().constData());
        return 1;
    }
    for (int i = 0; i < written.size(); ++i)
        std::printf("%s: %lld phrases\n", QDir(request.folder).filePath(written[i]).toLocal8Bit().constData(),
            qlonglong(plan.subjects[i].phrases.size()));
    return 0;
}

int exportLessons(const ExportRequest& request)
{
    if (request.subjects.isEmpty())
        return wrongUsage(QStringLiteral("export takes one or more subject files"));
    if (request.ankiPath.isEmpty() == request.kvtmlPath.isEmpty())
        return wrongUsage(QStringLiteral("export writes one file: give either --anki or --kvtml"));
    const ProductInfo* product = request.programCode.isEmpty()
        ? productForExtension(QFileInfo(request.subjects.first()).suffix())
        : findProduct(request.programCode);
    if (!product)
        return wrongUsage(
            QStringLiteral("%1 has no product's subject extension; give --code").arg(request.subjects[0]));
    Outcome outcome;
    const QList<Lesson> lessons = readLessons(request.subjects, &outcome);
    const QString output = request.ankiPath.isEmpty() ? request.kvtmlPath : request.ankiPath;
    const QString title = QFileInfo(output).completeBaseName();
    if (outcome.ok()) {
        outcome.merge(request.ankiPath.isEmpty()
                ? writeKvtml(lessons, languagesOf(*product), title, output, title + QStringLiteral("_sounds"))
                : writeAnkiPackage(lessons, title, languagesOf(*product), output));
    }
    print(outcome);
    if (!outcome.ok()) {
        std::fprintf(stderr, "%s was not written.\n", output.toLocal8Bit().constData());
        return 1;
    }
    std::printf("%s: %lld subjects\n", output.toLocal8Bit().constData(), qlonglong(lessons.size()));
    return 0;
}
