// Test main: a Qt application on the offscreen platform, and for every test the process as the program
// starts it (every layer's process-wide state put back), a fresh configuration folder, a fresh
// temporary folder and freshly scripted user questions.
#include "TestSupport.h"
#include "core/AppPictures.h"
#include "core/Module1.h"
#include "editor/App.h"

#include "platform/ProcessState.h"
#include "platform/Window.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {
platform::ScriptedQuestions* gScripted = nullptr;
std::unique_ptr<QTemporaryDir> gTemp;

class FreshEnvironment : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { testing_support::StartAsNewTest(); }
    void OnTestEnd(const ::testing::TestInfo&) override {
        // Windows a test left open go now, so the next test starts with none; a modified document
        // would keep the main window open.
        Module1::DirtyFlag = false;
        for (int guard = 0; platform::WindowAt(0) && guard < 100; ++guard)
            platform::WindowAt(0)->Close();
        QCoreApplication::sendPostedEvents(nullptr, 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        gTemp.reset();
    }
};
} // namespace

namespace testing_support {
void StartAsNewTest() {
    // Every test starts from the program's start-up state, whatever ran before it.
    platform::ResetProcessState();
    Module1::ResetGlobals();
    ResetAppPictures();
    App::Reset();
    gTemp = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", (gTemp->path() + "/config").toUtf8());
    auto q = std::make_unique<platform::ScriptedQuestions>();
    gScripted = q.get();
    platform::SetQuestions(std::move(q));
    platform::SetUnattended(true); // a modal window never waits for a user that is not there
    platform::SetQuitAction({});   // there is no main event loop to leave
}
platform::ScriptedQuestions& Scripted() {
    return *gScripted;
}
QString TempDir() {
    return gTemp->path();
}
QString DataFile(const QString& name) {
    return QStringLiteral(TALLIO_TEST_DATA) + "/" + name;
}
} // namespace testing_support

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshEnvironment);
    return RUN_ALL_TESTS();
}
