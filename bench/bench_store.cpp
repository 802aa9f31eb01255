#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "store/Store.h"

namespace cotalys {
namespace {

constexpr int Symbols = 40;
constexpr int Years = 20;

// A store of 40 symbols with 20 years of sessions each, fetched long after its last day, made
// once per run in a temporary folder.
const std::filesystem::path& FullStore() {
    static const std::filesystem::path folder = [] {
        const auto path = std::filesystem::temp_directory_path() / "cotalys-bench-store";
        std::filesystem::remove_all(path);
        TPriceStore store(path);
        const TDateTime first = EncodeDate(2001, 1, 1);
        const TDateTime last = EncodeDate(2020, 12, 31);
        for (int s = 0; s < Symbols; ++s) {
            TStoredHistory history;
            history.Name = Format("Valeur %d", s);
            history.Currency = "EUR";
            history.FirstDay = first;
            history.LastDay = last;
            history.FetchedAt = LocalMidnightToUnix(last + 30);
            for (TDateTime day = first; day <= last; day += 1) {
                if (IsoDayOfWeek(day) >= 6) {
                    continue;
                }
                const double close = 50 + 20 * std::sin((day + s) / 40.0);
                history.Bars.push_back(
                    TPriceBar::New(day, close * 0.99, close * 1.01, close * 0.98, close,
                                   100000 + static_cast<std::int64_t>(day) % 5000));
            }
            for (int y = 0; y < Years; ++y) {
                history.Dividends.push_back({EncodeDate(2001 + y, 5, 15), 1.5});
            }
            store.Write(Format("SYM%d.PA", s), history, true);
        }
        return path;
    }();
    return folder;
}

// One year of one symbol as a load asks it, served wholly by the store: opening the file,
// reading the symbol, cutting the year.
void BM_LoadOneYearFromStoreOf40SymbolsOver20Years(benchmark::State& AState) {
    const TStoredQuoteProvider provider(FullStore());
    for (auto _ : AState) {
        TPriceSeries series("SYM17.PA");
        TParseReport report;
        provider.Load("SYM17.PA", EncodeDate(2020, 1, 1), EncodeDate(2020, 12, 31), series, report);
        benchmark::DoNotOptimize(series.Count());
    }
    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FullStore())) {
        bytes += entry.file_size();
    }
    AState.counters["store_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_LoadOneYearFromStoreOf40SymbolsOver20Years)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace cotalys
