#include <algorithm>

#include "core/Core.h"
#include "parsing/CellRecognisers.h"
#include "parsing/TabularPriceParser.h"
#include "parsing/TextHelpers.h"

namespace cotalys {
namespace {

bool Has(std::string_view AText, std::string_view APart) {
    return AText.find(APart) != std::string_view::npos;
}

// The column a header cell names, tested in this order so that "Adj Close" and "Cours ajuste"
// are adjusted closes and "Plus bas" a low; nullptr when it names none.
std::int32_t* ColumnOfHeader(std::string_view AHeader, TColumnMap& AMap) {
    const std::string_view h = AHeader;
    if (Has(h, "date") || h == "jour" || Has(h, "seance")) {
        return &AMap.Date;
    }
    if (Has(h, "adj") || Has(h, "ajust")) {
        return &AMap.AdjClose;
    }
    if (Has(h, "ouv") || Has(h, "open")) {
        return &AMap.Open;
    }
    if (Has(h, "haut") || Has(h, "high") || h == "max") {
        return &AMap.High;
    }
    if (Has(h, "bas") || Has(h, "low") || h == "min") {
        return &AMap.Low;
    }
    if (Has(h, "clot") || Has(h, "close") || Has(h, "dernier") || Has(h, "fermeture") ||
        h == "cours" || h == "last") {
        return &AMap.Close;
    }
    if (Has(h, "vol") || Has(h, "quantite") || Has(h, "titres")) {
        return &AMap.Volume;
    }
    return nullptr;
}

// The cell at AIndex, or empty text when the row is shorter or the column absent.
std::string_view CellAt(const TCells& ACells, std::int32_t AIndex) {
    if (AIndex < 0 || static_cast<std::size_t>(AIndex) >= ACells.size()) {
        return {};
    }
    return ACells[static_cast<std::size_t>(AIndex)];
}

// NaN when the column is absent, the row too short or the text no number.
double OptionalPrice(const TCells& ACells, std::int32_t AIndex) {
    double value = 0;
    ParseDecimal(CellAt(ACells, AIndex), value);
    return value;
}

}  // namespace

TColumnMap TTabularPriceParser::DetectColumns(const TCells& AHeaderCells) {
    TColumnMap map;
    for (std::size_t p = 0; p < AHeaderCells.size(); ++p) {
        const std::string h = NormalizeText(TrimBlanks(AHeaderCells[p]));
        if (h.empty()) {
            continue;
        }
        std::int32_t* column = ColumnOfHeader(h, map);
        if (column != nullptr && *column < 0) {
            *column = static_cast<std::int32_t>(p);
        }
    }
    // The adjusted close is read as the close only when the table has no plain close.
    if (map.Close < 0 && map.AdjClose >= 0) {
        map.Close = map.AdjClose;
    }
    return map;
}

bool TTabularPriceParser::HasRequiredColumns(const TColumnMap& AMap) {
    return AMap.Date >= 0 && AMap.Close >= 0;
}

bool TTabularPriceParser::BuildBar(const TCells& ACells, const TColumnMap& AMap, int ALineNo,
                                   TParseReport& AReport, TPriceBar& ABar) {
    const auto required = static_cast<std::size_t>(std::max(AMap.Date, AMap.Close));
    if (ACells.size() <= required) {
        AReport.Reject(ALineNo, Format("%d cellule(s) seulement", ACells.size()));
        return false;
    }
    TDateTime date = 0;
    if (!ParseDate(CellAt(ACells, AMap.Date), date)) {
        AReport.Reject(ALineNo, Format("date illisible \"%s\"", CellAt(ACells, AMap.Date)));
        return false;
    }
    double close = 0;
    if (!ParseDecimal(CellAt(ACells, AMap.Close), close)) {
        AReport.Reject(ALineNo, Format("cloture illisible \"%s\"", CellAt(ACells, AMap.Close)));
        return false;
    }
    std::int64_t volume = 0;
    if (AMap.Volume >= 0 && !ParseVolume(CellAt(ACells, AMap.Volume), volume)) {
        AReport.Warn("Volumes illisibles sur certaines lignes : remplaces par 0");
        volume = 0;
    }
    ABar = TPriceBar::New(date, OptionalPrice(ACells, AMap.Open), OptionalPrice(ACells, AMap.High),
                          OptionalPrice(ACells, AMap.Low), close, volume);
    ABar.Normalize();
    std::string reason;
    if (!ABar.IsValid(reason)) {
        AReport.Reject(ALineNo, reason);
        return false;
    }
    AReport.Accept();
    return true;
}

void TTabularPriceParser::FinishParse(int AAccepted, TParseReport& AReport) const {
    if (AAccepted == 0) {
        throw EParseError::CreateAt(
            Name(), 0,
            Format("aucune ligne de cours exploitable (%d rejet(s))", AReport.Rejected()));
    }
    if (AReport.Rejected() > AAccepted) {
        AReport.Warn(Format("Taux de rejet eleve : %d rejet(s) pour %d ligne(s) retenue(s)",
                            AReport.Rejected(), AAccepted));
    }
}

}  // namespace cotalys
