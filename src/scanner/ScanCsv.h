#pragma once

#include <filesystem>
#include <vector>

#include "scanner/ScanRow.h"

namespace cotalys {

// The rows of a CSV file the scanner wrote, read back with their columns found by header.
// Cells the file does not hold come back empty: a percentage written empty reads NaN (an empty
// margin to the resistance that met its criterion reads +infinity, no resistance above), the
// size's per-share risk and fees read 0.
// EFinanceError naming the file and the line for a file that is not a scanner CSV (unknown
// status, missing column, a line of another width, an unreadable number or date), and for a
// file that is not a regular file of at most 64 MiB.
std::vector<TScanRow> ReadScanCsv(const std::filesystem::path& AFile);

// The newest "scanner_*.csv" of AFolder by its name, which carries the time of the scan; empty
// when there is none.
std::filesystem::path LatestScanCsv(const std::filesystem::path& AFolder);

}  // namespace cotalys
