#pragma once

// Price parsing: the parser interface, the cell recognisers, the tabular toolkit and the CSV,
// HTML table and chart JSON parsers.
#include "parsing/CellRecognisers.h"
#include "parsing/CsvPriceParser.h"
#include "parsing/HtmlTableParser.h"
#include "parsing/PriceParser.h"
#include "parsing/TabularPriceParser.h"
#include "parsing/YahooChartParser.h"
