#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

// One QApplication for the whole test program: widgets, fonts and painters need it. Without a
// display the tests run on the offscreen platform, which the test runner also selects.
class TQtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        FApplication = std::make_unique<QApplication>(FArgc, FArgv);
    }
    void TearDown() override { FApplication.reset(); }

private:
    int FArgc = 1;
    char FName[11] = "test_chart";
    char* FArgv[2] = {FName, nullptr};
    std::unique_ptr<QApplication> FApplication;
};

[[maybe_unused]] ::testing::Environment* const QtEnvironment =
    ::testing::AddGlobalTestEnvironment(new TQtEnvironment);

}  // namespace
