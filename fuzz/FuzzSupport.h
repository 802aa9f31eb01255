#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/Core.h"
#include "parsing/PriceParser.h"

namespace cotalys::fuzz {

// A broken promise aborts with its description: libFuzzer keeps the input as a crash.
inline void Require(bool ACondition, const char* AWhat) {
    if (!ACondition) {
        std::fprintf(stderr, "Promesse non tenue : %s\n", AWhat);
        std::abort();
    }
}

// Texts shown to the user must stay valid UTF-8 whenever what they quote was.
inline void RequireText(bool AInputWasUtf8, std::string_view AText, const char* AWhat) {
    if (AInputWasUtf8) {
        Require(IsValidUtf8(AText), AWhat);
    }
}

// Runs a parser the way a provider does. Refusing the text with EParseError is a valid answer;
// any other exception escapes and libFuzzer reports it. After a success every promise of
// IPriceParser::Parse is checked, and the report's texts are built as the window would.
inline void ParseOrRefuse(const IPriceParser& AParser, std::string_view AContent) {
    const bool utf8 = IsValidUtf8(AContent);
    TPriceSeries series("FUZZ");
    TParseReport report;
    try {
        const int count = AParser.Parse(AContent, series, report);
        Require(count >= 1, "au moins une barre apres un succes");
        Require(series.Count() == count, "autant de barres ajoutees que annoncees");
        Require(report.Accepted() == count, "barres comptees comme retenues");
        std::string reason;
        for (const TPriceBar& bar : series.Bars()) {
            Require(bar.IsValid(reason), "chaque barre ajoutee est valide");
        }
    } catch (const EParseError& E) {
        Require(E.SourceName() == AParser.Name(), "source de l'erreur = nom du lecteur");
        RequireText(utf8, E.Message(), "message d'erreur en UTF-8");
    }
    Require(report.SourceName() == AParser.Name(), "source du rapport = nom du lecteur");
    RequireText(utf8, report.Summary(), "resume du rapport en UTF-8");
    RequireText(utf8, report.Details(50), "detail du rapport en UTF-8");
}

// A file of that name in a folder of this process, for the readers that take a path.
inline std::filesystem::path ScratchFile(const std::string& AName) {
    static const std::filesystem::path folder = [] {
        auto path =
            std::filesystem::temp_directory_path() / ("cotalys-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder / AName;
}

// Writes the bytes as they are (no temporary file: the fuzzer rewrites it thousands of times).
inline void WriteScratch(const std::filesystem::path& APath, std::string_view ABytes) {
    std::FILE* file = std::fopen(APath.c_str(), "wb");
    Require(file != nullptr, "fichier de travail inscriptible");
    Require(std::fwrite(ABytes.data(), 1, ABytes.size(), file) == ABytes.size(),
            "fichier de travail ecrit");
    std::fclose(file);
}

inline std::string_view AsText(const std::uint8_t* AData, std::size_t ASize) {
    return {reinterpret_cast<const char*>(AData), ASize};
}

}  // namespace cotalys::fuzz
