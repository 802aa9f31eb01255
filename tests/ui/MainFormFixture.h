#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/Core.h"
#include "providers/Providers.h"
#include "quoteserver/QuoteService.h"
#include "support/TestSupport.h"
#include "ui/MainForm.h"
#include "ui/UiTestSupport.h"

namespace cotalys::test {

// The last session of the bundled histories: the clock stands on that day.
inline TDateTime DemoToday() {
    return EncodeDate(2021, 2, 22) + 0.75;
}

// A main window on a fixed clock, temporary documents and window-state folders, recorded
// message boxes and, when asked, the offline quote service on 127.0.0.1 serving a folder of price
// files.
class TMainFormFixture : public testing::Test {
protected:
    void SetUp() override {
        setenv("COTALYS_DOCUMENTS_DIR", FDocuments.Path().c_str(), 1);
        setenv("XDG_STATE_HOME", FState.Path().c_str(), 1);
        SetClock([]() { return DemoToday(); });
        FMessages = std::make_unique<TMessageRecorder>();
    }

    void TearDown() override {
        if (FForm) {
            WaitIdle();
        }
        FForm.reset();
        FServer.reset();
        SetQuoteHost("");
        ResetClock();
        unsetenv("COTALYS_DOCUMENTS_DIR");
        unsetenv("XDG_STATE_HOME");
    }

    // Serves AFolder (data/demo by default) as the quote service.
    void StartQuoteService(const std::filesystem::path& AFolder = DataPath("demo")) {
        TQuoteServiceOptions options;
        options.Folder = AFolder;
        FServer = std::make_unique<TQuoteServer>(TQuoteStore::Load(options));
        const int port = FServer->Start("127.0.0.1", 0);
        SetQuoteHost("http://127.0.0.1:" + std::to_string(port));
    }

    TMainForm& Form() {
        if (!FForm) {
            FForm = std::make_unique<TMainForm>();
            FForm->SetBatchDelayMs(0);
            FForm->show();
        }
        return *FForm;
    }

    template <class T>
    T* Child(const char* AName) {
        T* child = Form().findChild<T*>(QString::fromLatin1(AName));
        EXPECT_NE(child, nullptr) << AName;
        return child;
    }

    // Chooses the source and the location, then loads ASymbol and waits for the outcome.
    void Load(const std::string& ASymbol, int ASource, const std::string& ALocation = "") {
        Child<QLineEdit>("symbol")->setText(QString::fromStdString(ASymbol));
        Child<QComboBox>("source")->setCurrentIndex(ASource);
        Child<QLineEdit>("location")->setText(QString::fromStdString(ALocation));
        Form().LoadClick();
        WaitIdle();
    }

    void WaitIdle() {
        ASSERT_TRUE(WaitFor([this]() { return !FForm->Busy(); }));
    }

    // Makes the window the active one, so that the keyboard focus and shortcuts work.
    void Activate() {
        Form().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form()));
    }

    const std::vector<TShownMessage>& Messages() const { return FMessages->Messages(); }

    TempDir FDocuments;
    TempDir FState;
    TempDir FFiles;
    std::unique_ptr<TMessageRecorder> FMessages;
    std::unique_ptr<TQuoteServer> FServer;
    std::unique_ptr<TMainForm> FForm;
};

}  // namespace cotalys::test
