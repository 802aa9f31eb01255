// Files no price program wrote, or written at sizes far beyond a history: the local file
// provider reads them correctly or refuses them with the messages a user is shown.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "ProviderTestData.h"
#include "core/Core.h"
#include "providers/Providers.h"
#include "support/TestSupport.h"

namespace cotalys {
namespace {

using test::Day;

TEST(HostileFiles, FiftyMegabyteCsvIsReadWhole) {
    // 250 000 consecutive days from 1970 on, each line padded to 200 bytes with a comment.
    const int lines = 250'000;
    const TDateTime first = Day("1970-01-01");
    const std::string padding(160, 'x');
    std::string text = "Date;Ouverture;Plus haut;Plus bas;Cloture;Volume;Commentaire\n";
    text.reserve(static_cast<std::size_t>(lines) * 200 + 100);
    for (int i = 0; i < lines; ++i) {
        text += FormatDateTime("yyyy-mm-dd", first + i, FrenchFormatSettings());
        text += ";45,10;46,20;44,30;45,60;123456;" + padding + "\n";
    }
    ASSERT_GT(text.size(), 50'000'000u);
    test::TempDir folder;
    const TLocalFileProvider provider(folder.Write("enorme.csv", text).string());
    text = std::string();

    TPriceSeries series("RNO.PA");
    TParseReport report;
    provider.Load("RNO.PA", first, first + lines, series, report);
    ASSERT_EQ(series.Count(), lines);
    EXPECT_EQ(report.Accepted(), lines);
    EXPECT_EQ(report.Rejected(), 0);
    EXPECT_EQ(series.Bars().front().Date, first);
    EXPECT_EQ(series.Bars().back().Date, first + lines - 1);
    EXPECT_EQ(series.Bars().back().Close, 45.6);
    EXPECT_EQ(series.Bars().back().Volume, 123456);
}

TEST(HostileFiles, NulBytesAreRefusedByEveryParser) {
    const std::string nul(1'000'000, '\0');
    const struct {
        const char* Name;
        std::string Message;
    } cases[] = {
        {"nul.csv", "CSV : fichier vide"},
        {"nul.html", "HTML : contenu vide"},
        {"nul.json", "Yahoo chart JSON : JSON invalide (debut : \"\")"},
    };
    test::TempDir folder;
    for (const auto& c : cases) {
        const TLocalFileProvider provider(folder.Write(c.Name, nul).string());
        TPriceSeries series("RNO.PA");
        TParseReport report;
        try {
            provider.Load("RNO.PA", Day("2024-01-01"), Day("2024-12-31"), series, report);
            ADD_FAILURE() << c.Name << " loaded";
        } catch (const EParseError& e) {
            EXPECT_EQ(e.Message(), c.Message) << c.Name;
        }
    }
}

TEST(HostileFiles, Utf16WithoutByteOrderMarkIsReadInEitherOrder) {
    // Every character of a price file fits one UTF-16 unit.
    std::u16string units;
    for (const char32_t c : std::u32string(U"Date;Cl\u00F4ture;Volume\r\n02/01/2024;45,10;1200\r\n"
                                           U"03/01/2024;45,60;1300\r\n")) {
        units += static_cast<char16_t>(c);
    }
    test::TempDir folder;
    for (const bool bigEndian : {false, true}) {
        std::string bytes;
        for (const char16_t unit : units) {
            const char high = static_cast<char>(unit >> 8);
            const char low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? high : low;
            bytes += bigEndian ? low : high;
        }
        const TLocalFileProvider provider(folder.Write("unicode.csv", bytes).string());
        TPriceSeries series("RNO.PA");
        TParseReport report;
        provider.Load("RNO.PA", Day("2024-01-01"), Day("2024-01-31"), series, report);
        ASSERT_EQ(series.Count(), 2) << bigEndian;
        EXPECT_EQ(series.Bars()[1].Close, 45.6);
        EXPECT_EQ(series.Bars()[1].Volume, 1300);
    }
}

}  // namespace
}  // namespace cotalys
