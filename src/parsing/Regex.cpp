#include "parsing/Regex.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <stdexcept>

#include "core/Core.h"

namespace cotalys {
namespace {

// Enough pairs for every expression of the parsers (the date forms have twelve groups).
constexpr std::uint32_t MatchPairs = 16;

// Limits written out rather than taken from the library's build, so a hostile page costs the
// same everywhere: the backtracking budget of one search and its nesting depth.
constexpr std::uint32_t MatchLimit = 10'000'000;
constexpr std::uint32_t DepthLimit = 100'000;

// Shared by every search; the engine only reads it.
pcre2_match_context* LimitsContext() {
    static pcre2_match_context* const Context = [] {
        pcre2_match_context* context = pcre2_match_context_create(nullptr);
        if (context == nullptr) {
            throw std::bad_alloc();
        }
        pcre2_set_match_limit(context, MatchLimit);
        pcre2_set_depth_limit(context, DepthLimit);
        return context;
    }();
    return Context;
}

std::string ErrorText(int ACode) {
    PCRE2_UCHAR buffer[256];
    if (pcre2_get_error_message(ACode, buffer, sizeof buffer) < 0) {
        return std::to_string(ACode);
    }
    return reinterpret_cast<const char*>(buffer);
}

std::size_t NextCharBoundary(std::string_view AText, std::size_t APos) {
    ++APos;
    while (APos < AText.size() && (static_cast<unsigned char>(AText[APos]) & 0xC0) == 0x80) {
        ++APos;
    }
    return APos;
}

}  // namespace

TRegexMatch::TRegexMatch() : FData(pcre2_match_data_create(MatchPairs, nullptr)) {
    if (!FData) {
        throw std::bad_alloc();
    }
}

TRegexMatch::~TRegexMatch() = default;

void TRegexMatch::TDeleter::operator()(pcre2_real_match_data_8* AData) const {
    pcre2_match_data_free(AData);
}

std::size_t TRegexMatch::Begin(int AGroup) const {
    const PCRE2_SIZE value = pcre2_get_ovector_pointer(FData.get())[2 * AGroup];
    return value == PCRE2_UNSET ? std::string_view::npos : value;
}

std::size_t TRegexMatch::End(int AGroup) const {
    const PCRE2_SIZE value = pcre2_get_ovector_pointer(FData.get())[2 * AGroup + 1];
    return value == PCRE2_UNSET ? std::string_view::npos : value;
}

std::string_view TRegexMatch::Group(std::string_view ASubject, int AGroup) const {
    const std::size_t begin = Begin(AGroup);
    if (begin == std::string_view::npos) {
        return {};
    }
    return ASubject.substr(begin, End(AGroup) - begin);
}

TRegex::TRegex(std::string_view APattern, TRegexOption AOptions, std::string ASourceName)
    : FSourceName(std::move(ASourceName)) {
    // Invalid UTF-8 in a page must not fail the search: such bytes just never match.
    std::uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF;
    if ((static_cast<unsigned>(AOptions) & static_cast<unsigned>(TRegexOption::roIgnoreCase)) !=
        0) {
        options |= PCRE2_CASELESS;
    }
    if ((static_cast<unsigned>(AOptions) & static_cast<unsigned>(TRegexOption::roDotAll)) != 0) {
        options |= PCRE2_DOTALL;
    }
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    FCode = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(APattern.data()), APattern.size(), options,
                          &error, &errorOffset, nullptr);
    if (FCode == nullptr) {
        throw std::logic_error("expression invalide \"" + std::string(APattern) +
                               "\" : " + ErrorText(error));
    }
    std::uint32_t groups = 0;
    pcre2_pattern_info(FCode, PCRE2_INFO_CAPTURECOUNT, &groups);
    if (groups >= MatchPairs) {
        pcre2_code_free(FCode);
        throw std::logic_error("trop de groupes dans \"" + std::string(APattern) + "\"");
    }
    // Without JIT support the interpreter runs the same expression, only slower.
    pcre2_jit_compile(FCode, PCRE2_JIT_COMPLETE);
}

TRegex::~TRegex() {
    pcre2_code_free(FCode);
}

bool TRegex::Find(std::string_view ASubject, std::size_t AOffset, TRegexMatch& AMatch) const {
    if (AOffset > ASubject.size()) {
        return false;
    }
    const int rc = pcre2_match(FCode, reinterpret_cast<PCRE2_SPTR>(ASubject.data()),
                               ASubject.size(), AOffset, 0, AMatch.FData.get(), LimitsContext());
    if (rc >= 0) {
        return true;
    }
    if (rc == PCRE2_ERROR_NOMATCH) {
        return false;
    }
    if (rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT ||
        rc == PCRE2_ERROR_HEAPLIMIT || rc == PCRE2_ERROR_JIT_STACKLIMIT) {
        throw EParseError::CreateAt(
            FSourceName, 0,
            "contenu trop complexe pour l'analyse (limite de recherche atteinte : " +
                ErrorText(rc) + ")");
    }
    throw EParseError::CreateAt(FSourceName, 0, "erreur d'expression reguliere : " + ErrorText(rc));
}

bool TRegex::Contains(std::string_view ASubject) const {
    TRegexMatch match;
    return Find(ASubject, 0, match);
}

std::string TRegex::ReplaceAll(std::string_view ASubject, std::string_view AReplacement) const {
    std::string result;
    TRegexMatch match;
    std::size_t copied = 0;
    std::size_t offset = 0;
    while (Find(ASubject, offset, match)) {
        result.append(ASubject.substr(copied, match.Begin() - copied));
        result.append(AReplacement);
        copied = match.End();
        offset = match.End() > match.Begin() ? match.End() : NextCharBoundary(ASubject, copied);
        if (offset > ASubject.size()) {
            break;
        }
    }
    result.append(ASubject.substr(copied));
    return result;
}

}  // namespace cotalys
