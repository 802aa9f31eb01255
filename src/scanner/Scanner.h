#pragma once

// The daily scanner: rows and their verdicts, the scan of a symbol list, the portfolio
// selection, the text report and the CSV file, and the CSV read back.
#include "scanner/DailyScanner.h"
#include "scanner/ScanCsv.h"
#include "scanner/ScanRow.h"
