#pragma once

#include <string>
#include <vector>

#include "scanner/Scanner.h"

namespace cotalys {

// The title and body of the notification that ends a scan, in plain text.
struct TScanNotice {
    std::string Title;
    std::string Body;
};

// How many of ARows have the status AStatus.
int RowsWithStatus(const std::vector<TScanRow>& ARows, TScanStatus AStatus);

// "Cotalys : N signal(s) ce soir" over the signal rows; the body names the signals retained in
// the portfolio with their quantity ("AI.PA : 12 titre(s)", one a line), says when none of the
// signals was retained, or without signal reads "Aucun signal ; K titre(s) a surveiller".
TScanNotice ScanNotice(const std::vector<TScanRow>& ARows);

}  // namespace cotalys
