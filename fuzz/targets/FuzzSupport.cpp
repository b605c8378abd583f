#include "FuzzSupport.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace fuzz {

namespace {
platform::ScriptedQuestions* gQuestions = nullptr;
QTemporaryDir* gFolder = nullptr;
} // namespace

void Initialise() {
    static int argc = 1;
    static char name[] = "tallio-fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication* app = new QGuiApplication(argc, argv); // lives for the whole run
    (void)app;
    gFolder = new QTemporaryDir();
    qputenv("XDG_CONFIG_HOME", (gFolder->path() + "/config").toUtf8());
    auto questions = std::make_unique<platform::ScriptedQuestions>();
    gQuestions = questions.get();
    platform::SetQuestions(std::move(questions));
}

platform::ScriptedQuestions& Questions() {
    return *gQuestions;
}

QString WorkFolder() {
    return gFolder->path();
}

void Broken(const char* rule, const QString& detail) {
    std::fprintf(stderr, "Broken rule: %s\n%s\n", rule, qPrintable(detail));
    std::abort();
}

} // namespace fuzz
