#include "quoteserver/QuoteServer.h"

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "core/Core.h"
#include "quoteserver/ChartDocument.h"

namespace cotalys {

struct TQuoteServer::TImpl {
    httplib::Server Server;
    std::thread Thread;
    std::mutex Lock;
    std::condition_variable Finished;
    bool Started = false;  // guarded by Lock, as is Done
    bool Done = false;
    std::function<void(const std::string&)> RequestLog;  // set before the service starts
};

namespace {

void Answer(httplib::Response& AResponse, int AStatus, const std::string& ADocument) {
    AResponse.status = AStatus;
    AResponse.set_content(ADocument, "application/json; charset=utf-8");
}

// An integer query parameter in AValue, ADefault when absent; false when it is not an integer.
bool ReadSeconds(const httplib::Request& ARequest, const char* AName, std::int64_t ADefault,
                 std::int64_t& AValue) {
    AValue = ADefault;
    if (!ARequest.has_param(AName))
        return true;
    const std::string text = ARequest.get_param_value(AName);
    try {
        size_t used = 0;
        AValue = std::stoll(text, &used);
        return used == text.size();
    } catch (const std::exception&) {
        return false;
    }
}

void AnswerChart(const TQuoteStore& AStore, const httplib::Request& ARequest,
                 httplib::Response& AResponse) {
    const std::string symbol = ARequest.matches[1];
    const TPriceSeries* series = AStore.Find(symbol);
    if (series == nullptr) {
        Answer(AResponse, 404,
               ChartErrorDocument("Not Found", Format("Aucune donnee pour le symbole %s", symbol)));
        return;
    }
    const std::string interval =
        ARequest.has_param("interval") ? ARequest.get_param_value("interval") : "1d";
    if (interval != "1d") {
        Answer(AResponse, 400,
               ChartErrorDocument("Bad Request",
                                  Format("Intervalle non servi : %s (seul 1d l'est)", interval)));
        return;
    }
    // Without bounds: the whole history up to the end of today.
    std::int64_t period1 = 0;
    std::int64_t period2 = 0;
    for (const auto& [name, fallback, value] :
         {std::tuple<const char*, std::int64_t, std::int64_t*>{"period1", 0, &period1},
          {"period2", LocalMidnightToUnix(Today() + 1), &period2}}) {
        if (!ReadSeconds(ARequest, name, fallback, *value)) {
            Answer(AResponse, 400,
                   ChartErrorDocument("Bad Request", Format("Parametre %s invalide : %s", name,
                                                            ARequest.get_param_value(name))));
            return;
        }
    }
    Answer(AResponse, 200, ChartDocument(*series, period1, period2));
}

// "SYMBOL dd/mm/yyyy dd/mm/yyyy STATUS": the days of period1 and period2, "-" when absent.
std::string RequestLine(const httplib::Request& ARequest, const httplib::Response& AResponse) {
    const auto day = [&ARequest](const char* AName) {
        std::int64_t seconds = 0;
        return ARequest.has_param(AName) && ReadSeconds(ARequest, AName, 0, seconds)
                   ? FrenchDate(UnixToLocalDateTime(seconds))
                   : std::string("-");
    };
    return Format("%s %s %s %d", std::string(ARequest.matches[1]), day("period1"), day("period2"),
                  AResponse.status);
}

}  // namespace

TQuoteServer::TQuoteServer(TQuoteStore AStore)
    : FStore(std::move(AStore)), FImpl(std::make_unique<TImpl>()) {
    // cpp-httplib's default also sets SO_REUSEPORT, with which a second service binds the same
    // port without error and the system splits the requests between the two. SO_REUSEADDR alone
    // still lets a restarted service take its port back at once.
    FImpl->Server.set_socket_options([](socket_t ASocket) {
        const int yes = 1;
        ::setsockopt(ASocket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    FImpl->Server.Get(R"(/v8/finance/chart/([^/]+))",
                      [this](const httplib::Request& ARequest, httplib::Response& AResponse) {
                          AnswerChart(FStore, ARequest, AResponse);
                          // Logged before the answer leaves, so the asker reads the log after.
                          if (FImpl->RequestLog) {
                              FImpl->RequestLog(RequestLine(ARequest, AResponse));
                          }
                      });
}

void TQuoteServer::SetRequestLog(std::function<void(const std::string&)> ALog) {
    FImpl->RequestLog = std::move(ALog);
}

TQuoteServer::~TQuoteServer() {
    Stop();
}

int TQuoteServer::Start(const std::string& AHost, int APort) {
    const int port = APort == 0 ? FImpl->Server.bind_to_any_port(AHost)
                     : FImpl->Server.bind_to_port(AHost, APort) ? APort
                                                                : -1;
    if (port <= 0)
        throw EDataProviderError(Format("Impossible d'ecouter sur %s:%d", AHost, APort));
    {
        std::lock_guard<std::mutex> guard(FImpl->Lock);
        FImpl->Started = true;
    }
    FImpl->Thread = std::thread([impl = FImpl.get()] {
        impl->Server.listen_after_bind();
        std::lock_guard<std::mutex> guard(impl->Lock);
        impl->Done = true;
        impl->Finished.notify_all();
    });
    // stop() only reaches a server whose accept loop runs, so Start returns once it does.
    while (!FImpl->Server.is_running()) {
        {
            std::lock_guard<std::mutex> guard(FImpl->Lock);
            if (FImpl->Done)
                break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return port;
}

void TQuoteServer::Wait() {
    std::unique_lock<std::mutex> lock(FImpl->Lock);
    FImpl->Finished.wait(lock, [this] { return FImpl->Done || !FImpl->Started; });
}

void TQuoteServer::Stop() {
    FImpl->Server.stop();
    if (FImpl->Thread.joinable())
        FImpl->Thread.join();
}

}  // namespace cotalys
