#include "providers/HttpFetcher.h"

#include <cstdlib>

#include "core/Core.h"
#include "providers/CurlTransfer.h"

namespace cotalys {

namespace {

const char* const DefaultUserAgent =
    "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/130.0 Safari/537.36";

// The charset parameter of a Content-Type value ("text/html; charset=\"ISO-8859-1\""), or
// empty when there is none.
std::string CharsetOf(const std::string& AContentType) {
    const std::string lower = LowerAscii(AContentType);
    const std::string key = "charset=";
    const size_t at = lower.find(key);
    if (at == std::string::npos)
        return "";
    std::string value = AContentType.substr(at + key.size());
    value = value.substr(0, value.find(';'));
    std::string cleaned;
    for (char c : value)
        if (c != '"' && c != '\'' && c != ' ' && c != '\t')
            cleaned += c;
    return cleaned;
}

void CheckStatus(long AStatus, const std::string& AReason, const std::string& AUrl) {
    if (AStatus >= 200 && AStatus <= 299)
        return;
    if (AStatus == 401 || AStatus == 403)
        throw EDataProviderError(Format("Acces refuse (HTTP %d) : %s", AStatus, AUrl));
    if (AStatus == 404)
        throw EDataProviderError("Ressource introuvable (HTTP 404) : symbole ou URL errone");
    if (AStatus == 429)
        throw EDataProviderError("Trop de requetes (HTTP 429) : reessayer plus tard");
    if (AStatus >= 500)
        throw EServiceUnreachable(Format("HTTP %d %s", AStatus, AReason));
    throw EDataProviderError(Format("HTTP %d %s", AStatus, AReason));
}

}  // namespace

THttpFetcher::THttpFetcher()
    : FConnectTimeout(10000), FResponseTimeout(20000), FUserAgent(DefaultUserAgent) {
    if (const char* bundle = std::getenv("COTALYS_CA_BUNDLE"))
        FCaBundle = bundle;
}

std::string THttpFetcher::Get(const std::string& AUrl) const {
    TTransferSettings settings;
    settings.ConnectTimeoutMs = FConnectTimeout;
    settings.ResponseTimeoutMs = FResponseTimeout;
    settings.UserAgent = FUserAgent;
    settings.CaBundle = FCaBundle;
    settings.MaxBodyBytes = MaxBodyBytes;
    settings.MaxRedirects = MaxRedirects;

    // A fresh transfer per call: nothing (connection, cookie) is shared between requests.
    const TTransferResult result = TCurlTransfer().Get(AUrl, settings);
    switch (result.Failure) {
        case TTransferFailure::tfNetwork:
            throw EServiceUnreachable(Format("Echec reseau sur %s : %s", AUrl, result.ErrorText));
        case TTransferFailure::tfInvalidUrl:
            throw EDataProviderError(Format("URL invalide \"%s\" : %s", AUrl, result.ErrorText));
        case TTransferFailure::tfTooLarge:
            throw EDataProviderError(Format("Reponse trop volumineuse (plus de %d Mo) : %s",
                                            MaxBodyBytes / (1024 * 1024), AUrl));
        case TTransferFailure::tfNone:
            break;
    }
    CheckStatus(result.Status, result.Reason, AUrl);
    std::string text = DecodeCharset(result.Body, CharsetOf(result.ContentType));
    if (text.empty())
        throw EDataProviderError(Format("Reponse vide : %s", AUrl));
    return text;
}

}  // namespace cotalys
