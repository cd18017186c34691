#include "platform/lessons/zstdstream.h"

#include <QByteArray>

#include <zstd.h>

namespace lessons {

struct ZstdStream::State
{
    ZSTD_DStream* stream = ZSTD_createDStream();
    QByteArray out = QByteArray(static_cast<qsizetype>(ZSTD_DStreamOutSize()), Qt::Uninitialized);
    ~State() { ZSTD_freeDStream(stream); }
};

ZstdStream::ZstdStream(qint64 limit, Take take)
    : m_state(std::make_unique<State>())
    , m_limit(limit)
    , m_take(std::move(take))
{
}

ZstdStream::~ZstdStream() = default;

bool ZstdStream::feed(QByteArrayView packed)
{
    ZSTD_inBuffer in { packed.data(), static_cast<size_t>(packed.size()), 0 };
    // Runs until the input is used up and the output buffer came back not full (nothing more is pending inside).
    for (;;) {
        ZSTD_outBuffer out { m_state->out.data(), static_cast<size_t>(m_state->out.size()), 0 };
        const size_t result = ZSTD_decompressStream(m_state->stream, &out, &in);
        if (ZSTD_isError(result)) {
            m_problem = QStringLiteral("not zstd data (%1)").arg(QString::fromUtf8(ZSTD_getErrorName(result)));
            return false;
        }
        m_frameOpen = result != 0;
        m_total += static_cast<qint64>(out.pos);
        if (m_total > m_limit) {
            m_problem = QStringLiteral("unpacks to more than the %1 bytes allowed").arg(m_limit);
            return false;
        }
        if (out.pos > 0 && !m_take(QByteArrayView(m_state->out.constData(), static_cast<qsizetype>(out.pos)))) {
            return false;
        }
        if (in.pos == in.size && out.pos < out.size) {
            return true;
        }
    }
}

bool ZstdStream::finish()
{
    if (m_frameOpen) {
        m_problem = QStringLiteral("zstd data cut short");
        return false;
    }
    return true;
}

}
