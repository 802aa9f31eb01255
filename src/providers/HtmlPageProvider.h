#pragma once

#include <string>

#include "providers/BaseProvider.h"

namespace cotalys {

// A web page holding a price table, at an address built from a template with the markers
// {SYMBOL}, {FROM} and {TO} (any case).
class THtmlPageProvider : public TBaseProvider {
public:
    // EDataProviderError "Modele d'URL vide" when the template is blank; ATableIndex is the
    // 0-based table to read, or -1 to let the parser choose.
    THtmlPageProvider(const std::string& AUrlTemplate, int ATableIndex);

    std::string Name() const override { return "Page HTML"; }
    // Fetch, parse, finish; warns "Historique partiel : ..." when the first session comes more
    // than 45 days after AFrom.
    void Load(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo, TPriceSeries& ASeries,
              TParseReport& AReport) const override;

    // The template with every marker replaced: the symbol trimmed and URL-encoded, the dates as
    // yyyy-mm-dd. A template without markers is returned unchanged.
    std::string BuildUrl(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo) const;

private:
    std::string FUrlTemplate;
    int FTableIndex;
};

}  // namespace cotalys
