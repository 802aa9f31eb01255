#include "store/StoredQuoteProvider.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>

#include "parsing/Parsing.h"

namespace cotalys {
namespace {

// The Paris exchange's day is over, and its closes final, at 18:00.
constexpr std::int64_t CloseSecondOfDay = 18 * 3600;

// Now as Unix seconds, from the program's clock.
std::int64_t UnixNow() {
    const TDateTime now = Now();
    return LocalMidnightToUnix(DayOf(now)) +
           static_cast<std::int64_t>(std::llround((now - DayOf(now)) * SecondsPerDay));
}

// 18:00 in Paris on ADay, as Unix seconds.
std::int64_t CloseOf(TDateTime ADay) {
    const std::int64_t utc =
        (static_cast<std::int64_t>(DayOf(ADay)) - static_cast<std::int64_t>(UnixDateDelta)) *
            SecondsPerDay +
        CloseSecondOfDay;
    return utc - ParisUtcOffset(utc);
}

bool IsWeekend(TDateTime ADay) {
    return IsoDayOfWeek(ADay) >= 6;
}

// The last day the store knows whole: its span up to the last day whose close came before the
// fetch, and the weekend days that follow it, which have no session.
TDateTime KnownThrough(const TStoredHistory& AStored) {
    TDateTime day = AStored.LastDay;
    while (day >= AStored.FirstDay && CloseOf(day) > AStored.FetchedAt) {
        day -= 1;
    }
    if (day < AStored.FirstDay) {
        return day;
    }
    while (IsWeekend(day + 1)) {
        day += 1;
    }
    return day;
}

const TPriceBar* BarOn(const std::vector<TPriceBar>& ABars, TDateTime ADay) {
    const auto at =
        std::lower_bound(ABars.begin(), ABars.end(), ADay,
                         [](const TPriceBar& ABar, TDateTime D) { return ABar.Date < D; });
    return at != ABars.end() && at->Date == ADay ? &*at : nullptr;
}

bool HasDividendOn(const std::vector<TDividend>& ADividends, TDateTime ADay) {
    return std::any_of(ADividends.begin(), ADividends.end(),
                       [ADay](const TDividend& D) { return D.Date == ADay; });
}

// Whether the service's fresh days from AFrom on disagree with the stored ones up to the last
// stored session: a close that moved, a session added or gone, a new dividend.
bool Revised(const TStoredHistory& AStored, const TStoredHistory& AFresh, TDateTime AFrom) {
    const TDateTime last = AStored.Bars.back().Date;
    long overlap = 0;
    for (const TPriceBar& bar : AFresh.Bars) {
        if (bar.Date < AFrom || bar.Date > last) {
            continue;
        }
        const TPriceBar* stored = BarOn(AStored.Bars, bar.Date);
        if (stored == nullptr ||
            std::fabs(bar.Close - stored->Close) >
                TStoredQuoteProvider::RevisionTolerance * std::fabs(stored->Close)) {
            return true;
        }
        ++overlap;
    }
    const long storedInOverlap =
        std::count_if(AStored.Bars.begin(), AStored.Bars.end(),
                      [AFrom](const TPriceBar& ABar) { return ABar.Date >= AFrom; });
    return overlap != storedInOverlap ||
           std::any_of(AFresh.Dividends.begin(), AFresh.Dividends.end(), [&](const TDividend& D) {
               return D.Date >= AFrom && D.Date <= last &&
                      !HasDividendOn(AStored.Dividends, D.Date);
           });
}

// AInto with the bars and dividends of AFresh, which replace those of the same days, and its
// name and currency when it has them.
void MergeInto(TStoredHistory& AInto, const TStoredHistory& AFresh) {
    std::vector<TPriceBar> bars = AFresh.Bars;
    for (const TPriceBar& bar : AInto.Bars) {
        if (BarOn(AFresh.Bars, bar.Date) == nullptr) {
            bars.push_back(bar);
        }
    }
    std::sort(bars.begin(), bars.end(),
              [](const TPriceBar& A, const TPriceBar& B) { return A.Date < B.Date; });
    AInto.Bars = std::move(bars);
    std::vector<TDividend> dividends = AFresh.Dividends;
    for (const TDividend& dividend : AInto.Dividends) {
        if (!HasDividendOn(AFresh.Dividends, dividend.Date)) {
            dividends.push_back(dividend);
        }
    }
    std::sort(dividends.begin(), dividends.end(),
              [](const TDividend& A, const TDividend& B) { return A.Date < B.Date; });
    AInto.Dividends = std::move(dividends);
    if (!AFresh.Name.empty()) {
        AInto.Name = AFresh.Name;
    }
    if (!AFresh.Currency.empty()) {
        AInto.Currency = AFresh.Currency;
    }
}

// The days AFrom .. ATo of AHistory as a series, as a direct download of those days gives it.
void Answer(const TStoredHistory& AHistory, TDateTime AFrom, TDateTime ATo, TPriceSeries& ASeries) {
    ASeries.SetName(AHistory.Name);
    ASeries.SetCurrency(AHistory.Currency);
    for (const TPriceBar& bar : AHistory.Bars) {
        ASeries.Add(bar);
    }
    for (const TDividend& dividend : AHistory.Dividends) {
        if (dividend.Date >= AFrom && dividend.Date <= ATo) {
            ASeries.AddDividend(dividend.Date, dividend.Amount);
        }
    }
    TBaseProvider::FinishLoad(ASeries, AFrom, ATo);
}

// With the service unreachable, the stored history (with bars) stands in for it, said in
// AReport; stored data whose last session is before AFreshFrom is refused (0 accepts any).
const TStoredHistory& StandIn(const TStoredHistory& AStored, TDateTime AFreshFrom,
                              TParseReport& AReport) {
    const TDateTime last = AStored.Bars.back().Date;
    if (AFreshFrom > 0 && last < AFreshFrom) {
        throw EDataProviderError(
            Format("donnees en cache du %s, service injoignable", FrenchDate(last)));
    }
    AReport.AddNote(Format("Service de cotations injoignable : donnees en cache jusqu'au %s",
                           FrenchDate(last)));
    return AStored;
}

// Says how many of ASeries' sessions came from the store and how many from the service.
void NoteSources(const TPriceSeries& ASeries, const std::set<TDateTime>& ADownloaded,
                 TParseReport& AReport) {
    const auto fromService =
        std::count_if(ASeries.Bars().begin(), ASeries.Bars().end(),
                      [&](const TPriceBar& ABar) { return ADownloaded.count(ABar.Date) > 0; });
    AReport.AddNote(Format("Cotations en cache : %d seance(s) locales, %d telechargee(s)",
                           ASeries.Count() - static_cast<int>(fromService),
                           static_cast<int>(fromService)));
}

}  // namespace

std::shared_ptr<TStoredQuoteProvider> QuoteServiceProvider(bool AUseStore) {
    auto provider = std::make_shared<TStoredQuoteProvider>();
    provider->SetUseStore(AUseStore);
    return provider;
}

TStoredQuoteProvider::TStoredQuoteProvider(std::filesystem::path AFolder)
    : FFolder(std::move(AFolder)) {}

void TStoredQuoteProvider::Load(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo,
                                TPriceSeries& ASeries, TParseReport& AReport) const {
    if (!FUseStore) {
        ++FRequests;
        FService.Load(ASymbol, AFrom, ATo, ASeries, AReport);
        return;
    }
    if (TrimBlanks(ASymbol).empty()) {
        throw EDataProviderError("Symbole vide");
    }
    std::optional<TStoredHistory> stored;
    if (!ReadStored(ASymbol, AFrom, ATo, stored, AReport)) {
        // The store cannot be read: the load goes to the service as if there were none.
        ++FRequests;
        FService.Load(ASymbol, AFrom, ATo, ASeries, AReport);
        return;
    }
    const TDateTime from = DayOf(AFrom);
    const TDateTime to = DayOf(ATo);
    std::set<TDateTime> downloaded;
    TStoredHistory history;
    // What this load received, written back to the store; with replaceAll it is all there is.
    TStoredHistory received;
    bool replaceAll = true;
    try {
        if (stored && !stored->Bars.empty()) {
            history = *stored;
            replaceAll = !Extend(ASymbol, from, to, history, received, downloaded, AReport);
        }
        if (replaceAll) {
            history = FetchDays(ASymbol, from, to, downloaded, AReport);
            history.FirstDay = from;
            history.LastDay = to;
            history.FetchedAt = UnixNow();
            received = history;
        }
    } catch (const EServiceUnreachable&) {
        if (!stored || stored->Bars.empty()) {
            throw;
        }
        history = StandIn(*stored, FFreshFrom, AReport);
        received = TStoredHistory{};
        downloaded.clear();
    }
    if (!downloaded.empty() || (stored && history.FetchedAt != stored->FetchedAt)) {
        WriteBack(ASymbol, history, std::move(received), replaceAll, AReport);
    }
    Answer(history, from, to, ASeries);
    if (AReport.SourceName().empty()) {
        AReport.SetSourceName(TYahooChartParser().Name());
    }
    NoteSources(ASeries, downloaded, AReport);
}

bool TStoredQuoteProvider::ReadStored(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo,
                                      std::optional<TStoredHistory>& AStored,
                                      TParseReport& AReport) const {
    try {
        const std::lock_guard<std::mutex> lock(FStoreLock);
        if (!FStore) {
            FStore.emplace(FFolder, FBusyTimeoutMs);
            if (!FStore->Notice().empty()) {
                AReport.AddNote(FStore->Notice());
            }
        }
        // The days asked and the last sessions, which a load compares with the service's.
        AStored = FStore->Read(ASymbol, DayOf(AFrom), DayOf(ATo), OverlapSessions + 1);
        return true;
    } catch (const EPriceStoreError& e) {
        AReport.AddNote("Cache des cotations indisponible : " + e.Message());
        return false;
    }
}

void TStoredQuoteProvider::WriteBack(const std::string& ASymbol, const TStoredHistory& AHistory,
                                     TStoredHistory AReceived, bool AReplaceAll,
                                     TParseReport& AReport) const {
    AReceived.Name = AHistory.Name;
    AReceived.Currency = AHistory.Currency;
    AReceived.FirstDay = AHistory.FirstDay;
    AReceived.LastDay = AHistory.LastDay;
    AReceived.FetchedAt = AHistory.FetchedAt;
    try {
        const std::lock_guard<std::mutex> lock(FStoreLock);
        FStore->Write(ASymbol, AReceived, AReplaceAll);
    } catch (const EPriceStoreError& e) {
        AReport.AddNote("Cache des cotations non mis a jour : " + e.Message());
    }
}

bool TStoredQuoteProvider::Extend(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo,
                                  TStoredHistory& AHistory, TStoredHistory& AReceived,
                                  std::set<TDateTime>& ADownloaded, TParseReport& AReport) const {
    if (AFrom < AHistory.FirstDay) {
        try {
            MergeInto(AReceived,
                      FetchDays(ASymbol, AFrom, AHistory.FirstDay - 1, ADownloaded, AReport));
        } catch (const EParseError&) {
            // No session at all before the first stored day (the symbol was not yet listed)
            // reads as no timestamps: the whole span is asked again.
            return false;
        }
    }
    if (ATo > KnownThrough(AHistory)) {
        const auto back = static_cast<std::size_t>(
            std::max(0, static_cast<int>(AHistory.Bars.size()) - 1 - OverlapSessions));
        const TDateTime tailFrom = AHistory.Bars[back].Date;
        const std::int64_t now = UnixNow();
        const TStoredHistory tail = FetchDays(ASymbol, tailFrom, ATo, ADownloaded, AReport);
        if (Revised(AHistory, tail, tailFrom)) {
            return false;
        }
        MergeInto(AReceived, tail);
        AHistory.LastDay = std::max(AHistory.LastDay, ATo);
        AHistory.FetchedAt = now;
    }
    AHistory.FirstDay = std::min(AHistory.FirstDay, AFrom);
    MergeInto(AHistory, AReceived);
    return true;
}

TStoredHistory TStoredQuoteProvider::FetchDays(const std::string& ASymbol, TDateTime AFrom,
                                               TDateTime ATo, std::set<TDateTime>& ADownloaded,
                                               TParseReport& AReport) const {
    TPriceSeries fetched(ASymbol);
    ++FRequests;
    FService.Fetch(ASymbol, AFrom, ATo, fetched, AReport);
    fetched.SortAndDeduplicate();
    TStoredHistory history;
    history.Name = fetched.Name();
    history.Currency = fetched.Currency();
    for (const TPriceBar& bar : fetched.Bars()) {
        if (bar.Date >= AFrom && bar.Date <= ATo) {
            history.Bars.push_back(bar);
            ADownloaded.insert(bar.Date);
        }
    }
    history.Dividends = fetched.Dividends();
    return history;
}

}  // namespace cotalys
