#include "gametexts.h"

#include <QDebug>
#include <QDir>

namespace games::texts {

namespace {
    constexpr Text NoArgument { "This activity is started from Parlanta: choose a subject there, then click the "
                                "activity's button.",
        "Esta actividad se inicia desde Parlanta: elige allí un tema y pulsa el botón de la actividad." };
    constexpr Text MissingFile { "The list of phrases for this activity (%1) cannot be found. Please start the "
                                 "activity again from Parlanta.",
        "No se encuentra la lista de frases de esta actividad (%1). Vuelve a iniciar la actividad desde Parlanta." };
    constexpr Text Unreadable { "The list of phrases for this activity (%1) cannot be read: you may not be allowed "
                                "to open it, or the disk may be failing.",
        "No se puede leer la lista de frases de esta actividad (%1): quizá no tengas permiso para abrirla o el disco "
        "esté fallando." };
    constexpr Text TooLarge { "The file %1 is not a list of phrases from Parlanta.",
        "El archivo %1 no es una lista de frases de Parlanta." };
    constexpr Text Truncated { "The list of phrases for this activity is incomplete: it ends before line %1. Please "
                               "start the activity again from Parlanta.",
        "La lista de frases de esta actividad está incompleta: termina antes de la línea %1. Vuelve a iniciar la "
        "actividad desde Parlanta." };
    constexpr Text BadLine { "The list of phrases for this activity is damaged: line %1 is not what Parlanta writes "
                             "there.",
        "La lista de frases de esta actividad está dañada: la línea %1 no es lo que Parlanta escribe en ella." };
    constexpr Text ExtraLines { "The list of phrases for this activity is damaged: it goes on after its last phrase "
                                "(line %1).",
        "La lista de frases de esta actividad está dañada: continúa después de su última frase (línea %1)." };

    constexpr Text DbMissing { "The student database %1 cannot be found.",
        "No se encuentra la base de datos de alumnos %1." };
    constexpr Text DbUnwritable { "The student database %1 cannot be written to: the file or its folder is "
                                  "read-only.",
        "No se puede escribir en la base de datos de alumnos %1: el archivo o su carpeta son de solo lectura." };
    constexpr Text DbLocked { "The student database is in use by another program and stayed locked. Please close "
                              "that program or try again in a moment.",
        "Otro programa está usando la base de datos de alumnos y la mantiene bloqueada. Cierra ese programa o "
        "inténtalo de nuevo dentro de un momento." };
    constexpr Text DbFailed { "The student database %1 cannot be used: it is damaged or not a student database.",
        "No se puede usar la base de datos de alumnos %1: está dañada o no es una base de datos de alumnos." };
}

QString explainExchange(const ExchangeResult& result, const QString& path, Language language)
{
    const QString shown = QDir::toNativeSeparators(path);
    switch (result.problem) {
    case ExchangeProblem::None:
        return {};
    case ExchangeProblem::NoPath:
        return say(language, NoArgument);
    case ExchangeProblem::Missing:
        return say(language, MissingFile).arg(shown);
    case ExchangeProblem::Unreadable:
        qWarning().noquote() << shown + QStringLiteral(": ") + result.detail;
        return say(language, Unreadable).arg(shown);
    case ExchangeProblem::TooLarge:
        return say(language, TooLarge).arg(shown);
    case ExchangeProblem::Truncated:
        return say(language, Truncated).arg(result.line);
    case ExchangeProblem::BadLine:
        return say(language, BadLine).arg(result.line);
    case ExchangeProblem::ExtraLines:
        return say(language, ExtraLines).arg(result.line);
    }
    return {};
}

QString explainSave(const SaveResult& result, const QString& path, Language language)
{
    const QString shown = QDir::toNativeSeparators(path);
    switch (result.status) {
    case SaveStatus::Saved:
        return {};
    case SaveStatus::Missing:
        return say(language, DbMissing).arg(shown);
    case SaveStatus::Unwritable:
        return say(language, DbUnwritable).arg(shown);
    case SaveStatus::Locked:
        return say(language, DbLocked);
    case SaveStatus::Failed:
        qWarning().noquote() << shown + QStringLiteral(": ") + result.detail;
        return say(language, DbFailed).arg(shown);
    }
    return {};
}

}
