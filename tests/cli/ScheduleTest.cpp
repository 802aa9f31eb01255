// The units and the crontab line of the scheduled scan, checked by systemd itself where it is
// installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/Schedule.h"
#include "support/TestSupport.h"

namespace cotalys {
namespace {

TEST(Schedule, TimesAreHoursAndMinutesOfADay) {
    TScheduleTime time;
    ASSERT_TRUE(ParseScheduleTime("07:05", time));
    EXPECT_EQ(time.Hour, 7);
    EXPECT_EQ(time.Minute, 5);
    ASSERT_TRUE(ParseScheduleTime("23:59", time));
    for (const char* bad :
         {"", "7:05", "24:00", "12:60", "12h30", "12:3", "12:305", "-1:00", " 1:00", "ab:cd"}) {
        TScheduleTime untouched;
        EXPECT_FALSE(ParseScheduleTime(bad, untouched)) << bad;
        EXPECT_EQ(untouched.Hour, 18) << bad;
    }
}

TEST(Schedule, UnitsRunTheScanOnWeekdaysAndCatchUpAMissedRun) {
    const std::string timer = ScanTimerText({9, 5});
    EXPECT_NE(timer.find("\n[Timer]\nOnCalendar=Mon..Fri *-*-* 09:05:00\nPersistent=true\n"),
              std::string::npos)
        << timer;
    EXPECT_NE(timer.find("\n[Install]\nWantedBy=timers.target\n"), std::string::npos);
    EXPECT_EQ(ScheduledTimeOf(timer), "09:05");
    EXPECT_EQ(ScheduledTimeOf("[Timer]\nOnCalendar=daily\n"), "");

    EXPECT_NE(
        ScanServiceText("/usr/bin/cotalys")
            .find("\n[Service]\nType=oneshot\nExecStart=\"/usr/bin/cotalys\" scan --notify\n"),
        std::string::npos);
    // Spaces, quotes and "%" in the program's path stay one word and are never specifiers.
    EXPECT_NE(ScanServiceText("/opt/mes \"outils\"/100%/cotalys")
                  .find("ExecStart=\"/opt/mes \\\"outils\\\"/100%%/cotalys\" scan --notify\n"),
              std::string::npos);
}

TEST(Schedule, CrontabLineRunsTheSameScanWithTheSessionBus) {
    EXPECT_EQ(ScanCrontabLine("/usr/bin/cotalys", {18, 15}, 1000),
              "15 18 * * 1-5 DBUS_SESSION_BUS_ADDRESS=unix:path=/run/user/1000/bus "
              "'/usr/bin/cotalys' scan --notify");
    // A quote and "%" (a line break for cron) are escaped for the shell and for cron.
    EXPECT_EQ(ScanCrontabLine("/opt/l'outil/100%/cotalys", {7, 0}, 0),
              "0 7 * * 1-5 DBUS_SESSION_BUS_ADDRESS=unix:path=/run/user/0/bus "
              "'/opt/l'\\''outil/100'\\%'/cotalys' scan --notify");
}

TEST(Schedule, UnitFolderFollowsXdgConfigHome) {
    setenv("XDG_CONFIG_HOME", "/etc/mes-reglages", 1);
    EXPECT_EQ(UserUnitDir(), std::filesystem::path("/etc/mes-reglages/systemd/user"));
    setenv("XDG_CONFIG_HOME", "relatif", 1);
    const std::filesystem::path home = std::getenv("HOME");
    EXPECT_EQ(UserUnitDir(), home / ".config/systemd/user");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(UserUnitDir(), home / ".config/systemd/user");
}

TEST(Schedule, SystemdAcceptsTheUnits) {
    if (std::system("command -v systemd-analyze >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "systemd-analyze absent";
    }
    const test::TempDir folder;
    const auto service = folder.Write(ScanServiceName, ScanServiceText(COTALYS_EXECUTABLE));
    const auto timer = folder.Write(ScanTimerName, ScanTimerText({18, 15}));
    const std::string command = "systemd-analyze verify '" + timer.string() + "' '" +
                                service.string() + "' >'" + (folder.Path() / "out").string() +
                                "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << test::ReadAll(folder.Path() / "out");
}

}  // namespace
}  // namespace cotalys
