#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Schedule.h"
#include "core/Core.h"
#include "notify/Notify.h"

extern char** environ;

namespace cotalys {
namespace {

// What a child process printed (output and errors together) and how it ended: its exit code, or
// -1 when it could not start or did not exit by itself.
struct TChildResult {
    int ExitCode = -1;
    std::string Output;
};

// Runs "systemctl --user" with AArgs, found on PATH, and waits for it.
TChildResult RunSystemctl(const std::vector<std::string>& AArgs) {
    std::vector<std::string> args = {"systemctl", "--user"};
    args.insert(args.end(), AArgs.begin(), AArgs.end());
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    TChildResult result;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    char buffer[4096];
    for (ssize_t got = 0; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        result.Output.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    if (spawned != 0) {
        result.Output = "systemctl introuvable";
        return result;
    }
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        result.ExitCode = WEXITSTATUS(status);
    }
    return result;
}

// The first line of AText, without its line break.
std::string FirstLine(const std::string& AText) {
    return AText.substr(0, AText.find('\n'));
}

std::filesystem::path RunningProgram() {
    std::error_code ec;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? ExecutableDir() / "cotalys" : program;
}

int EnableSchedule(const TScheduleOptions& AOptions, std::ostream& AOut, std::ostream& AErr) {
    TScheduleTime time;
    if (!ParseScheduleTime(AOptions.Time, time)) {
        throw EUsageError("Heure invalide pour --time : " + AOptions.Time +
                          " (attendu HH:MM, de 00:00 a 23:59)");
    }
    const std::filesystem::path folder = UserUnitDir();
    const std::filesystem::path program = RunningProgram();
    std::filesystem::create_directories(folder);
    WriteFileAtomically(folder / ScanServiceName, ScanServiceText(program));
    WriteFileAtomically(folder / ScanTimerName, ScanTimerText(time));
    AOut << "Unites ecrites : " << (folder / ScanServiceName).string() << "\n"
         << "                 " << (folder / ScanTimerName).string() << "\n";
    TChildResult result = RunSystemctl({"daemon-reload"});
    if (result.ExitCode == 0) {
        result = RunSystemctl({"enable", "--now", ScanTimerName});
    }
    if (result.ExitCode != 0) {
        AErr << "Pas de session systemd utilisateur joignable (" << FirstLine(result.Output)
             << ") : le scan planifie n'est pas active.\n"
             << "Ligne equivalente a ajouter avec crontab -e :\n";
        AOut << ScanCrontabLine(program, time, getuid()) << "\n";
        return ExitFailure;
    }
    AOut << "Scan planifie active : du lundi au vendredi a " << AOptions.Time
         << ", puis une notification sur le bureau\n";
    return ExitSuccess;
}

int DisableSchedule(std::ostream& AOut, std::ostream& AErr) {
    const std::filesystem::path folder = UserUnitDir();
    const bool present = std::filesystem::exists(folder / ScanTimerName) ||
                         std::filesystem::exists(folder / ScanServiceName);
    const TChildResult stopped = RunSystemctl({"disable", "--now", ScanTimerName});
    std::filesystem::remove(folder / ScanTimerName);
    std::filesystem::remove(folder / ScanServiceName);
    if (stopped.ExitCode == 0) {
        RunSystemctl({"daemon-reload"});
    } else if (present) {
        AErr << "systemd utilisateur injoignable (" << FirstLine(stopped.Output)
             << ") : une ligne crontab de Cotalys est a retirer avec crontab -e\n";
    }
    AOut << (present ? "Scan planifie desactive, unites supprimees de " + folder.string()
                     : std::string("Aucun scan planifie"))
         << "\n";
    return ExitSuccess;
}

std::string LastRunText(const std::optional<TScanLogEntry>& AEntry) {
    if (!AEntry) {
        return "aucun";
    }
    return Format("%s, %d signal(s), %d a surveiller, %d erreur(s), code de sortie %d (%s)",
                  AEntry->Time, AEntry->Signals, AEntry->Watch, AEntry->Errors, AEntry->ExitCode,
                  AEntry->ExitCode == ExitSuccess ? "succes" : "echec");
}

int ScheduleStatus(std::ostream& AOut) {
    const std::filesystem::path timer = UserUnitDir() / ScanTimerName;
    if (!std::filesystem::exists(timer)) {
        AOut << "Scan planifie : non (cotalys schedule enable pour l'activer)\n";
    } else {
        const std::string time = ScheduledTimeOf(ReadFileBytes(timer));
        const TChildResult enabled = RunSystemctl({"is-enabled", ScanTimerName});
        if (enabled.ExitCode == 0) {
            AOut << "Scan planifie : oui, du lundi au vendredi a " << time << "\n";
            const TChildResult next = RunSystemctl(
                {"show", ScanTimerName, "--property=NextElapseUSecRealtime", "--value"});
            const std::string when = FirstLine(next.Output);
            AOut << "Prochain passage : "
                 << (next.ExitCode == 0 && !when.empty() ? when : std::string("inconnu")) << "\n";
        } else {
            AOut << "Scan planifie : non, minuteur " << timer.string() << " ecrit pour " << time
                 << " mais pas active (" << FirstLine(enabled.Output) << ")\n";
        }
    }
    AOut << "Dernier passage : " << LastRunText(LastScanLogEntry(ScanLogFile())) << "\n";
    return ExitSuccess;
}

}  // namespace

void NotifyScanEnd(const std::vector<TScanRow>& ARows, int AExitCode, std::ostream& AErr) {
    // Neither failure changes how the scan ends: each is said on its own line.
    try {
        SendDesktopNotification(ScanNotice(ARows));
    } catch (const ENotificationNotShown& e) {
        AErr << e.Message() << "\n";
    }
    const TScanLogEntry entry{LocalTimeText(), RowsWithStatus(ARows, TScanStatus::ssSignal),
                              RowsWithStatus(ARows, TScanStatus::ssWatch),
                              RowsWithStatus(ARows, TScanStatus::ssError), AExitCode};
    try {
        AppendScanLog(ScanLogFile(), entry);
    } catch (const EScanLogNotWritten& e) {
        AErr << e.Message() << "\n";
    }
}

int ScheduleCommand(const TScheduleOptions& AOptions, std::ostream& AOut, std::ostream& AErr) {
    switch (AOptions.Action) {
        case TScheduleAction::scEnable:
            return EnableSchedule(AOptions, AOut, AErr);
        case TScheduleAction::scDisable:
            return DisableSchedule(AOut, AErr);
        case TScheduleAction::scStatus:
            break;
    }
    return ScheduleStatus(AOut);
}

}  // namespace cotalys
