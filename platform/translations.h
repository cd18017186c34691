#pragma once

#include <QString>

class QCoreApplication;

namespace platform {

// Loads the toolkit's own translations (standard buttons, dialogs, the text boxes' context menu) for an
// interface language given as an ISO 639-1 code ("es"). English needs none. The translator stays installed
// for the life of the application. False when the language has a catalogue the system does not ship.
bool installToolkitTranslations(QCoreApplication& app, const QString& language);

}
