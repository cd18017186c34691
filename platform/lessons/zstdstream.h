#pragma once

#include <functional>
#include <memory>

#include <QByteArrayView>
#include <QString>

namespace lessons {

// Unpacks zstd frames fed a piece at a time and hands on what they hold, a piece at a time, so that neither side
// of a collection of a gigabyte need be held whole. The frames need not declare their size.
class ZstdStream
{
public:
    using Take = std::function<bool(QByteArrayView)>;
    // limit: the most bytes the frames may unpack to; take as in ZipArchive::stream.
    ZstdStream(qint64 limit, Take take);
    ~ZstdStream();
    ZstdStream(const ZstdStream&) = delete;
    ZstdStream& operator=(const ZstdStream&) = delete;

    // False with problem() set when the bytes are not zstd, unpack past the limit or take refuses.
    bool feed(QByteArrayView packed);
    // False when the last frame was cut short.
    bool finish();
    QString problem() const { return m_problem; }
    // Where take refuses, it leaves its reason here.
    void setProblem(const QString& problem) { m_problem = problem; }

private:
    struct State;
    std::unique_ptr<State> m_state;
    qint64 m_limit;
    qint64 m_total = 0;
    bool m_frameOpen = false;
    Take m_take;
    QString m_problem;
};

}
