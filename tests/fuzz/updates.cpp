#include "common/updates.h"
#include "tests/fuzz/fuzzbodies.h"

int fuzzUpdates(const uint8_t* data, size_t size)
{
    const QByteArray text = fuzzBytes(data, size);
    const QString line = Last_Line(text);
    fuzzRequire(
        !line.contains(QLatin1Char('\n')) && !line.contains(QLatin1Char('\r')), "the last line holds no line end");
    const UpdateLine update = Parse_Update_Line(line);
    fuzzRequire(update.valid == line.contains(QLatin1Char(',')), "only a line with a comma is update information");
    fuzzRequire(update.message == update.message.trimmed() && !update.message.contains(QLatin1Char(',')),
        "the message is the second field, trimmed");
    return 0;
}
