#include <QCoreApplication>

#include "tests/fuzz/fuzzbodies.h"

// The readers use Qt's file and text classes, which expect an application object; it lives as long as the run.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    new QCoreApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return PARLANTA_FUZZ_BODY(data, size); }
