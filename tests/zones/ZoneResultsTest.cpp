#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "zones/SupportResistance.h"

namespace cotalys {
namespace {

TPriceZone Zone(double ABottom, double ATop, TZoneKind AKind, int ARank) {
    TPriceZone zone;
    zone.Bottom = ABottom;
    zone.Top = ATop;
    zone.Kind = AKind;
    zone.Rank = ARank;
    return zone;
}

// One support and one resistance around the close, as the analyzer lays them out.
TSRResult Around(double AClose, const TPriceZone& ASupport, const TPriceZone& AResistance) {
    TSRResult result;
    result.LastClose = AClose;
    result.Atr = 1.5;
    result.Zones = {ASupport, AResistance};
    result.NearestSupport = 0;
    result.NearestResistance = 1;
    return result;
}

TEST(PriceZone, LabelsAndDescription) {
    EXPECT_EQ(Zone(1, 2, TZoneKind::zkResistance, 3).Lab(), "R3");
    EXPECT_EQ(Zone(1, 2, TZoneKind::zkInside, 1).Lab(), "S1*");
    EXPECT_EQ(Zone(1, 2, TZoneKind::zkSupport, 12).Lab(), "S12");
    TPriceZone zone = Zone(98.5, 99.8, TZoneKind::zkSupport, 1);
    zone.Touches = 3;
    zone.WeeklyTouches = 1;
    zone.VolumeConfirmed = 2;
    zone.Score = 6.5;
    EXPECT_EQ(zone.Describe(FrenchFormatSettings()),
              "S1 98,50-99,80 (3 reaction(s), 1 hebdo, 2 avec volume, score 6,5)");
    EXPECT_TRUE(zone.Contains(98.5));
    EXPECT_TRUE(zone.Contains(99.8));
    EXPECT_FALSE(zone.Contains(99.81));
}

TEST(SRResult, DistanceAndMargin) {
    const TSRResult result = Around(100, Zone(90, 98, TZoneKind::zkSupport, 1),
                                    Zone(105, 110, TZoneKind::zkResistance, 1));
    EXPECT_DOUBLE_EQ(result.DistanceToSupportPct(), 2);
    EXPECT_DOUBLE_EQ(result.MarginToResistancePct(), 5);

    const TSRResult inside = Around(97, Zone(90, 98, TZoneKind::zkInside, 1),
                                    Zone(105, 110, TZoneKind::zkResistance, 1));
    EXPECT_EQ(inside.DistanceToSupportPct(), 0);

    TSRResult none;
    EXPECT_TRUE(std::isnan(none.DistanceToSupportPct()));
    EXPECT_TRUE(std::isinf(none.MarginToResistancePct()));
    TSRResult zeroClose = result;
    zeroClose.LastClose = 0;
    EXPECT_TRUE(std::isnan(zeroClose.DistanceToSupportPct()));
    EXPECT_TRUE(std::isinf(zeroClose.MarginToResistancePct()));
    // An index that points at no zone counts as no zone rather than reading past the list.
    TSRResult dangling;
    dangling.LastClose = 100;
    dangling.NearestSupport = 0;
    dangling.NearestResistance = 0;
    EXPECT_TRUE(std::isnan(dangling.DistanceToSupportPct()));
    EXPECT_TRUE(std::isinf(dangling.MarginToResistancePct()));
}

TEST(SRResult, SummaryWithoutZonesHasThreeLines) {
    TSRResult result;
    result.Atr = 2.345;
    EXPECT_EQ(result.Summary(FrenchFormatSettings()),
              "Zones (ATR 2,35) : aucune zone confirmee par au moins deux reactions\r\n"
              "  Aucun support identifie sous le cours\r\n"
              "  Aucune resistance identifiee au-dessus du cours");
}

TEST(SRResult, SummaryListsZonesThenDistances) {
    TSRResult result = Around(100, Zone(90, 98, TZoneKind::zkSupport, 1),
                              Zone(105, 110, TZoneKind::zkResistance, 1));
    result.Zones[0].Touches = 2;
    result.Zones[0].Score = 3;
    EXPECT_EQ(result.Summary(FrenchFormatSettings()),
              "Zones (ATR 1,50) : \r\n"
              "  S1 90,00-98,00 (2 reaction(s), 0 hebdo, 0 avec volume, score 3,0)\r\n"
              "  R1 105,00-110,00 (0 reaction(s), 0 hebdo, 0 avec volume, score 0,0)\r\n"
              "  Distance au support (borne haute de S1) : 2,00 %\r\n"
              "  Marge jusqu'a la resistance (borne basse de R1) : 5,00 %");
}

TEST(EntryFilter, ReportOfTheUsualCase) {
    // 0.85 % above the top of S1, 3.2 % below R1.
    const TSRResult result = Around(100, Zone(97, 99.15, TZoneKind::zkSupport, 1),
                                    Zone(103.2, 106, TZoneKind::zkResistance, 1));
    std::string report;
    EXPECT_FALSE(TEntryFilter::Default().Evaluate(result, 0.123, report));
    EXPECT_EQ(report,
              "Filtre : support <= 1,7 % oui (0,85 %) | resistance >= 5,0 % NON (3,20 %) | "
              "MACD > 0 oui (0,123) | rendement non evalue par le module");
}

TEST(EntryFilter, Criteria) {
    // With a close of 128, a top at 126 is exactly 1.5625 % away and a bottom at 136 exactly
    // 6.25 %, so the bounds can be tested without rounding.
    const TSRResult exact = Around(128, Zone(120, 126, TZoneKind::zkSupport, 1),
                                   Zone(136, 140, TZoneKind::zkResistance, 1));
    const TSRResult inside = Around(125, Zone(120, 126, TZoneKind::zkInside, 1),
                                    Zone(136, 140, TZoneKind::zkResistance, 1));
    TSRResult noSupport = exact;
    noSupport.Zones = {exact.Zones[1]};
    noSupport.NearestSupport = -1;
    noSupport.NearestResistance = 0;
    TSRResult noResistance = exact;
    noResistance.Zones = {exact.Zones[0]};
    noResistance.NearestResistance = -1;

    const struct {
        const char* Name;
        TSRResult Result;
        TEntryFilter Filter;
        double MACD;
        bool Passes;
        const char* ReportPart;
    } cases[] = {
        {"distance on the bound", exact, {1.5625, 6.25, true}, 0.5, true, "1,56 %) |"},
        {"distance beyond the bound",
         exact,
         {1.5624, 6.25, true},
         0.5,
         false,
         "support <= 1,6 % NON"},
        {"margin below the bound",
         exact,
         {1.6, 6.26, true},
         0.5,
         false,
         "resistance >= 6,3 % NON (6,25 %)"},
        {"close inside the support", inside, {0, 5, true}, 0.5, true, "oui (0,00 %)"},
        {"no support", noSupport, TEntryFilter::Default(), 0.5, false, "NON (aucun support)"},
        {"no resistance", noResistance, {1.6, 5, true}, 0.5, true, "oui (aucune resistance)"},
        {"MACD of zero", exact, {1.6, 5, true}, 0, false, "MACD > 0 NON (0,000)"},
        {"MACD missing", exact, {1.6, 5, true}, std::nan(""), false, "MACD > 0 NON"},
        {"MACD not required", exact, {1.6, 5, false}, -2, true, "MACD > 0 oui (-2,000)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        std::string report;
        EXPECT_EQ(c.Filter.Evaluate(c.Result, c.MACD, report), c.Passes);
        EXPECT_THAT(report, ::testing::HasSubstr(c.ReportPart));
    }
}

}  // namespace
}  // namespace cotalys
