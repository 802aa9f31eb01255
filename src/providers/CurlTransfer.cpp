#include "providers/CurlTransfer.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <mutex>

#include "core/Core.h"

namespace cotalys {

// What the callbacks see during one transfer. Callbacks run inside libcurl's C code, so they
// never throw: they record what happened here and the caller turns it into a result.
struct TTransferState {
    using TClock = std::chrono::steady_clock;

    std::size_t MaxBodyBytes = 0;
    std::chrono::milliseconds Silence{0};
    std::string Body;
    long Status = 0;
    std::string Reason;
    std::string ContentEncoding;
    std::string Location;
    bool TooLarge = false;
    bool TimedOut = false;
    bool TooSlow = false;
    bool PastDeadline = false;
    bool Cancelled = false;
    curl_off_t LastDown = 0;
    curl_off_t LastUp = 0;
    TClock::time_point LastActivity = TClock::now();
    // Body bytes received when the current speed window began; -1 until the body starts.
    curl_off_t WindowDown = -1;
    TClock::time_point WindowStart;
    char ErrorBuffer[CURL_ERROR_SIZE] = {};
};

namespace {

const char* const AcceptHeader = "Accept: text/html,application/json,text/csv;q=0.9,*/*;q=0.8";
const char* const AcceptLanguageHeader = "Accept-Language: fr-FR,fr;q=0.9,en;q=0.8";

// Slowest body accepted, averaged over each span of the response time-out once the body has
// begun. Silence alone cannot stop a server that trickles one byte a second for hours.
constexpr curl_off_t MinBytesPerSecond = 1024;

// libcurl's global set-up is not thread-safe, so it runs once before the first handle.
void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

size_t WriteBody(char* AData, size_t ASize, size_t ACount, void* AState) {
    auto& state = *static_cast<TTransferState*>(AState);
    const size_t bytes = ASize * ACount;
    if (bytes > state.MaxBodyBytes - std::min(state.MaxBodyBytes, state.Body.size())) {
        state.TooLarge = true;
        return 0;
    }
    state.Body.append(AData, bytes);
    return bytes;
}

std::string TrimLineEnd(std::string AText) {
    while (!AText.empty() && (AText.back() == '\r' || AText.back() == '\n' || AText.back() == ' '))
        AText.pop_back();
    return AText;
}

// The value of a header line "Name: value" when its name is AName (any case), else nothing.
bool HeaderValue(const std::string& ALine, const std::string& AName, std::string& AValue) {
    if (ALine.size() <= AName.size() || ALine[AName.size()] != ':' ||
        LowerAscii(ALine.substr(0, AName.size())) != AName)
        return false;
    AValue = std::string(TrimBlanks(ALine.substr(AName.size() + 1)));
    return true;
}

// Every status line (one per response, redirects included) resets what is kept of the headers,
// so what remains at the end belongs to the final response.
size_t ReadHeader(char* AData, size_t ASize, size_t ACount, void* AState) {
    auto& state = *static_cast<TTransferState*>(AState);
    const size_t bytes = ASize * ACount;
    const std::string line = TrimLineEnd(std::string(AData, bytes));
    if (line.rfind("HTTP/", 0) == 0) {
        const size_t codeStart = line.find(' ');
        state.Status = 0;
        state.Reason.clear();
        state.ContentEncoding.clear();
        state.Location.clear();
        if (codeStart != std::string::npos) {
            state.Status = std::strtol(line.c_str() + codeStart + 1, nullptr, 10);
            const size_t reasonStart = line.find(' ', codeStart + 1);
            if (reasonStart != std::string::npos)
                state.Reason = line.substr(reasonStart + 1);
        }
    } else if (!HeaderValue(line, "content-encoding", state.ContentEncoding)) {
        HeaderValue(line, "location", state.Location);
    }
    return bytes;
}

// True when the body, once begun, arrived more slowly than MinBytesPerSecond over the last span
// of the response time-out.
bool TooSlow(TTransferState& AState, curl_off_t ADownNow, TTransferState::TClock::time_point ANow) {
    if (ADownNow == 0)
        return false;
    if (AState.WindowDown < 0 || ANow - AState.WindowStart < AState.Silence) {
        if (AState.WindowDown < 0) {
            AState.WindowDown = 0;
            AState.WindowStart = ANow;
        }
        return false;
    }
    const auto seconds = std::chrono::duration<double>(ANow - AState.WindowStart).count();
    if (static_cast<double>(ADownNow - AState.WindowDown) < MinBytesPerSecond * seconds)
        return true;
    AState.WindowDown = ADownNow;
    AState.WindowStart = ANow;
    return false;
}

// The response time-out counts silence, not the whole transfer: a large body arriving
// steadily is never cut, a server that stops sending is given up after the configured time,
// and so is one that trickles its body too slowly.
int WatchSilence(void* AState, curl_off_t, curl_off_t ADownNow, curl_off_t, curl_off_t AUpNow) {
    auto& state = *static_cast<TTransferState*>(AState);
    const auto now = TTransferState::TClock::now();
    if (TooSlow(state, ADownNow, now)) {
        state.TooSlow = true;
        return 1;
    }
    if (ADownNow != state.LastDown || AUpNow != state.LastUp) {
        state.LastDown = ADownNow;
        state.LastUp = AUpNow;
        state.LastActivity = now;
        return 0;
    }
    if (now - state.LastActivity > state.Silence) {
        state.TimedOut = true;
        return 1;
    }
    return 0;
}

// Names under the reserved ".invalid" domain never resolve, so they are refused here instead
// of asking a name server about them.
bool IsReservedInvalidHost(std::string AHost) {
    AHost = LowerAscii(AHost);
    if (!AHost.empty() && AHost.back() == '.')
        AHost.pop_back();
    const std::string suffix = ".invalid";
    return AHost == "invalid" ||
           (AHost.size() > suffix.size() &&
            AHost.compare(AHost.size() - suffix.size(), suffix.size(), suffix) == 0);
}

struct TUrlDeleter {
    void operator()(CURLU* AUrl) const noexcept { curl_url_cleanup(AUrl); }
};

// Empty when the URL is usable, else why not (failure kind and text).
TTransferResult CheckUrl(const std::string& AUrl) {
    TTransferResult result;
    std::unique_ptr<CURLU, TUrlDeleter> url(curl_url());
    if (!url)
        throw EDataProviderError("Client HTTP indisponible (memoire insuffisante)");
    const CURLUcode rc = curl_url_set(url.get(), CURLUPART_URL, AUrl.c_str(), CURLU_GUESS_SCHEME);
    if (rc != CURLUE_OK) {
        result.Failure = TTransferFailure::tfInvalidUrl;
        result.ErrorText = curl_url_strerror(rc);
        return result;
    }
    char* host = nullptr;
    if (curl_url_get(url.get(), CURLUPART_HOST, &host, 0) == CURLUE_OK && host != nullptr) {
        const std::string hostText = host;
        curl_free(host);
        if (IsReservedInvalidHost(hostText)) {
            result.Failure = TTransferFailure::tfNetwork;
            result.ErrorText = "nom d'hote \"" + hostText + "\" introuvable (domaine reserve)";
        }
    }
    return result;
}

template <class T>
void SetOption(CURL* AHandle, CURLoption AOption, T AValue) {
    const CURLcode rc = curl_easy_setopt(AHandle, AOption, AValue);
    if (rc != CURLE_OK)
        throw EDataProviderError(Format("Client HTTP mal configure : %s", curl_easy_strerror(rc)));
}

std::string FailureText(CURLcode ACode, const TTransferState& AState,
                        const TTransferSettings& ASettings) {
    if (AState.PastDeadline)
        return Format("transfert inacheve apres %d ms", ASettings.DeadlineMs);
    if (AState.TimedOut)
        return Format("aucune reponse du serveur pendant %d ms", ASettings.ResponseTimeoutMs);
    if (AState.TooSlow)
        return Format("reponse trop lente (moins de %d octets par seconde)", MinBytesPerSecond);
    if (ACode == CURLE_TOO_MANY_REDIRECTS)
        return Format("plus de %d redirections", ASettings.MaxRedirects);
    if (AState.ErrorBuffer[0] != '\0')
        return AState.ErrorBuffer;
    return curl_easy_strerror(ACode);
}

// Longest wait for the network between two looks at the cancel flag and the deadline.
constexpr int PollMs = 100;

struct TMultiDeleter {
    void operator()(CURLM* AMulti) const noexcept { curl_multi_cleanup(AMulti); }
};

// True, with the reason in AState, once the transfer must end: cancelled or past its deadline.
bool MustEnd(TTransferState& AState, const TTransferSettings& ASettings,
             TTransferState::TClock::time_point AStart) {
    AState.Cancelled = ASettings.Cancel != nullptr && ASettings.Cancel->load();
    AState.PastDeadline =
        !AState.Cancelled && ASettings.DeadlineMs > 0 &&
        TTransferState::TClock::now() - AStart > std::chrono::milliseconds(ASettings.DeadlineMs);
    return AState.Cancelled || AState.PastDeadline;
}

// Runs the transfer of AHandle in waits of at most PollMs, so that a cancel or the deadline ends
// it at once: libcurl's own loop would look at them only once a second.
CURLcode Perform(CURL* AHandle, TTransferState& AState, const TTransferSettings& ASettings) {
    const auto start = TTransferState::TClock::now();
    std::unique_ptr<CURLM, TMultiDeleter> multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), AHandle) != CURLM_OK)
        throw EDataProviderError("Client HTTP indisponible (memoire insuffisante)");
    CURLcode result = CURLE_ABORTED_BY_CALLBACK;
    int running = 1;
    while (!MustEnd(AState, ASettings, start)) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            result = CURLE_OUT_OF_MEMORY;
            break;
        }
        if (running == 0) {
            int queued = 0;
            const CURLMsg* message = curl_multi_info_read(multi.get(), &queued);
            result = message != nullptr && message->msg == CURLMSG_DONE ? message->data.result
                                                                        : CURLE_RECV_ERROR;
            break;
        }
        curl_multi_poll(multi.get(), nullptr, 0, PollMs, nullptr);
    }
    curl_multi_remove_handle(multi.get(), AHandle);
    return result;
}

}  // namespace

