// Decoding of file and response bytes: whatever the bytes, the text handed to the parsers is
// valid UTF-8.
#include "FuzzSupport.h"

using cotalys::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ASize) {
    const auto bytes = cotalys::fuzz::AsText(AData, ASize);
    Require(cotalys::IsValidUtf8(cotalys::DecodeFileBytes(bytes)), "fichier decode en UTF-8");
    Require(cotalys::IsValidUtf8(cotalys::Utf16ToUtf8(bytes, false)), "UTF-16 LE en UTF-8");
    Require(cotalys::IsValidUtf8(cotalys::Utf16ToUtf8(bytes, true)), "UTF-16 BE en UTF-8");
    Require(cotalys::IsValidUtf8(cotalys::Windows1252ToUtf8(bytes)), "Windows-1252 en UTF-8");
    for (const char* charset : {"", "utf-8", "ISO-8859-1", "utf-16", "x-inconnu"}) {
        Require(cotalys::IsValidUtf8(cotalys::DecodeCharset(bytes, charset)),
                "reponse decodee en UTF-8");
    }
    return 0;
}
