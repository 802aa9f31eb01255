// The scan's notification text, its log, and the notification sent to a service of the test's own
// on a session bus of its own.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "notify/NotificationServer.h"
#include "notify/Notify.h"
#include "support/TestSupport.h"

namespace cotalys {
namespace {

TScanRow Row(const std::string& ASymbol, TScanStatus AStatus, bool ASelected = false,
             int AShares = 0) {
    TScanRow row;
    row.Symbol = ASymbol;
    row.Status = AStatus;
    row.Selected = ASelected;
    row.Size.Valid = AShares > 0;
    row.Size.Shares = AShares;
    return row;
}

TEST(ScanNotice, TitleCountsTheSignalsAndBodyNamesTheRetainedOnes) {
    const struct {
        const char* Case;
        std::vector<TScanRow> Rows;
        const char* Title;
        const char* Body;
    } cases[] = {
        {"empty scan",
         {},
         "Cotalys : 0 signal(s) ce soir",
         "Aucun signal ; 0 titre(s) a surveiller"},
        {"no signal",
         {Row("AI.PA", TScanStatus::ssWatch), Row("BNP.PA", TScanStatus::ssNone),
          Row("OR.PA", TScanStatus::ssWatch), Row("X.PA", TScanStatus::ssError)},
         "Cotalys : 0 signal(s) ce soir",
         "Aucun signal ; 2 titre(s) a surveiller"},
        {"retained signals",
         {Row("AI.PA", TScanStatus::ssSignal, true, 12), Row("OR.PA", TScanStatus::ssWatch),
          Row("BNP.PA", TScanStatus::ssSignal, false, 40),
          Row("SAN.PA", TScanStatus::ssSignal, true, 7)},
         "Cotalys : 3 signal(s) ce soir",
         "AI.PA : 12 titre(s)\nSAN.PA : 7 titre(s)"},
        {"signals beyond the portfolio",
         {Row("AI.PA", TScanStatus::ssSignal, false, 12), Row("OR.PA", TScanStatus::ssWatch)},
         "Cotalys : 1 signal(s) ce soir",
         "Aucun signal retenu dans le portefeuille (reglages de taille)"},
    };
    for (const auto& c : cases) {
        const TScanNotice notice = ScanNotice(c.Rows);
        EXPECT_EQ(notice.Title, c.Title) << c.Case;
        EXPECT_EQ(notice.Body, c.Body) << c.Case;
    }
}

TEST(ScanLog, LinesReadBackAndForeignLinesAreSkipped) {
    const TScanLogEntry entry{"2021-02-22 18:15:03", 2, 3, 1, 0};
    const std::string line = ScanLogLine(entry);
    EXPECT_EQ(line, "2021-02-22 18:15:03 signaux=2 surveiller=3 erreurs=1 code=0");
    const std::optional<TScanLogEntry> back = ParseScanLogLine(line);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Time, entry.Time);
    EXPECT_EQ(back->Signals, 2);
    EXPECT_EQ(back->Watch, 3);
    EXPECT_EQ(back->Errors, 1);
    EXPECT_EQ(back->ExitCode, 0);
    for (const std::string& foreign :
         {std::string(), std::string("2021-02-30 18:15:03 signaux=2 surveiller=3 erreurs=1 code=0"),
          std::string("2021-02-22 25:15:03 signaux=2 surveiller=3 erreurs=1 code=0"),
          std::string("2021-02-22 18:15:03 signaux=-2 surveiller=3 erreurs=1 code=0"),
          std::string("2021-02-22 18:15:03 signaux=2 surveiller=3 erreurs=1"), line + " suite",
          line + std::string(300, ' '), "21-2-22 18:15:03 " + line.substr(20)}) {
        EXPECT_FALSE(ParseScanLogLine(foreign)) << foreign;
    }
}

TEST(ScanLog, TheTimeOfALineIsTheClocks) {
    SetClock([] { return EncodeDate(2021, 2, 22) + (18 * 3600 + 15 * 60 + 3) / 86400.0; });
    EXPECT_EQ(LocalTimeText(), "2021-02-22 18:15:03");
    ResetClock();
}

TEST(ScanLog, AppendsLinesInANewFolderAndReadsTheLastGoodOne) {
    const test::TempDir folder;
    const std::filesystem::path file = folder.Path() / "etat/cotalys/scan.log";
    EXPECT_FALSE(LastScanLogEntry(file));
    AppendScanLog(file, {"2021-02-22 18:15:03", 2, 3, 0, 0});
    AppendScanLog(file, {"2021-02-23 18:15:09", 0, 4, 40, 1});
    std::ofstream(file, std::ios::app) << "ligne abimee\n";
    const std::optional<TScanLogEntry> last = LastScanLogEntry(file);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->Time, "2021-02-23 18:15:09");
    EXPECT_EQ(last->Errors, 40);
    EXPECT_EQ(last->ExitCode, 1);

