#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "ProviderTestData.h"
#include "providers/Providers.h"
#include "support/TestSupport.h"

namespace cotalys {
namespace {

using test::Day;
using test::ProviderErrorOf;

const std::vector<test::TSession> Sessions = {
    {"2024-03-01", 30.0}, {"2024-03-04", 31.0}, {"2024-03-05", 32.0}};

// UTF-16 of ASCII text in the given byte order.
std::string Utf16(const std::string& AText, bool ABigEndian) {
    std::string bytes;
    for (char c : AText) {
        bytes += ABigEndian ? '\0' : c;
        bytes += ABigEndian ? c : '\0';
    }
    return bytes;
}

class LocalFileProviderTest : public ::testing::Test {
protected:
    // Loads the file written with AContent under AName over March 2024.
    void Load(const std::string& AName, const std::string& AContent) {
        const TLocalFileProvider provider(FFolder.Write(AName, AContent).string());
        provider.Load("ignored", Day("2024-03-01"), Day("2024-03-31"), FSeries, FReport);
    }

    test::TempDir FFolder;
    TPriceSeries FSeries{"RNO.PA"};
    TParseReport FReport;
};

TEST_F(LocalFileProviderTest, ChoosesTheParserByExtension) {
    const struct {
        const char* Name;
        std::string Content;
        const char* Parser;
    } cases[] = {
        {"PRICES.HTML", test::HtmlPage(Sessions), "HTML"},
        {"prices.htm", test::HtmlPage(Sessions), "HTML"},
        {"prices.json", test::ChartDocument(Sessions), "Yahoo chart JSON"},
        {"prices.Json", test::ChartDocument(Sessions), "Yahoo chart JSON"},
        {"prices.txt", test::CsvText(Sessions), "CSV"},
        {"prices.csv", test::CsvText(Sessions), "CSV"},
        {"prices", test::CsvText(Sessions), "CSV"},
    };
    for (const auto& c : cases) {
        FSeries.Clear();
        FReport.Clear();
        Load(c.Name, c.Content);
        EXPECT_EQ(FReport.SourceName(), c.Parser) << c.Name;
        EXPECT_THAT(test::Days(FSeries),
                    ::testing::ElementsAre("2024-03-01", "2024-03-04", "2024-03-05"))
            << c.Name;
    }
}

TEST_F(LocalFileProviderTest, DecodesByteOrderMarksAndTheEightBitCodePage) {
    const std::string csv = "Date;Cl\xC3\xB4ture;Volume\n01/03/2024;30,5;100\n";
    const std::string ascii = "Date;Close;Volume\n01/03/2024;30,5;100\n";
    const std::pair<const char*, std::string> cases[] = {
        {"utf8-bom.csv", "\xEF\xBB\xBF" + csv},
        {"utf16le.csv", "\xFF\xFE" + Utf16(ascii, false)},
        {"utf16be.csv", "\xFE\xFF" + Utf16(ascii, true)},
        // Windows-1252 without a mark: "Séance" and "Clôture" must still be recognised.
        {"cp1252.csv",
         "S\xE9"
         "ance;Cl\xF4ture;Volume\n01/03/2024;30,5;100\n"},
    };
    for (const auto& [name, content] : cases) {
        FSeries.Clear();
        FReport.Clear();
        Load(name, content);
        ASSERT_EQ(FSeries.Count(), 1) << name;
        EXPECT_EQ(FSeries[0].Close, 30.5) << name;
        EXPECT_EQ(FSeries[0].Volume, 100) << name;
    }
}

TEST_F(LocalFileProviderTest, ReportsMissingAndEmptyFiles) {
    const std::string missing = (FFolder.Path() / "absent.csv").string();
    EXPECT_EQ(ProviderErrorOf([&] {
                  TLocalFileProvider(missing).Load("", Day("2024-03-01"), Day("2024-03-31"),
                                                   FSeries, FReport);
              }),
              "Fichier introuvable : " + missing);
    const std::string folder = FFolder.Path().string();
    EXPECT_EQ(ProviderErrorOf([&] {
                  TLocalFileProvider(folder).Load("", Day("2024-03-01"), Day("2024-03-31"), FSeries,
                                                  FReport);
              }),
              "Fichier introuvable : " + folder);
    const std::string empty = FFolder.Write("empty.csv", "").string();
    EXPECT_EQ(ProviderErrorOf([&] {
                  TLocalFileProvider(empty).Load("", Day("2024-03-01"), Day("2024-03-31"), FSeries,
                                                 FReport);
              }),
              "Fichier vide : " + empty);
}

TEST_F(LocalFileProviderTest, KeepsTheLastBarOfADayAndOnlyTheRequestedDays) {
    Load("prices.csv",
         "Date,Close\n2024-03-05,32\n2024-02-29,29\n2024-03-04,31\n2024-03-04,31.5\n"
         "2024-04-02,40\n");
    EXPECT_THAT(test::Days(FSeries), ::testing::ElementsAre("2024-03-04", "2024-03-05"));
    EXPECT_EQ(FSeries[0].Close, 31.5);
}

TEST_F(LocalFileProviderTest, IsNamedAfterTheFileWithoutItsFolder) {
    EXPECT_EQ(TLocalFileProvider((FFolder.Path() / "RNO.PA.csv").string()).Name(),
              "Fichier RNO.PA.csv");
}

}  // namespace
}  // namespace cotalys
