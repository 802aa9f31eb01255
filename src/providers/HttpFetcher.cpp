#include "providers/HttpFetcher.h"

#include <cstdlib>

#include "core/Core.h"
#include "providers/CurlTransfer.h"
#include "providers/TransferCancelScope.h"

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
        throw EResourceNotFound("Ressource introuvable (HTTP 404) : symbole ou URL errone");
    if (AStatus == 429)
        throw EDataProviderError("Trop de requetes (HTTP 429) : reessayer plus tard");
    if (AStatus >= 500)
        throw EServiceUnreachable(Format("HTTP %d %s", AStatus, AReason));
    throw EDataProviderError(Format("HTTP %d %s", AStatus, AReason));
}

// Why a body that is not empty gave no text: what was received instead.
std::string UnreadableBody(const TTransferResult& AResult, const std::string& ACharset) {
    if (!AResult.ContentEncoding.empty() && LowerAscii(AResult.ContentEncoding) != "identity")
        return Format("encodage %s non demande", AResult.ContentEncoding);
    if (AResult.Body.find('\0') != std::string::npos) {
        const std::string type(TrimBlanks(
            std::string_view(AResult.ContentType).substr(0, AResult.ContentType.find(';'))));
        return type.empty() ? "contenu binaire" : "contenu binaire " + type;
    }
    return Format("texte invalide en %s", ACharset.empty() ? std::string("UTF-8") : ACharset);
}

}  // namespace

THttpFetcher::THttpFetcher()
    : FConnectTimeout(10000),
      FResponseTimeout(20000),
      FDeadline(120000),
      FUserAgent(DefaultUserAgent) {
    if (const char* bundle = std::getenv("COTALYS_CA_BUNDLE"))
        FCaBundle = bundle;
}

std::string THttpFetcher::Get(const std::string& AUrl) const {
    TTransferSettings settings;
    settings.ConnectTimeoutMs = FConnectTimeout;
    settings.ResponseTimeoutMs = FResponseTimeout;
    settings.DeadlineMs = FDeadline;
    settings.Cancel = TTransferCancelScope::Current();
    settings.UserAgent = FUserAgent;
    settings.CaBundle = FCaBundle;
    settings.MaxBodyBytes = MaxBodyBytes;
    settings.MaxRedirects = MaxRedirects;

    // A fresh transfer per call: nothing (connection, cookie) is shared between requests.
    const TTransferResult result = TCurlTransfer().Get(AUrl, settings);
    switch (result.Failure) {
        case TTransferFailure::tfNetwork:
            throw ENetworkFailure(Format("Echec reseau sur %s : %s", AUrl, result.ErrorText));
        case TTransferFailure::tfInvalidUrl:
            if (!result.RefusedRedirect.empty())
                throw EDataProviderError(Format("Redirection refusee de %s vers %s : %s", AUrl,
                                                result.RefusedRedirect, result.ErrorText));
            throw EDataProviderError(Format("URL invalide \"%s\" : %s", AUrl, result.ErrorText));
        case TTransferFailure::tfCancelled:
            throw ETransferCancelled(Format("Telechargement annule : %s", AUrl));
        case TTransferFailure::tfTooLarge:
            throw EDataProviderError(Format("Reponse trop volumineuse (plus de %d Mo) : %s",
                                            MaxBodyBytes / (1024 * 1024), AUrl));
        case TTransferFailure::tfNone:
            break;
    }
    CheckStatus(result.Status, result.Reason, AUrl);
    const std::string charset = CharsetOf(result.ContentType);
    std::string text = DecodeCharset(result.Body, charset);
    if (result.Body.empty())
        throw EDataProviderError(Format("Reponse vide : %s", AUrl));
    if (text.empty())
        throw EDataProviderError(
            Format("Reponse illisible (%s) : %s", UnreadableBody(result, charset), AUrl));
    return text;
}

}  // namespace cotalys
