#pragma once

#include <string>

#include "parsing/Parsing.h"
#include "providers/BaseProvider.h"

namespace cotalys {

// A price file on disk: HTML (.htm, .html), chart JSON (.json) or CSV (any other name).
class TLocalFileProvider : public TBaseProvider {
public:
    // Stores the path; nothing is checked before Load.
    explicit TLocalFileProvider(const std::string& AFileName) : FFileName(AFileName) {}

    // "Fichier " and the file's name without its folder.
    std::string Name() const override;
    // Reads and decodes the file (byte-order mark, else UTF-8, else Windows-1252), parses it
    // and finishes; ASymbol is not used. EDataProviderError for a missing, unreadable or empty
    // file.
    void Load(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo, TPriceSeries& ASeries,
              TParseReport& AReport) const override;

private:
    IPriceParserPtr CreateParser() const;

    std::string FFileName;
};

}  // namespace cotalys
