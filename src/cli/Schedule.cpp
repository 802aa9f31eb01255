#include "cli/Schedule.h"

#include <cstdio>

#include "core/Core.h"

namespace cotalys {
namespace {

bool TwoDigits(const std::string& AText, std::size_t AAt, int AMax, int& AValue) {
    const char tens = AText[AAt];
    const char units = AText[AAt + 1];
    if (tens < '0' || tens > '9' || units < '0' || units > '9') {
        return false;
    }
    AValue = (tens - '0') * 10 + (units - '0');
    return AValue <= AMax;
}

// AProgram as one word of an ExecStart line: quoted, with "\" and the quote escaped, and "%"
// doubled so that systemd does not read it as a specifier.
std::string ExecWord(const std::filesystem::path& AProgram) {
    std::string word = "\"";
    for (const char c : AProgram.string()) {
        if (c == '\\' || c == '"') {
            word += '\\';
        } else if (c == '%') {
            word += '%';
        }
        word += c;
    }
    return word + "\"";
}

// AProgram as one word of a shell command in a crontab: single-quoted, an inner quote closed,
// escaped and reopened, and "%" escaped, which cron would turn into a line break.
std::string CronWord(const std::filesystem::path& AProgram) {
    std::string word = "'";
    for (const char c : AProgram.string()) {
        if (c == '\'') {
            word += "'\\''";
        } else if (c == '%') {
            word += "'\\%'";
        } else {
            word += c;
        }
    }
    return word + "'";
}

std::string TimeText(const TScheduleTime& ATime) {
    char text[8] = {};
    std::snprintf(text, sizeof text, "%02d:%02d", ATime.Hour, ATime.Minute);
    return text;
}

}  // namespace

bool ParseScheduleTime(const std::string& AText, TScheduleTime& ATime) {
    TScheduleTime time;
    if (AText.size() != 5 || AText[2] != ':' || !TwoDigits(AText, 0, 23, time.Hour) ||
        !TwoDigits(AText, 3, 59, time.Minute)) {
        return false;
    }
    ATime = time;
    return true;
}

std::filesystem::path UserUnitDir() {
    return ConfigHome() / "systemd" / "user";
}

std::string ScanServiceText(const std::filesystem::path& AProgram) {
    return "[Unit]\n"
           "Description=Cotalys : scanner du jour du CAC 40 et notification\n"
           "\n"
           "[Service]\n"
           "Type=oneshot\n"
           "ExecStart=" +
           ExecWord(AProgram) + " scan --notify\n";
}

std::string ScanTimerText(const TScheduleTime& ATime) {
    return "[Unit]\n"
           "Description=Cotalys : scanner du jour apres la cloture, du lundi au vendredi a " +
           TimeText(ATime) +
           "\n"
           "\n"
           "[Timer]\n"
           "OnCalendar=Mon..Fri *-*-* " +
           TimeText(ATime) +
           ":00\n"
           "Persistent=true\n"
           "\n"
           "[Install]\n"
           "WantedBy=timers.target\n";
}

std::string ScanCrontabLine(const std::filesystem::path& AProgram, const TScheduleTime& ATime,
                            unsigned AUserId) {
    return Format(
        "%d %d * * 1-5 DBUS_SESSION_BUS_ADDRESS=unix:path=/run/user/%d/bus %s scan "
        "--notify",
        ATime.Minute, ATime.Hour, AUserId, CronWord(AProgram));
}

std::string ScheduledTimeOf(const std::string& ATimerText) {
    const std::string key = "OnCalendar=Mon..Fri *-*-* ";
    const std::size_t at = ATimerText.find(key);
    TScheduleTime time;
    if (at == std::string::npos ||
        !ParseScheduleTime(ATimerText.substr(at + key.size(), 5), time)) {
        return "";
    }
    return TimeText(time);
}

}  // namespace cotalys
