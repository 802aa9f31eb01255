#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

struct pcre2_real_code_8;
struct pcre2_real_match_data_8;

namespace cotalys {

// Options of a compiled expression.
enum class TRegexOption : unsigned {
    roNone = 0,
    roIgnoreCase = 1,  // case-insensitive
    roDotAll = 2,      // "." also matches line breaks
};

constexpr TRegexOption operator|(TRegexOption A, TRegexOption B) {
    return static_cast<TRegexOption>(static_cast<unsigned>(A) | static_cast<unsigned>(B));
}

// The result of the last successful search: byte offsets of each group. Owns the engine's match
// data, so one object serves a whole loop of searches by one thread.
class TRegexMatch {
public:
    TRegexMatch();
    ~TRegexMatch();
    TRegexMatch(const TRegexMatch&) = delete;
    TRegexMatch& operator=(const TRegexMatch&) = delete;

    // Offsets of a group (0 is the whole match); npos when the group took no part.
    std::size_t Begin(int AGroup = 0) const;
    std::size_t End(int AGroup = 0) const;
    // The group's text inside the searched subject; empty when the group took no part.
    std::string_view Group(std::string_view ASubject, int AGroup) const;

private:
    friend class TRegex;
    struct TDeleter {
        void operator()(pcre2_real_match_data_8* AData) const;
    };
    std::unique_ptr<pcre2_real_match_data_8, TDeleter> FData;
};

// A PCRE2 expression in UTF mode, compiled (and JIT-compiled when available) once, then shared
// read-only by every thread; each search brings its own match data. Subjects holding invalid
// UTF-8 are searched too: invalid bytes simply match nothing.
class TRegex {
public:
    // ASourceName names the parser the expression serves, for the errors of Find. An invalid
    // pattern is a programming error (std::logic_error).
    TRegex(std::string_view APattern, TRegexOption AOptions, std::string ASourceName);
    ~TRegex();
    TRegex(const TRegex&) = delete;
    TRegex& operator=(const TRegex&) = delete;

    // Leftmost match starting at or after AOffset. Throws EParseError (line 0) when the search
    // exceeds the engine's match, depth or stack limits, so a hostile text never hangs a parse.
    bool Find(std::string_view ASubject, std::size_t AOffset, TRegexMatch& AMatch) const;
    // True when the expression matches anywhere in ASubject.
    bool Contains(std::string_view ASubject) const;
    // ASubject with every match replaced by AReplacement (taken literally).
    std::string ReplaceAll(std::string_view ASubject, std::string_view AReplacement) const;

private:
    pcre2_real_code_8* FCode = nullptr;
    std::string FSourceName;
};

}  // namespace cotalys
