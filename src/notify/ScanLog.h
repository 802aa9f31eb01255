#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/Core.h"

namespace cotalys {

// The scan log could not be written.
class EScanLogNotWritten : public EFinanceError {
public:
    using EFinanceError::EFinanceError;
    const char* ClassName() const noexcept override { return "EScanLogNotWritten"; }
};

// One run of the daily scan as its log keeps it: when it ended (local time, "YYYY-MM-DD
// HH:MM:SS", so that two times compare as texts), how many signals, symbols to watch and errors
// it found, and the exit code of the program.
struct TScanLogEntry {
    std::string Time;
    int Signals = 0;
    int Watch = 0;
    int Errors = 0;
    int ExitCode = 0;
};

// "scan.log" in the program's state folder.
std::filesystem::path ScanLogFile();
// The local time now as "YYYY-MM-DD HH:MM:SS".
std::string LocalTimeText();
// "2021-02-22 18:15:03 signaux=2 surveiller=3 erreurs=0 code=0".
std::string ScanLogLine(const TScanLogEntry& AEntry);
// The entry of a line ScanLogLine wrote; nothing for any other line.
std::optional<TScanLogEntry> ParseScanLogLine(const std::string& ALine);
// Appends AEntry as a line to AFile, making its folder. Throws EScanLogNotWritten "Journal du
// scanner non ecrit : FILE" when it cannot be written.
void AppendScanLog(const std::filesystem::path& AFile, const TScanLogEntry& AEntry);
// The last readable entry of AFile; nothing when the file is missing or holds none.
std::optional<TScanLogEntry> LastScanLogEntry(const std::filesystem::path& AFile);

}  // namespace cotalys
