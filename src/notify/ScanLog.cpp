#include "notify/ScanLog.h"

#include <cstdio>
#include <fstream>
#include <system_error>

#include "core/Core.h"

namespace cotalys {
namespace {

// Lines longer than this are not the log's own.
constexpr std::size_t MaxLineLength = 200;

}  // namespace

std::filesystem::path ScanLogFile() {
    return StateDir() / "scan.log";
}

std::string LocalTimeText() {
    return FormatDateTime("yyyy-mm-dd hh:nn:ss", Now(), DefaultFormatSettings());
}

std::string ScanLogLine(const TScanLogEntry& AEntry) {
    return Format("%s signaux=%d surveiller=%d erreurs=%d code=%d", AEntry.Time, AEntry.Signals,
                  AEntry.Watch, AEntry.Errors, AEntry.ExitCode);
}

std::optional<TScanLogEntry> ParseScanLogLine(const std::string& ALine) {
    if (ALine.size() > MaxLineLength) {
        return std::nullopt;
    }
    TScanLogEntry entry;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, used = 0;
    if (std::sscanf(ALine.c_str(),
                    "%4d-%2d-%2d %2d:%2d:%2d signaux=%d surveiller=%d erreurs=%d code=%d%n", &year,
                    &month, &day, &hour, &minute, &second, &entry.Signals, &entry.Watch,
                    &entry.Errors, &entry.ExitCode, &used) != 10 ||
        static_cast<std::size_t>(used) != ALine.size() || ALine.size() < 19 || ALine[4] != '-' ||
        ALine[10] != ' ') {
        return std::nullopt;
    }
    TDateTime ignored = 0;
    if (!TryEncodeDate(year, month, day, ignored) ||
        !TryEncodeTime(hour, minute, second, ignored) || entry.Signals < 0 || entry.Watch < 0 ||
        entry.Errors < 0) {
        return std::nullopt;
    }
    entry.Time = ALine.substr(0, 19);
    return entry;
}

void AppendScanLog(const std::filesystem::path& AFile, const TScanLogEntry& AEntry) {
    std::error_code ec;
    std::filesystem::create_directories(AFile.parent_path(), ec);
    std::ofstream out(AFile, std::ios::app | std::ios::binary);
    out << ScanLogLine(AEntry) << "\n";
    out.flush();
    if (!out) {
        throw EScanLogNotWritten("Journal du scanner non ecrit : " + AFile.string());
    }
}

std::optional<TScanLogEntry> LastScanLogEntry(const std::filesystem::path& AFile) {
    std::ifstream in(AFile, std::ios::binary);
    std::optional<TScanLogEntry> last;
    std::string line;
    while (std::getline(in, line)) {
        if (auto entry = ParseScanLogLine(line)) {
            last = std::move(entry);
        }
    }
    return last;
}

}  // namespace cotalys
