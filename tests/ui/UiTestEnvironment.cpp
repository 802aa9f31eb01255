#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "ui/WindowFont.h"

namespace {

// Widgets need one application object for the whole test program; gtest_main owns main(), so
// a global environment creates it before the first test and deletes it after the last.
class TQtEnvironment : public testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_ui";
        static char* argv[] = {name, nullptr};
        cotalys::InstallFontSubstitutes();
        FApp = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { FApp.reset(); }

private:
    std::unique_ptr<QApplication> FApp;
};

const testing::Environment* const QtEnvironment =
    testing::AddGlobalTestEnvironment(new TQtEnvironment);

}  // namespace
