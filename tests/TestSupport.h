// Helpers shared by the test suites: the scripted user questions installed for the running test.
#pragma once

#include "platform/UserQuestions.h"
#include <QString>

namespace testing_support {

// The scripted questions of the running test (a fresh one for every test).
platform::ScriptedQuestions& Scripted();
// The test's own empty temporary folder, removed after the test.
QString TempDir();
// A file under tests/data.
QString DataFile(const QString& name);

} // namespace testing_support

#include <ostream>
// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
