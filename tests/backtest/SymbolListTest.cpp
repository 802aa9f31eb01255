#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backtest/Backtest.h"
#include "core/Core.h"
#include "support/TestSupport.h"

namespace cotalys {
namespace {

using Symbols = std::vector<std::string>;

TEST(CAC40, ListsTheFortyConstituentsInOrder) {
    const Symbols& symbols = CAC40();
    ASSERT_EQ(symbols.size(), 40u);
    EXPECT_EQ(symbols.front(), "AC.PA");
    EXPECT_EQ(symbols[3], "MT.AS");
    EXPECT_EQ(symbols[33], "STLAP.PA");
    EXPECT_EQ(symbols.back(), "DG.PA");
}

TEST(LoadSymbols, ReadsOneSymbolALine) {
    struct TCase {
        const char* Name;
        std::string Content;
        Symbols Expected;
    };
    const TCase cases[] = {
        {"comments, blanks, company names, case and duplicates",
         "# CAC 40\r\n\r\n   ai.pa ; Air Liquide\r\nAI.PA\r\nmc.pa\r\n",
         {"AI.PA", "MC.PA"}},
        {"byte-order mark, bare LF, no final break",
         "\xEF\xBB\xBFOR.PA\nRNO.PA",
         {"OR.PA", "RNO.PA"}},
        {"tabs and control characters trimmed", "\tBN.PA\t\x01\n", {"BN.PA"}},
        {"only letters a to z are upper-cased", "st\xC3\xA9.pa\n", {"ST\xC3\xA9.PA"}},
        {"a line with nothing before its semicolon names nothing",
         " ; Total\nTTE.PA\n",
         {"TTE.PA"}},
        {"Windows-1252 without mark", "caf\xE9.pa\n", {"CAF\xC3\xA9.PA"}},
    };
    for (const TCase& c : cases) {
        test::TempDir dir;
        EXPECT_EQ(LoadSymbols(dir.Write("cac40.txt", c.Content)), c.Expected) << c.Name;
    }
}

TEST(LoadSymbols, RefusesAListWithoutSymbolAndAMissingFile) {
    test::TempDir dir;
    const auto empty = dir.Write("cac40.txt", "# rien\r\n\r\n  ;  \r\n");
    try {
        LoadSymbols(empty);
        ADD_FAILURE() << "no error";
    } catch (const EFinanceError& e) {
        EXPECT_EQ(e.Message(), "Aucun symbole dans " + empty.string());
    }
    EXPECT_THROW(LoadSymbols(dir.Path() / "absent.txt"), EFinanceError);
}

TEST(ChooseSymbolList, TheListFileWhenItExistsElseTheCAC40) {
    test::TempDir dir;
    const auto file = dir.Write("cac40.txt", "ai.pa\nmc.pa\n");
    const TSymbolList read = ChooseSymbolList(dir.Path() / "." / "cac40.txt");
    EXPECT_EQ(read.Symbols, (Symbols{"AI.PA", "MC.PA"}));
    EXPECT_EQ(read.ReadNote(), "2 symbole(s) lus dans " + file.string());
    for (const std::filesystem::path& absent :
         {dir.Path() / "absent.txt", std::filesystem::path()}) {
        const TSymbolList builtIn = ChooseSymbolList(absent);
        EXPECT_EQ(builtIn.Symbols, CAC40()) << absent;
        EXPECT_TRUE(builtIn.File.empty());
        EXPECT_EQ(builtIn.ReadNote(), "");
    }
    EXPECT_THROW(ChooseSymbolList(dir.Write("vide.txt", "# rien\n")), EFinanceError);
}

TEST(BacktestRunner, RefusesAnEmptyListThenNoSetting) {
    const struct {
        Symbols SymbolList;
        std::vector<TSignalParams> Variants;
        const char* Message;
    } cases[] = {
        {{}, {}, "Backtest : liste de symboles vide"},
        {{}, StandardVariants(), "Backtest : liste de symboles vide"},
        {{"AI.PA"}, {}, "Backtest : aucun reglage"},
    };
    for (const auto& c : cases) {
        try {
            TBacktestRunner runner(c.SymbolList, c.Variants);
            ADD_FAILURE() << "no error for " << c.Message;
        } catch (const EFinanceError& e) {
            EXPECT_EQ(e.Message(), c.Message);
        }
    }
}

}  // namespace
}  // namespace cotalys
