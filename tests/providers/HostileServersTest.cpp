// Servers that misbehave on purpose, written byte by byte on a raw loopback socket where a
// well-behaved HTTP library could not misbehave enough. Whatever they do, the fetcher ends with
// an EDataProviderError within its time-outs. Redirect loops and bodies over the size cap are
// covered with the fetcher's own tests.
#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "LoopbackServer.h"
#include "core/Core.h"
#include "providers/Providers.h"

namespace cotalys {
namespace {

using ::testing::AnyOfArray;
using ::testing::HasSubstr;

// What the server sends: bytes, then a pause before the next step. The connection is closed
// after the last step.
struct TStep {
    std::string Bytes;
    int PauseMs = 0;
};

// Answers every connection on 127.0.0.1 with the same scripted steps, from a background thread,
// until destroyed. Pauses are cut short when the client has gone or the server is stopping.
class TScriptedServer {
public:
    explicit TScriptedServer(std::vector<TStep> ASteps) : FSteps(std::move(ASteps)) {
        FSocket = test::OpenLoopbackListener(FPort);
        FThread = std::thread([this] { Serve(); });
    }
    ~TScriptedServer() {
        FStopping = true;
        FThread.join();
        ::close(FSocket);
    }
    TScriptedServer(const TScriptedServer&) = delete;
    TScriptedServer& operator=(const TScriptedServer&) = delete;

    std::string Url(const std::string& APath) const {
        return "http://127.0.0.1:" + std::to_string(FPort) + APath;
    }

private:
    // True once AMilliseconds have passed; false as soon as the client has closed its side or
    // the server is stopping.
    bool Pause(int AClient, int AMilliseconds) const {
        const auto end =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(AMilliseconds);
        while (std::chrono::steady_clock::now() < end) {
            if (FStopping) {
                return false;
            }
            pollfd watch{AClient, POLLIN, 0};
            char byte = 0;
            if (::poll(&watch, 1, 20) > 0 && ::recv(AClient, &byte, 1, MSG_PEEK) <= 0) {
                return false;
            }
        }
        return true;
    }

    void Answer(int AClient) const {
        // The request itself is of no interest: read its head and go on.
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos && Pause(AClient, 0)) {
            pollfd watch{AClient, POLLIN, 0};
            if (::poll(&watch, 1, 50) <= 0) {
                continue;
            }
            const auto got = ::recv(AClient, buffer, sizeof(buffer), 0);
            if (got <= 0) {
                return;
            }
            request.append(buffer, static_cast<std::size_t>(got));
        }
        for (const TStep& step : FSteps) {
            if (::send(AClient, step.Bytes.data(), step.Bytes.size(), MSG_NOSIGNAL) < 0 ||
                !Pause(AClient, step.PauseMs)) {
                return;
            }
        }
    }

    void Serve() const {
        while (!FStopping) {
            pollfd watch{FSocket, POLLIN, 0};
            if (::poll(&watch, 1, 50) <= 0) {
                continue;
            }
            const int client = ::accept(FSocket, nullptr, nullptr);
            if (client >= 0) {
                Answer(client);
                ::close(client);
            }
        }
    }

