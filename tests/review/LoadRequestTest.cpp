#include <gtest/gtest.h>

#include <stdexcept>

#include "review/Review.h"

namespace cotalys {
namespace {

struct TDateCase {
    TDateTime Today;
    const char* ToDate;
    const char* DisplayFrom;
    const char* LoadFrom;
    const char* IndexFrom;
};

TEST(LoadRequestTest, WindowsCountCalendarMonthsBackFromToday) {
    const TDateCase cases[] = {
        {EncodeDate(2025, 3, 31) + 0.6, "31/03/2025", "31/03/2024", "31/12/2023", "30/09/2023"},
        {EncodeDate(2024, 2, 29), "29/02/2024", "28/02/2023", "28/11/2022", "28/08/2022"},
    };
    for (const TDateCase& c : cases) {
        const TLoadRequest request =
            TLoadRequest::For("  rno.pa ", TSourceKind::skQuoteService, "", c.Today);
        EXPECT_EQ(request.Symbol, "RNO.PA");
        EXPECT_EQ(FrenchDate(request.ToDate), c.ToDate);
        EXPECT_EQ(request.ToDate, DayOf(c.Today)) << "no time of day";
        EXPECT_EQ(FrenchDate(request.DisplayFrom), c.DisplayFrom);
        EXPECT_EQ(FrenchDate(request.LoadFrom), c.LoadFrom);
        EXPECT_EQ(FrenchDate(request.IndexFrom()), c.IndexFrom);
    }
}

TEST(LoadRequestTest, ErrorTextNamesTheKindOfFailure) {
    EXPECT_EQ(LoadErrorText(EParseError("colonnes introuvables", "x.csv", 0)),
              "Erreur de parsing : colonnes introuvables");
    EXPECT_EQ(LoadErrorText(EDataProviderError("HTTP 404")), "Erreur de source : HTTP 404");
    EXPECT_EQ(LoadErrorText(EIndicatorError("periode")), "EIndicatorError : periode");
    const std::string other = LoadErrorText(std::runtime_error("disque plein"));
    EXPECT_NE(other.find(" : disque plein"), std::string::npos);
    EXPECT_NE(other.find("runtime_error"), std::string::npos) << other;
}

TEST(LoadRequestTest, TheLocationIsTheFallbackPageOfTheQuoteServiceOnly) {
    const TDateTime today = EncodeDate(2021, 2, 22);
    const TLoadRequest service =
        TLoadRequest::For("AI.PA", TSourceKind::skQuoteService, " https://p/{SYMBOL} ", today);
    EXPECT_EQ(service.FallbackUrl, "https://p/{SYMBOL}");
    EXPECT_EQ(service.Location, "");
    EXPECT_EQ(BuildProvider(service)->Name(), "Chaine de 2 fournisseur(s)");
    EXPECT_EQ(
        BuildProvider(TLoadRequest::For("AI.PA", TSourceKind::skQuoteService, "", today))->Name(),
        "Yahoo Finance (JSON)");
    const TLoadRequest file = TLoadRequest::For("AI.PA", TSourceKind::skLocalFile, "a.csv", today);
    EXPECT_EQ(file.Location, "a.csv");
    EXPECT_EQ(file.FallbackUrl, "");
}

TEST(LoadRequestTest, AnIncompleteChoiceOfSourceIsRefusedWithItsMessage) {
    const auto messageOf = [](const auto& AAction) {
        try {
            AAction();
        } catch (const EDataProviderError& e) {
            return e.Message();
        }
        return std::string("(rien)");
    };
    const TDateTime today = EncodeDate(2021, 2, 22);
    EXPECT_EQ(messageOf([&] {
                  BuildProvider(TLoadRequest::For("AI.PA", TSourceKind::skHtmlPage, " ", today));
              }),
              "Indiquer l'URL de la page HTML");
    EXPECT_EQ(messageOf([&] {
                  BuildProvider(TLoadRequest::For("AI.PA", TSourceKind::skLocalFile, "", today));
              }),
              "Choisir un fichier local");
    EXPECT_EQ(messageOf([] { SourceKindAt(-1); }), "Source inconnue");
    EXPECT_EQ(messageOf([] { SourceKindAt(3); }), "Source inconnue");
    EXPECT_EQ(messageOf([] { SourceKindNamed("ftp"); }), "Source inconnue");
    EXPECT_EQ(SourceKindNamed("file"), TSourceKind::skLocalFile);
    EXPECT_EQ(SourceKindAt(1), TSourceKind::skHtmlPage);
}

}  // namespace
}  // namespace cotalys
