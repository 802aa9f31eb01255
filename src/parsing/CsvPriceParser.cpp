#include "parsing/CsvPriceParser.h"

#include <vector>

#include "core/Core.h"
#include "parsing/TextHelpers.h"

namespace cotalys {
namespace {

// The physical lines of a text, split at CR LF, CR or LF.
std::vector<std::string_view> SplitLines(std::string_view AContent) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < AContent.size(); ++i) {
        if (AContent[i] == '\r' || AContent[i] == '\n') {
            lines.push_back(AContent.substr(start, i - start));
            if (AContent[i] == '\r' && i + 1 < AContent.size() && AContent[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    lines.push_back(AContent.substr(start));
    return lines;
}

}  // namespace

char TCsvPriceParser::DetectSeparator(std::string_view ALine) {
    int semicolons = 0, commas = 0, tabs = 0;
    for (const char c : ALine) {
        semicolons += c == ';';
        commas += c == ',';
        tabs += c == '\t';
    }
    if (tabs > 0 && tabs >= semicolons && tabs >= commas) {
        return '\t';
    }
    return semicolons >= commas ? ';' : ',';
}

TCells TCsvPriceParser::SplitCsvLine(std::string_view ALine, char ASeparator) {
    TCells fields;
    std::string buffer;
    bool inQuotes = false;
    for (std::size_t i = 0; i < ALine.size(); ++i) {
        const char c = ALine[i];
        if (inQuotes) {
            if (c != '"') {
                buffer += c;
            } else if (i + 1 < ALine.size() && ALine[i + 1] == '"') {
                buffer += '"';
                ++i;
            } else {
                inQuotes = false;
            }
        } else if (c == '"') {
            inQuotes = true;
        } else if (c == ASeparator) {
            fields.emplace_back(TrimBlanks(buffer));
            buffer.clear();
        } else {
            buffer += c;
        }
    }
    fields.emplace_back(TrimBlanks(buffer));
    return fields;
}

int TCsvPriceParser::Parse(std::string_view AContent, TPriceSeries& ASeries,
                           TParseReport& AReport) const {
    AReport.SetSourceName(Name());
    const std::vector<std::string_view> lines = SplitLines(AContent);
    std::size_t header = 0;
    while (header < lines.size() && IsBlank(lines[header])) {
        ++header;
    }
    if (header == lines.size()) {
        throw EParseError::CreateAt(Name(), 0, "fichier vide");
    }
    const std::string_view headerLine = lines[header];
    const int headerNo = static_cast<int>(header) + 1;
    if (headerLine.front() == '<' || headerLine.front() == '{') {
        throw EParseError::CreateAt(Name(), headerNo,
                                    "le contenu ressemble a du HTML ou du JSON, pas a un CSV");
    }
    const char separator = DetectSeparator(headerLine);
    const TColumnMap map = DetectColumns(SplitCsvLine(headerLine, separator));
    if (!HasRequiredColumns(map)) {
        throw EUnrecognisedHeader(EParseError::CreateAt(
            Name(), headerNo, Format("en-tete non reconnu \"%s\"", FirstChars(headerLine, 120))));
    }
    if (map.Volume < 0) {
        AReport.Warn("Colonne Volume absente : coloration par volume neutralisee");
    }
    int count = 0;
    for (std::size_t i = header + 1; i < lines.size(); ++i) {
        if (IsBlank(lines[i])) {
            continue;
        }
        TPriceBar bar;
        if (BuildBar(SplitCsvLine(lines[i], separator), map, static_cast<int>(i) + 1, AReport,
                     bar)) {
            ASeries.Add(bar);
            ++count;
        }
    }
    FinishParse(count, AReport);
    return count;
}

}  // namespace cotalys
