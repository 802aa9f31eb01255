#include "core/TextDecoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <optional>

namespace cotalys {

void AppendUtf8(std::string& AText, char32_t ACode) {
    if (ACode < 0x80) {
        AText += static_cast<char>(ACode);
    } else if (ACode < 0x800) {
        AText += static_cast<char>(0xC0 | (ACode >> 6));
        AText += static_cast<char>(0x80 | (ACode & 0x3F));
    } else if (ACode < 0x10000) {
        AText += static_cast<char>(0xE0 | (ACode >> 12));
        AText += static_cast<char>(0x80 | ((ACode >> 6) & 0x3F));
        AText += static_cast<char>(0x80 | (ACode & 0x3F));
    } else {
        AText += static_cast<char>(0xF0 | (ACode >> 18));
        AText += static_cast<char>(0x80 | ((ACode >> 12) & 0x3F));
        AText += static_cast<char>(0x80 | ((ACode >> 6) & 0x3F));
        AText += static_cast<char>(0x80 | (ACode & 0x3F));
    }
}

namespace {

bool StartsWith(std::string_view ABytes, std::string_view APrefix) {
    return ABytes.substr(0, APrefix.size()) == APrefix;
}

std::string Lower(std::string_view AText) {
    std::string text(AText);
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// Text saved as UTF-16 without a byte-order mark has a NUL byte on the same side of nearly every
// pair. Read as UTF-8 it would pass as valid and be unusable; no price file holds NUL bytes
// otherwise. Empty when the bytes do not look so, else whether the text is big-endian.
std::optional<bool> Utf16WithoutMark(std::string_view ABytes) {
    const std::size_t pairs = std::min<std::size_t>(ABytes.size() / 2, 4096);
    std::size_t firstNul = 0;
    std::size_t secondNul = 0;
    for (std::size_t i = 0; i < pairs; ++i) {
        firstNul += ABytes[2 * i] == '\0' ? 1 : 0;
        secondNul += ABytes[2 * i + 1] == '\0' ? 1 : 0;
    }
    if (pairs == 0 || (firstNul * 2 < pairs && secondNul * 2 < pairs)) {
        return std::nullopt;
    }
    // A file of NUL bytes only, or mixed, is no UTF-16 text: leave it to the usual reading.
    if (secondNul * 2 >= pairs && firstNul * 20 <= pairs) {
        return false;
    }
    if (firstNul * 2 >= pairs && secondNul * 20 <= pairs) {
        return true;
    }
    return std::nullopt;
}

struct TIconvCloser {
    void operator()(void* AHandle) const { iconv_close(static_cast<iconv_t>(AHandle)); }
};

}  // namespace

bool IsValidUtf8(std::string_view ABytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(ABytes.data());
    const auto* end = p + ABytes.size();
    while (p < end) {
        const unsigned char c = *p;
        int extra = 0;
        std::uint32_t code = 0;
        std::uint32_t minimum = 0;
        if (c < 0x80) {
            ++p;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            code = c & 0x1F;
            minimum = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            code = c & 0x0F;
            minimum = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            code = c & 0x07;
            minimum = 0x10000;
        } else {
            return false;
        }
        if (end - p <= extra) {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            if ((p[k] & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (p[k] & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        p += extra + 1;
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view ABytes) {
    static constexpr std::uint16_t High[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    std::string text;
    text.reserve(ABytes.size() + ABytes.size() / 8);
    for (const char ch : ABytes) {
        const auto c = static_cast<unsigned char>(ch);
        AppendUtf8(text, c >= 0x80 && c < 0xA0 ? High[c - 0x80] : c);
    }
    return text;
}

std::string Utf16ToUtf8(std::string_view ABytes, bool ABigEndian) {
    std::string text;
    text.reserve(ABytes.size());
    const std::size_t units = ABytes.size() / 2;
    auto unitAt = [&](std::size_t AIndex) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(ABytes[2 * AIndex]);
        const auto b = static_cast<unsigned char>(ABytes[2 * AIndex + 1]);
        return ABigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            const std::uint32_t next = unitAt(i + 1);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                ++i;
                continue;
            }
        }
        // A surrogate without its partner cannot be written in UTF-8.
        AppendUtf8(text, unit >= 0xD800 && unit <= 0xDFFF ? 0x20 : unit);
    }
    return text;
}

std::string DecodeFileBytes(std::string_view ABytes) {
    if (StartsWith(ABytes, "\xEF\xBB\xBF")) {
        ABytes.remove_prefix(3);
        return IsValidUtf8(ABytes) ? std::string(ABytes) : Windows1252ToUtf8(ABytes);
    }
    if (StartsWith(ABytes, "\xFF\xFE")) {
        return Utf16ToUtf8(ABytes.substr(2), false);
    }
    if (StartsWith(ABytes, "\xFE\xFF")) {
        return Utf16ToUtf8(ABytes.substr(2), true);
    }
    if (const auto bigEndian = Utf16WithoutMark(ABytes)) {
        return Utf16ToUtf8(ABytes, *bigEndian);
    }
    return IsValidUtf8(ABytes) ? std::string(ABytes) : Windows1252ToUtf8(ABytes);
}

std::string DecodeCharset(std::string_view ABytes, std::string_view ACharset) {
    const std::string name = Lower(ACharset);
    const auto strictUtf8 = [&] {
        return IsValidUtf8(ABytes) ? std::string(ABytes) : std::string();
    };
    if (name.empty() || name == "utf-8" || name == "utf8") {
        return strictUtf8();
    }
    if (name == "windows-1252" || name == "cp1252") {
        return Windows1252ToUtf8(ABytes);
    }
    iconv_t raw = iconv_open("UTF-8", name.c_str());
    if (raw == reinterpret_cast<iconv_t>(-1)) {
        return strictUtf8();
    }
    std::unique_ptr<void, TIconvCloser> handle(raw);
    std::string input(ABytes);
    std::string output;
    output.resize(input.size() * 4 + 16);
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    while (inLeft > 0) {
        if (iconv(raw, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1)) {
            continue;
        }
        if (errno == E2BIG) {
            const auto used = static_cast<std::size_t>(out - output.data());
            output.resize(output.size() * 2);
            out = output.data() + used;
            outLeft = output.size() - used;
        } else {
            // An invalid or cut-off sequence in the named charset: the text cannot be trusted.
            return std::string();
        }
    }
    output.resize(static_cast<std::size_t>(out - output.data()));
    return output;
}

}  // namespace cotalys
