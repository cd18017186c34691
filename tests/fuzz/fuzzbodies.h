#pragma once

#include <cstddef>
#include <cstdint>

#include <QByteArray>

// The bodies of the fuzz targets. Each runs one input through a reader of bytes from outside the program and
// stops the process when a promise of the reader's interface breaks, so that the fuzzer records the input. The
// libFuzzer targets and the regression test run the same bodies; each returns 0, as libFuzzer asks.
int fuzzNodeTag(const uint8_t* data, size_t size);
int fuzzExchange(const uint8_t* data, size_t size);
int fuzzUpdates(const uint8_t* data, size_t size);
int fuzzSubjectFile(const uint8_t* data, size_t size);

// The input as bytes, not copied: it lives for the body's run.
inline QByteArray fuzzBytes(const uint8_t* data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

inline void fuzzRequire(bool holds, const char* promise)
{
    if (!holds)
        qFatal("Broken promise: %s", promise);
}
