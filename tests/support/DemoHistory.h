#pragma once

#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "core/Core.h"

namespace cotalys::test {

// A bundled history of data/demo (Date,Open,High,Low,Close,Volume,Dividends), keeping the
// sessions dated AFirst .. ALast. Throws std::runtime_error when the file cannot be read.
// Header-only and free of the test framework, so the benchmarks read the same files.
inline TPriceSeries LoadDemoHistory(const std::string& ASymbol, TDateTime AFirst, TDateTime ALast) {
    std::ifstream file(std::string(COTALYS_DATA_DIR) + "/demo/" + ASymbol + ".csv");
    if (!file) {
        throw std::runtime_error("missing demo history " + ASymbol);
    }
    TPriceSeries series(ASymbol);
    std::string line;
    std::getline(file, line);
    while (std::getline(file, line)) {
        std::istringstream cells(line);
        std::string date;
        std::getline(cells, date, ',');
        double values[5];
        for (double& value : values) {
            std::string cell;
            std::getline(cells, cell, ',');
            value = std::stod(cell);
        }
        const TDateTime day = EncodeDate(std::stoi(date.substr(0, 4)), std::stoi(date.substr(5, 2)),
                                         std::stoi(date.substr(8, 2)));
        if (day >= AFirst && day <= ALast) {
            series.Add(TPriceBar::New(day, values[0], values[1], values[2], values[3],
                                      static_cast<std::int64_t>(values[4])));
        }
    }
    return series;
}

}  // namespace cotalys::test
