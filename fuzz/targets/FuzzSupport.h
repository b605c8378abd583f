// What every fuzz target shares: a Qt application on the offscreen platform, scripted user questions
// (messages are kept, never shown), and a check that stops the run when a rule of the program is broken.
#pragma once

#include "platform/UserQuestions.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace fuzz {

// Made once, before the first input.
void Initialise();
// The scripted questions; their messages are cleared before every input by the targets that read them.
platform::ScriptedQuestions& Questions();
// A folder of the run's own for files that a target writes.
QString WorkFolder();
// Ends the run with what went wrong, so that the input is kept as a finding.
[[noreturn]] void Broken(const char* rule, const QString& detail = {});

inline QByteArray Bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace fuzz

#define TALLIO_FUZZ_TARGET(body)                                                                             \
    extern "C" int LLVMFuzzerInitialize(int*, char***) {                                                     \
        fuzz::Initialise();                                                                                  \
        return 0;                                                                                            \
    }                                                                                                        \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {                      \
        body(data, size);                                                                                    \
        return 0;                                                                                            \
    }