void TCurlTransfer::TEasyDeleter::operator()(void* AHandle) const noexcept {
    curl_easy_cleanup(static_cast<CURL*>(AHandle));
}

void TCurlTransfer::TListDeleter::operator()(curl_slist* AList) const noexcept {
    curl_slist_free_all(AList);
}

TCurlTransfer::TCurlTransfer() {
    InitCurlOnce();
    FHandle.reset(curl_easy_init());
    if (!FHandle)
        throw EDataProviderError("Client HTTP indisponible (initialisation de libcurl en echec)");
}

TCurlTransfer::TCurlTransfer(TCurlTransfer&&) noexcept = default;
TCurlTransfer& TCurlTransfer::operator=(TCurlTransfer&&) noexcept = default;
TCurlTransfer::~TCurlTransfer() = default;

// The whole request policy in one place: time-outs, identity, headers, redirects, size cap.
void TCurlTransfer::Configure(const std::string& AUrl, const TTransferSettings& ASettings,
                              TTransferState& AState) {
    CURL* handle = FHandle.get();
    FHeaders.reset();
    for (const char* header : {AcceptHeader, AcceptLanguageHeader}) {
        // curl_slist_append returns the head of the list, or null leaving the list untouched.
        curl_slist* list = curl_slist_append(FHeaders.get(), header);
        if (list == nullptr)
            throw EDataProviderError("Client HTTP indisponible (memoire insuffisante)");
        FHeaders.release();
        FHeaders.reset(list);
    }

    SetOption(handle, CURLOPT_URL, AUrl.c_str());
    SetOption(handle, CURLOPT_HTTPGET, 1L);
    SetOption(handle, CURLOPT_NOSIGNAL, 1L);
    SetOption(handle, CURLOPT_ERRORBUFFER, AState.ErrorBuffer);
    SetOption(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(ASettings.ConnectTimeoutMs));
    SetOption(handle, CURLOPT_USERAGENT, ASettings.UserAgent.c_str());
    SetOption(handle, CURLOPT_HTTPHEADER, FHeaders.get());
    // HTTP/1.1 keeps the reason phrase that error messages quote.
    SetOption(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    SetOption(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    SetOption(handle, CURLOPT_FOLLOWLOCATION, 1L);
    SetOption(handle, CURLOPT_MAXREDIRS, ASettings.MaxRedirects);
    // A redirect must not lead to a local file or another protocol.
    SetOption(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    if (!ASettings.CaBundle.empty())
        SetOption(handle, CURLOPT_CAINFO, ASettings.CaBundle.c_str());
    // An announced length over the cap is refused before any byte is read.
    SetOption(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(ASettings.MaxBodyBytes));
    SetOption(handle, CURLOPT_WRITEFUNCTION, &WriteBody);
    SetOption(handle, CURLOPT_WRITEDATA, static_cast<void*>(&AState));
    SetOption(handle, CURLOPT_HEADERFUNCTION, &ReadHeader);
    SetOption(handle, CURLOPT_HEADERDATA, static_cast<void*>(&AState));
    SetOption(handle, CURLOPT_XFERINFOFUNCTION, &WatchSilence);
    SetOption(handle, CURLOPT_XFERINFODATA, static_cast<void*>(&AState));
    SetOption(handle, CURLOPT_NOPROGRESS, 0L);
}

TTransferResult TCurlTransfer::Get(const std::string& AUrl, const TTransferSettings& ASettings) {
    TTransferResult result = CheckUrl(AUrl);
    if (result.Failure != TTransferFailure::tfNone)
        return result;

    TTransferState state;
    state.MaxBodyBytes = ASettings.MaxBodyBytes;
    state.Silence = std::chrono::milliseconds(ASettings.ResponseTimeoutMs);
    Configure(AUrl, ASettings, state);

    const CURLcode rc = Perform(FHandle.get(), state, ASettings);
    if (state.Cancelled) {
        result.Failure = TTransferFailure::tfCancelled;
        return result;
    }
    if (state.TooLarge || rc == CURLE_FILESIZE_EXCEEDED) {
        result.Failure = TTransferFailure::tfTooLarge;
        return result;
    }
    if (rc != CURLE_OK) {
        const bool badUrl = rc == CURLE_URL_MALFORMAT || rc == CURLE_UNSUPPORTED_PROTOCOL;
        result.Failure = badUrl ? TTransferFailure::tfInvalidUrl : TTransferFailure::tfNetwork;
        result.ErrorText = FailureText(rc, state, ASettings);
        // A redirect answer still being the last one read means its target was refused.
        if (badUrl && state.Status >= 300 && state.Status <= 399 && !state.Location.empty()) {
            result.RefusedRedirect = state.Location;
            result.ErrorText =
                rc == CURLE_UNSUPPORTED_PROTOCOL ? "protocole non autorise" : "adresse invalide";
        }
        return result;
    }

    long status = 0;
    curl_easy_getinfo(FHandle.get(), CURLINFO_RESPONSE_CODE, &status);
    char* contentType = nullptr;
    curl_easy_getinfo(FHandle.get(), CURLINFO_CONTENT_TYPE, &contentType);
    result.Status = status;
    result.Reason = state.Status == status ? state.Reason : std::string();
    result.ContentType = contentType != nullptr ? contentType : "";
    result.ContentEncoding = state.ContentEncoding;
    result.Body = std::move(state.Body);
    return result;
}

}  // namespace cotalys
