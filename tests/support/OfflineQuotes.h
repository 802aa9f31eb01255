#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/Core.h"
#include "providers/Providers.h"
#include "quoteserver/QuoteService.h"
#include "support/TestSupport.h"

namespace cotalys::test {

// The offline quote service on 127.0.0.1 over a folder made for one test: some bundled
// histories of data/demo plus files written by the test. While it lives, the quote host points
// at it, today is 22 February 2021 at 18:00 (the last day of the bundled histories) and reports
// go to a temporary documents folder.
class TOfflineQuotes {
public:
    TOfflineQuotes(const std::vector<std::string>& ADemoSymbols,
                   const std::map<std::string, std::string>& AFiles = {}) {
        for (const std::string& symbol : ADemoSymbols) {
            FData.Write(symbol + ".csv", ReadAll(DataPath("demo/" + symbol + ".csv")));
        }
        for (const auto& [name, content] : AFiles) {
            FData.Write(name, content);
        }
        TQuoteServiceOptions options;
        options.Folder = FData.Path();
        FServer = std::make_unique<TQuoteServer>(TQuoteStore::Load(options));
        const int port = FServer->Start("127.0.0.1", 0);
        SetQuoteHost("http://127.0.0.1:" + std::to_string(port));
        SetClock([] { return EncodeDate(2021, 2, 22) + 0.75; });
        setenv("COTALYS_DOCUMENTS_DIR", FDocuments.Path().c_str(), 1);
    }
    ~TOfflineQuotes() {
        unsetenv("COTALYS_DOCUMENTS_DIR");
        ResetClock();
        SetQuoteHost("");
        FServer->Stop();
    }
    TOfflineQuotes(const TOfflineQuotes&) = delete;
    TOfflineQuotes& operator=(const TOfflineQuotes&) = delete;

    const std::filesystem::path& Documents() const { return FDocuments.Path(); }
    // Stops answering; the quote host still points at the port, where nothing listens now.
    void StopService() { FServer->Stop(); }

    // The last ACount sessions of a bundled history, as a price file of another symbol.
    static std::string LastSessions(const std::string& ADemoSymbol, int ACount) {
        const std::string text = ReadAll(DataPath("demo/" + ADemoSymbol + ".csv"));
        std::size_t start = text.size();
        // The file ends with a line break: step over ACount lines from the end.
        for (int seen = 0; seen <= ACount && start > 0;) {
            --start;
            if (text[start] == '\n') {
                ++seen;
            }
        }
        return text.substr(0, text.find('\n') + 1) + text.substr(start + 1);
    }

private:
    TempDir FData;
    TempDir FDocuments;
    std::unique_ptr<TQuoteServer> FServer;
};

// The cells of one CSV line, quoted cells kept whole.
inline std::vector<std::string> CsvCellsOf(const std::string& ALine) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (const char c : ALine) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ';' && !quoted) {
            cells.emplace_back();
            continue;
        }
        cells.back() += c;
    }
    return cells;
}

// The lines of a file written with CR LF after every line, its byte-order mark checked and
// removed; an empty list when either is missing.
inline std::vector<std::string> CsvLinesOf(const std::filesystem::path& AFile) {
    std::string text = ReadAll(AFile);
    if (text.rfind("\xEF\xBB\xBF", 0) != 0 || text.size() < 5 || !text.ends_with("\r\n")) {
        return {};
    }
    text.erase(0, 3);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// Each of ALines found in AText, each after the previous one.
inline void ExpectInOrder(const std::string& AText, const std::vector<std::string>& ALines) {
    std::size_t from = 0;
    for (const std::string& line : ALines) {
        const std::size_t at = AText.find(line, from);
        ASSERT_NE(at, std::string::npos) << "missing or out of order: " << line;
        from = at + line.size();
    }
}

}  // namespace cotalys::test