    std::vector<TStep> FSteps;
    int FSocket = -1;
    int FPort = 0;
    std::atomic<bool> FStopping{false};
    std::thread FThread;
};

// The message of the EDataProviderError that a GET of AUrl raises; fails the test otherwise.
std::string ProviderErrorOf(const THttpFetcher& AFetcher, const std::string& AUrl) {
    try {
        AFetcher.Get(AUrl);
    } catch (const EDataProviderError& e) {
        return e.Message();
    }
    ADD_FAILURE() << "no EDataProviderError for " << AUrl;
    return "";
}

std::string Head(const std::string& AHeaders) {
    return "HTTP/1.1 200 OK\r\n" + AHeaders + "Connection: close\r\n\r\n";
}

// A body of ABytes sent one byte a second.
std::vector<TStep> Trickle(const std::string& AHeaders, const std::string& ABody) {
    std::vector<TStep> steps{{Head(AHeaders), 0}};
    for (const char c : ABody) {
        steps.push_back({std::string(1, c), 1000});
    }
    return steps;
}

const std::string Csv = "Date;Cloture\r\n02/01/2024;45,10\r\n";
// The start of a gzip stream of the CSV text: what a server sends when it compresses unasked.
const std::string Gzip("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03\x73\x49\x2c\x49\xb5\x76", 16);
const std::string Png("\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x00\x01", 20);

struct THostileCase {
    const char* Name;
    std::vector<TStep> Steps;
    // The accepted messages, "{url}" standing for the requested address; none where the
    // client's own wording follows, and then the message must name the address.
    std::vector<std::string> Expected;
};

TEST(HostileServers, EveryMisbehaviourEndsInAProviderError) {
    const std::string length = "Content-Length: " + std::to_string(Csv.size()) + "\r\n";
    const std::string tooSlow =
        "Echec reseau sur {url} : reponse trop lente (moins de 1024 octets par seconde)";
    // A trickle is given up as too slow, or as silent where the client does not count a byte
    // dribbled inside a chunk or a header as progress (or the machine is loaded enough to
    // stretch a pause); either way it ends long before the body would have.
    const std::vector<std::string> slowOrSilent = {
        tooSlow, "Echec reseau sur {url} : aucune reponse du serveur pendant 2500 ms"};
    const THostileCase cases[] = {
        {"trickled body", Trickle("Content-Type: text/csv\r\n" + length, Csv), slowOrSilent},
        {"trickled chunks",
         Trickle("Content-Type: text/csv\r\nTransfer-Encoding: chunked\r\n",
                 "1\r\nD\r\n1\r\na\r\n1\r\nt\r\n1\r\ne\r\n1\r\n;\r\n1\r\nC\r\n0\r\n\r\n"),
         slowOrSilent},
        {"trickled headers", Trickle("", "Content-Type: text/csv\r\n\r\n" + Csv), slowOrSilent},
        {"binary body",
         {{Head("Content-Type: image/png\r\nContent-Length: 20\r\n") + Png}},
         {"Reponse illisible (contenu binaire image/png) : {url}"}},
        {"binary body under a text Content-Type",
         {{Head("Content-Type: text/csv\r\nContent-Length: 20\r\n") + Png}},
         {"Reponse illisible (contenu binaire text/csv) : {url}"}},
        {"gzip body that was not asked for",
         {{Head("Content-Type: text/csv\r\nContent-Encoding: gzip\r\nContent-Length: 16\r\n") +
           Gzip}},
         {"Reponse illisible (encodage gzip non demande) : {url}"}},
        {"body cut before its announced length",
         {{Head("Content-Type: text/csv\r\nContent-Length: 1000\r\n") + Csv}},
         {}},
        {"chunked body cut inside a chunk",
         {{Head("Content-Type: text/csv\r\nTransfer-Encoding: chunked\r\n") + "40\r\n" + Csv}},
         {}},
        {"headers cut in the middle", {{"HTTP/1.1 200 OK\r\nContent-Ty"}}, {}},
        {"connection closed before any answer", {}, {}},
    };
    for (const THostileCase& c : cases) {
        TScriptedServer server(c.Steps);
        // Short time-outs; the trickles send a byte every second, well within them.
        THttpFetcher fetcher;
        fetcher.SetConnectTimeout(2500);
        fetcher.SetResponseTimeout(2500);
        const std::string url = server.Url("/prix.csv");
        const std::string message = ProviderErrorOf(fetcher, url);
        if (c.Expected.empty()) {
            EXPECT_THAT(message, HasSubstr(url)) << c.Name;
        } else {
            std::vector<std::string> expected = c.Expected;
            for (std::string& text : expected) {
                text.replace(text.find("{url}"), 5, url);
            }
            EXPECT_THAT(message, AnyOfArray(expected)) << c.Name;
        }
    }
}

// A body of 64 KiB sent 1.5 KiB a second: fast enough for the speed floor, and 43 seconds long.
std::vector<TStep> SteadyTrickle() {
    std::vector<TStep> steps{{Head("Content-Type: text/csv\r\nContent-Length: 65536\r\n"), 0}};
    for (int sent = 0; sent < 65536; sent += 1536) {
        steps.push_back({std::string(1536, 'x'), 1000});
    }
    return steps;
}

TEST(HostileServers, ASteadyTrickleEndsAtTheDeadline) {
    TScriptedServer server(SteadyTrickle());
    THttpFetcher fetcher;
    EXPECT_EQ(fetcher.Deadline(), 120000);
    fetcher.SetDeadline(2500);
    const std::string url = server.Url("/prix.csv");
    EXPECT_EQ(ProviderErrorOf(fetcher, url),
              "Echec reseau sur " + url + " : transfert inacheve apres 2500 ms");
}

TEST(HostileServers, AStopFromAnotherThreadEndsARunningTransferAtOnce) {
    TScriptedServer server(SteadyTrickle());
    const std::string url = server.Url("/prix.csv");
    std::atomic<bool> stop{false};
    std::chrono::steady_clock::time_point stoppedAt;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        stoppedAt = std::chrono::steady_clock::now();
        stop = true;
    });
    std::string message;
    {
        const TTransferCancelScope scope(&stop);
        try {
            THttpFetcher().Get(url);
        } catch (const ETransferCancelled& e) {
            message = e.Message();
        }
    }
    const auto ended = std::chrono::steady_clock::now();
    stopper.join();
    EXPECT_EQ(message, "Telechargement annule : " + url);
    EXPECT_LT(ended - stoppedAt, std::chrono::seconds(1));

    // A stop already set ends the next transfer before it starts; outside the scope, the same
    // flag stops nothing.
    const TTransferCancelScope scope(&stop);
    EXPECT_THROW(THttpFetcher().Get(url), ETransferCancelled);
    {
        const TTransferCancelScope none(nullptr);
        EXPECT_EQ(TTransferCancelScope::Current(), nullptr);
    }
    EXPECT_EQ(TTransferCancelScope::Current(), &stop);
}

}  // namespace
}  // namespace cotalys
