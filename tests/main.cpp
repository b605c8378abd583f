// Test main: a Qt application on the offscreen platform, and for every test a fresh configuration
// folder, a fresh temporary folder and freshly scripted user questions.
#include "TestSupport.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {
platform::ScriptedQuestions* gScripted = nullptr;
std::unique_ptr<QTemporaryDir> gTemp;

class FreshEnvironment : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        gTemp = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", (gTemp->path() + "/config").toUtf8());
        auto q = std::make_unique<platform::ScriptedQuestions>();
        gScripted = q.get();
        platform::SetQuestions(std::move(q));
    }
    void OnTestEnd(const ::testing::TestInfo&) override { gTemp.reset(); }
};
} // namespace

namespace testing_support {
platform::ScriptedQuestions& Scripted() { return *gScripted; }
QString TempDir() { return gTemp->path(); }
QString DataFile(const QString& name) { return QStringLiteral(TALLIO_TEST_DATA) + "/" + name; }
} // namespace testing_support

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshEnvironment);
    return RUN_ALL_TESTS();
}
