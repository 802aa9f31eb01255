#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "scanner/Scanner.h"

namespace cotalys {

// The daily scan run on its own after the close: the systemd user service and timer that start
// "cotalys scan --notify" on weekdays, or the equivalent crontab line where there is no systemd
// user session. Nothing here runs systemd: these are the texts and the places of the files.

// The time of day of the scheduled scan, local time.
struct TScheduleTime {
    int Hour = 18;
    int Minute = 15;
};

// "HH:MM" (00:00 to 23:59) read into ATime; false for anything else.
bool ParseScheduleTime(const std::string& AText, TScheduleTime& ATime);

// The systemd user unit folder: "systemd/user" under the configuration base (ConfigHome).
std::filesystem::path UserUnitDir();
inline constexpr const char* ScanServiceName = "cotalys-scan.service";
inline constexpr const char* ScanTimerName = "cotalys-scan.timer";

// The one-shot service that runs AProgram's scan with its notification.
std::string ScanServiceText(const std::filesystem::path& AProgram);
// The timer that starts the service on weekdays at ATime, catching up a missed run at the next
// start of the user's session (Persistent=true).
std::string ScanTimerText(const TScheduleTime& ATime);
// The crontab line of the same run; AUserId names the user's session bus, so that the
// notification reaches the desktop.
std::string ScanCrontabLine(const std::filesystem::path& AProgram, const TScheduleTime& ATime,
                            unsigned AUserId);
// "18:15" as the timer written in ATimerText runs it; empty when it holds no OnCalendar line.
std::string ScheduledTimeOf(const std::string& ATimerText);

// The end of "scan --notify": the desktop notification of ARows (a line on AErr when it cannot
// be shown) and the line of the run, with its exit code AExitCode, appended to the scan log (a
// line on AErr when it cannot be written). Neither changes the exit code.
void NotifyScanEnd(const std::vector<TScanRow>& ARows, int AExitCode, std::ostream& AErr);

// The "schedule" subcommand: plan the scan (at Time), stop it, or say how it stands.
enum class TScheduleAction { scEnable, scDisable, scStatus };

struct TScheduleOptions {
    TScheduleAction Action = TScheduleAction::scStatus;
    std::string Time = "18:15";
};
int ScheduleCommand(const TScheduleOptions& AOptions, std::ostream& AOut, std::ostream& AErr);

}  // namespace cotalys
