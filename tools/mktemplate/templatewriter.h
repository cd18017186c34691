#pragma once

#include <QString>

#include "templatesources.h"

namespace mktemplate {

// Writes the template database to path. The database is built in a temporary file beside path and renamed over it
// only when complete, so a failed run leaves whatever was at path before. Returns "" on success, else the reason.
QString writeTemplate(const TemplateSources& sources, const QString& path);

}
