#pragma once

#include <string>

namespace CLI {
class App;
class ParseError;
}  // namespace CLI

namespace cotalys {

// CLI11 writes its help and its errors in English: these put them in French.

// The French labels of the help ("Utilisation", "Arguments", "OBLIGATOIRE", type names...) and
// the help flag's text, on AApp. Called before any option or subcommand is added, so that the
// subcommands inherit them.
void UseFrenchHelp(CLI::App& AApp);

// The help lines of AApp's own options, its help and version flags left out, as its help shows
// them.
std::string OptionLines(const CLI::App& AApp);

// The French text of an argument error that CLI11 raised; an error of an unknown form keeps its
// text.
std::string FrenchParseError(const CLI::ParseError& AError);

}  // namespace cotalys