    // A log whose place is a folder cannot be written.
    try {
        AppendScanLog(folder.Path(), {"2021-02-22 18:15:03", 0, 0, 0, 0});
        ADD_FAILURE() << "no error";
    } catch (const EScanLogNotWritten& e) {
        EXPECT_EQ(e.Message(), "Journal du scanner non ecrit : " + folder.Path().string());
    }
}

// Why ANotice was not shown, or empty when it was.
std::string NotShownReason(const TScanNotice& ANotice) {
    try {
        SendDesktopNotification(ANotice);
        return "";
    } catch (const ENotificationNotShown& e) {
        return e.Message();
    }
}

// The session bus of the notification is the test's own while it lives.
class DesktopNotificationTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureQtApplication();
        ASSERT_FALSE(FBus.Address().empty()) << "dbus-daemon ne demarre pas";
        setenv("DBUS_SESSION_BUS_ADDRESS", FBus.Address().c_str(), 1);
    }
    void TearDown() override { unsetenv("DBUS_SESSION_BUS_ADDRESS"); }

    // Sends ANotice from another thread while this one answers the bus; the reason it was not
    // shown, or empty.
    std::string SendServed(test::TNotificationServer& AServer, const TScanNotice& ANotice) {
        std::string error;
        std::atomic<bool> done = false;
        std::thread sender([&] {
            error = NotShownReason(ANotice);
            done = true;
        });
        AServer.ServeUntil([&] { return done.load(); });
        sender.join();
        return error;
    }

    test::TSessionBus FBus;
};

TEST_F(DesktopNotificationTest, TheServiceReceivesTitleEscapedBodyAndDesktopEntry) {
    test::TNotificationServer server(FBus.Address());
    ASSERT_TRUE(server.Registered());
    EXPECT_EQ(SendServed(server, {"Cotalys : 1 signal(s) ce soir", "<b>A&B.PA</b> : 3 titre(s)"}),
              "");
    ASSERT_EQ(server.Received().size(), 1u);
    const test::TReceivedNotification& got = server.Received().front();
    EXPECT_EQ(got.AppName, "Cotalys");
    EXPECT_EQ(got.Icon, "cotalys");
    EXPECT_EQ(got.Summary, "Cotalys : 1 signal(s) ce soir");
    // The body may be read as markup: a symbol's characters never become tags.
    EXPECT_EQ(got.Body, "&lt;b&gt;A&amp;B.PA&lt;/b&gt; : 3 titre(s)");
    EXPECT_EQ(got.Hints.value("desktop-entry").toString(), "cotalys");
    EXPECT_TRUE(got.Actions.contains("default"));
}

TEST_F(DesktopNotificationTest, WithoutServiceOrBusItSaysWhyInsteadOfFailing) {
    const std::string error = NotShownReason({"titre", "corps"});
    EXPECT_EQ(error.rfind("Notification non affichee : service de notification absent du bus", 0),
              0u)
        << error;
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
    EXPECT_EQ(NotShownReason({"titre", "corps"}),
              "Notification non affichee : pas de bus de session D-Bus");
}

}  // namespace
}  // namespace cotalys
