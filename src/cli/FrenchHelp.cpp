#include "cli/FrenchHelp.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <regex>

namespace cotalys {
namespace {

// One form of CLI11's error texts and its French wording ($1, $2... for the captured parts).
struct TErrorWording {
    const char* English;
    const char* French;
};

// Every error text CLI11 2.1 can give for the options of this program, most specific first.
const TErrorWording ErrorWordings[] = {
    {"A subcommand is required", "sous-commande manquante"},
    {"Requires at least (\\d+) subcommands", "au moins $1 sous-commande(s) attendue(s)"},
    {"(.+) is required", "$1 manquant"},
    {"The following arguments? (?:was|were) not expected: (.*)", "argument(s) inattendu(s) : $1"},
    {"Could not convert: (.+) = (.*)", "valeur non reconnue pour $1 : $2"},
    {"The value (.*) is not an allowed value for (.+)", "valeur non reconnue pour $2 : $1"},
    {"(.+): too many inputs for a flag", "$1 ne prend pas de valeur"},
    {"(.+): Should be true/false or a number", "$1 attend 0 ou 1"},
    {"(.+): \\d+ required .+ missing", "valeur manquante apres $1"},
    {"Expected exactly (\\d+) arguments to (.+), got (\\d+)",
     "$2 attend $1 valeur(s), $3 donnee(s)"},
    {"Expected at least (\\d+) arguments to (.+), got (\\d+)",
     "$2 attend au moins $1 valeur(s), $3 donnee(s)"},
    {"(.+): At least (\\d+) required but received (\\d+)",
     "$1 attend au moins $2 valeur(s), $3 donnee(s)"},
    {"(.+): At Most (\\d+) required but received (\\d+)",
     "$1 attend au plus $2 valeur(s), $3 donnee(s)"},
    {"(.+): Value (.*) not in range (.+) to (.+)", "$1 : $2 hors de l'intervalle $3 a $4"},
    {"(.+): (.*) not in (\\{.*\\})", "$1 : $2 n'est pas parmi $3"},
    {"(.+) requires (.+)", "$1 demande $2"},
    {"(.+) excludes (.+)", "$1 exclut $2"},
    // A value that is not of the option's type, then the checks of this program, which word
    // their own message.
    {"(-[^:]+): (\\S*)", "valeur non reconnue pour $1 : $2"},
    {"(-[^:]+|[A-Z]+): (.*)", "$1 : $2"},
};

const struct {
    const char* Key;
    const char* Label;
} HelpLabels[] = {
    {"Usage", "Utilisation "},
    {"OPTIONS", "OPTIONS"},
    {"SUBCOMMAND", "SOUS-COMMANDE"},
    {"SUBCOMMANDS", "SOUS-COMMANDES"},
    {"Positionals", "Arguments"},
    {"REQUIRED", "OBLIGATOIRE"},
    {"Needs", "Demande"},
    {"Excludes", "Exclut"},
    {"Env", "Variable"},
    {"TEXT", "TEXTE"},
    {"INT", "ENTIER"},
};

}  // namespace

void UseFrenchHelp(CLI::App& AApp) {
    auto formatter = std::make_shared<CLI::Formatter>();
    for (const auto& label : HelpLabels) {
        formatter->label(label.Key, label.Label);
    }
    formatter->column_width(32);
    AApp.formatter(formatter);
    AApp.set_help_flag("-h,--help", "Afficher cette aide");
}

std::string OptionLines(const CLI::App& AApp) {
    const auto formatter = std::dynamic_pointer_cast<const CLI::Formatter>(AApp.get_formatter());
    std::string lines;
    for (const CLI::Option* option : AApp.get_options()) {
        if (formatter && option != AApp.get_help_ptr() && option != AApp.get_version_ptr()) {
            lines += formatter->make_option(option, false);
        }
    }
    return lines;
}

std::string FrenchParseError(const CLI::ParseError& AError) {
    const std::string text = AError.what();
    for (const TErrorWording& wording : ErrorWordings) {
        const std::regex form(wording.English);
        if (std::regex_match(text, form)) {
            return std::regex_replace(text, form, wording.French);
        }
    }
    return text;
}

}  // namespace cotalys
