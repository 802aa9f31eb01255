#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <utility>

#include "core/Exceptions.h"
#include "sizing/PositionSizing.h"
#include "support/TestSupport.h"

namespace cotalys {
namespace {

// Each test gets its own documents folder.
class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { setenv("COTALYS_DOCUMENTS_DIR", FDocuments.Path().c_str(), 1); }
    void TearDown() override { unsetenv("COTALYS_DOCUMENTS_DIR"); }

    std::filesystem::path IniPath() const { return FDocuments.Path() / "Cotalys" / "Cotalys.ini"; }

    TSizingParams LoadText(const std::string& AText) const {
        FDocuments.Write("Cotalys/Cotalys.ini", AText);
        TSizingParams params;
        params.Capital = 1;  // proves that loading replaces every field
        params.LoadFromIni(IniPath());
        return params;
    }

    test::TempDir FDocuments;
};

// Every field away from its default and from the other fields' values, so a key that loads
// into the wrong field, or a field left out of the key table, shows.
TSizingParams EveryFieldChanged() {
    TSizingParams params;
    params.Capital = 250000.75;
    params.RiskPct = 1.5;
    params.MaxPositionPct = 35;
    params.SlippageFactor = 1.75;
    params.FeeFixed = 2.5;
    params.FeePct = 0.125;
    params.LotSize = 10;
    params.MaxPositions = 8;
    params.MaxTotalRiskPct = 7.5;
    params.OpenPositions = 3;
    params.OpenRiskPct = 2.25;
    params.InvestedAmount = 60000;
    params.FeePlan = TFeePlan::fpBoursoTrader;
    params.IsPEA = true;
    params.TTFPct = 0.3;
    params.OnlyFavorablePhase = true;
    return params;
}

TEST_F(SettingsFile, LivesInTheCotalysDocumentsFolder) {
    EXPECT_EQ(TSizingParams::IniFileName(), IniPath());
}

TEST_F(SettingsFile, DefaultsAreWrittenAsPlainInvariantValues) {
    TSizingParams::Default().SaveToIni(TSizingParams::IniFileName());
    EXPECT_EQ(test::ReadAll(IniPath()),
              "[TailleDePosition]\n"
              "Capital=100000\n"
              "RisqueParPositionPct=1\n"
              "PositionMaxPct=20\n"
              "FacteurGlissement=1.25\n"
              "FraisFixes=0\n"
              "FraisPct=0\n"
              "Quotite=1\n"
              "PositionsMax=5\n"
              "RisqueTotalMaxPct=5\n"
              "PositionsOuvertes=0\n"
              "RisqueEngagePct=0\n"
              "MontantInvesti=0\n"
              "Forfait=0\n"
              "PEA=0\n"
              "TTFPct=0.4\n"
              "PhaseFavorableSeulement=0\n");
}

TEST_F(SettingsFile, EveryFieldSurvivesARoundTrip) {
    const TSizingParams saved = EveryFieldChanged();
    saved.SaveToIni(IniPath());
    TSizingParams loaded;
    loaded.LoadFromIni(IniPath());
    EXPECT_EQ(loaded, saved) << loaded.Summary();
}

TEST_F(SettingsFile, ReadsHandWrittenFrenchValues) {
    const TSizingParams loaded = LoadText(
        "\xEF\xBB\xBF; ecrit a la main\r\n"
        "[TailleDePosition]\r\n"
        "Capital = 250000,75\r\n"
        "RisqueParPositionPct=1,5\r\n"
        "PositionMaxPct=35\r\n"
        "FacteurGlissement=1,75\r\n"
        "FraisFixes=2,50\r\n"
        "FraisPct=0,125\r\n"
        "Quotite=10\r\n"
        "PositionsMax=+8\r\n"
        "RisqueTotalMaxPct=7,5\r\n"
        "PositionsOuvertes=3\r\n"
        "RisqueEngagePct=2,25\r\n"
        "MontantInvesti=60000\r\n"
        "Forfait=2\r\n"
        "PEA=1\r\n"
        "TTFPct=0,3\r\n"
        "PhaseFavorableSeulement=5\r\n");
    EXPECT_EQ(loaded, EveryFieldChanged()) << loaded.Summary();
}

TEST_F(SettingsFile, AnUnreadableValueFallsBackToItsDefaultAlone) {
    struct TCase {
        const char* Line;
        double Capital;
        std::int32_t LotSize;
        TFeePlan Plan;
    };
    const TCase cases[] = {
        {"Capital=50000,5", 50000.5, 1, TFeePlan::fpCustom},
        {"Capital=", 100000, 1, TFeePlan::fpCustom},
        {"Capital=abc", 100000, 1, TFeePlan::fpCustom},
        {"Capital=1 000", 100000, 1, TFeePlan::fpCustom},
        {"Capital=inf", 100000, 1, TFeePlan::fpCustom},
        {"Quotite=2,5", 100000, 1, TFeePlan::fpCustom},
        {"Quotite=99999999999", 100000, 1, TFeePlan::fpCustom},
        {"Quotite= 25 ", 100000, 25, TFeePlan::fpCustom},
        {"Forfait=7", 100000, 1, TFeePlan::fpBoursoUltimate},
        {"Forfait=-2", 100000, 1, TFeePlan::fpCustom},
        {"Forfait=1", 100000, 1, TFeePlan::fpBoursoDecouverte},
    };
    for (const auto& c : cases) {
        const TSizingParams loaded =
            LoadText(std::string("[TailleDePosition]\nRisqueParPositionPct=2\n") + c.Line + "\n");
        EXPECT_EQ(loaded.Capital, c.Capital) << c.Line;
        EXPECT_EQ(loaded.LotSize, c.LotSize) << c.Line;
        EXPECT_EQ(loaded.FeePlan, c.Plan) << c.Line;
        EXPECT_EQ(loaded.RiskPct, 2) << c.Line;
    }
}

TEST_F(SettingsFile, AnInconsistentFileLoadsAsAllDefaults) {
    for (const char* text : {"[TailleDePosition]\nCapital=5000\nRisqueParPositionPct=12\n",
                             "[TailleDePosition]\nCapital=5000\nMontantInvesti=6000\n"}) {
        EXPECT_EQ(LoadText(text), TSizingParams::Default()) << text;
    }
}

TEST_F(SettingsFile, AMissingFileLoadsDefaultsAndCreatesNothing) {
    TSizingParams params = EveryFieldChanged();
    params.LoadFromIni(IniPath());
    EXPECT_EQ(params, TSizingParams::Default());
    EXPECT_FALSE(std::filesystem::exists(IniPath().parent_path()));
}

TEST_F(SettingsFile, OnlyASmallRegularFileIsRead) {
    std::filesystem::create_directories(IniPath().parent_path());
    const std::string settings = "[TailleDePosition]\nCapital=5000\n";
    struct TCase {
        const char* Name;
        std::function<void()> Make;
        const char* Reason;
    };
    const TCase cases[] = {
        {"pipe", [&] { ASSERT_EQ(::mkfifo(IniPath().c_str(), 0600), 0); },
         "ce n'est pas un fichier ordinaire"},
        {"endless device", [&] { std::filesystem::create_symlink("/dev/zero", IniPath()); },
         "ce n'est pas un fichier ordinaire"},
        {"folder", [&] { std::filesystem::create_directory(IniPath()); },
         "ce n'est pas un fichier ordinaire"},
        {"huge file",
         [&] { FDocuments.Write("Cotalys/Cotalys.ini", settings + std::string(1 << 20, ';')); },
         "plus de 1048576 octets"},
    };
    for (const TCase& c : cases) {
        std::filesystem::remove_all(IniPath());
        c.Make();
        // A pipe nobody writes to would block an ordinary read for ever.
        auto loading = std::async(std::launch::async, [&] {
            TSizingParams params = EveryFieldChanged();
            const std::string note = params.LoadFromIni(IniPath());
            return std::make_pair(params, note);
        });
        if (loading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            const int writer = ::open(IniPath().c_str(), O_WRONLY | O_NONBLOCK);
            ::close(writer);
            ADD_FAILURE() << c.Name << ": the load waited for the file";
        }
        const auto [params, note] = loading.get();
        EXPECT_EQ(params, TSizingParams::Default()) << c.Name;
        EXPECT_EQ(note,
                  "Reglages de taille illisibles, valeurs par defaut : Impossible de lire "
                  "le fichier " +
                      IniPath().string() + " : " + c.Reason)
            << c.Name;
        // Nor is such a file replaced by a save.
        EXPECT_THROW(EveryFieldChanged().SaveToIni(IniPath()), EFinanceError) << c.Name;
    }
    std::filesystem::remove_all(IniPath());
    FDocuments.Write("Cotalys/Cotalys.ini", settings);
    TSizingParams params;
    EXPECT_EQ(params.LoadFromIni(IniPath()), "");
    EXPECT_EQ(params.Capital, 5000);
}

TEST_F(SettingsFile, SavingKeepsTheRestOfTheFile) {
    FDocuments.Write("Cotalys/Cotalys.ini",
                     "\xEF\xBB\xBF[Fenetre]\r\nLargeur=1280\r\n\r\n[TailleDePosition]\r\n"
                     "Capital=1\r\nNote=a garder\r\n");
    EveryFieldChanged().SaveToIni(IniPath());
    const std::string text = test::ReadAll(IniPath());
    EXPECT_EQ(text.rfind("[Fenetre]\nLargeur=1280\n\n[TailleDePosition]\nCapital=250000.75\n"
                         "Note=a garder\nRisqueParPositionPct=1.5\n",
                         0),
              0u)
        << text;
    TSizingParams loaded;
    loaded.LoadFromIni(IniPath());
    EXPECT_EQ(loaded, EveryFieldChanged());
}

TEST_F(SettingsFile, InvalidSettingsAreNotWritten) {
    const std::string before = "[TailleDePosition]\nCapital=5000\n";
    FDocuments.Write("Cotalys/Cotalys.ini", before);
    TSizingParams params;
    params.RiskPct = 11;
    EXPECT_THROW(params.SaveToIni(IniPath()), EFinanceError);
    EXPECT_EQ(test::ReadAll(IniPath()), before);
}

TEST_F(SettingsFile, ASaveCutShortKeepsThePreviousFile) {
    const std::string before = "[TailleDePosition]\nCapital=5000\n";
    FDocuments.Write("Cotalys/Cotalys.ini", before);
    {
        const test::FileSizeLimit diskFull(before.size());
        EXPECT_THROW(EveryFieldChanged().SaveToIni(IniPath()), EFinanceError);
    }
    EXPECT_EQ(test::ReadAll(IniPath()), before);
}

TEST_F(SettingsFile, AFileThatCannotBeWrittenGivesAFrenchError) {
    // A plain file where the folder should be: the folder cannot be created, whoever runs this.
    FDocuments.Write("Cotalys", "pas un dossier");
    try {
        TSizingParams::Default().SaveToIni(IniPath());
        FAIL() << "no error";
    } catch (const EFinanceError& e) {
        EXPECT_EQ(
            e.Message().rfind("Impossible d'ecrire le fichier " + IniPath().string() + " : ", 0),
            0u)
            << e.Message();
    }
}

}  // namespace
}  // namespace cotalys
