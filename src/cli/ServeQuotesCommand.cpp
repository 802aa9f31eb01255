#include <chrono>
#include <csignal>
#include <mutex>
#include <ostream>
#include <thread>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "core/Core.h"
#include "quoteserver/QuoteService.h"

namespace cotalys {
namespace {

// Set by Ctrl+C or a termination request; the serving thread stops the service when it sees
// it, as stopping the server is not safe inside a signal handler.
volatile std::sig_atomic_t StopRequested = 0;

extern "C" void RequestServiceStop(int) {
    StopRequested = 1;
}

}  // namespace

int ServeQuotesCommand(const TServeOptions& AOptions, std::ostream& AOut, std::ostream& AErr) {
    TQuoteServiceOptions options;
    options.Folder = AOptions.DataDir;
    options.ShiftToToday = AOptions.ShiftToToday;
    TQuoteServer server(TQuoteStore::Load(options));
    for (const std::string& problem : server.Store().Problems()) {
        AErr << problem << "\n";
    }
    std::mutex logLock;
    if (AOptions.LogRequests) {
        server.SetRequestLog([&AErr, &logLock](const std::string& ALine) {
            const std::lock_guard<std::mutex> guard(logLock);
            AErr << ALine << std::endl;
        });
    }
    const int port = server.Start("127.0.0.1", AOptions.Port);
    AOut << Format("Service de cotations hors ligne sur http://127.0.0.1:%d (%d symbole(s))", port,
                   static_cast<int>(server.Store().Symbols().size()))
         << "\n";
    if (server.Store().ShiftDays() != 0) {
        AOut << Format("Historiques decales de %d jour(s)", server.Store().ShiftDays()) << "\n";
    }
    AOut << "Ctrl+C pour arreter" << std::endl;
    StopRequested = 0;
    const auto previousInt = std::signal(SIGINT, RequestServiceStop);
    const auto previousTerm = std::signal(SIGTERM, RequestServiceStop);
    while (StopRequested == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    server.Stop();
    std::signal(SIGINT, previousInt);
    std::signal(SIGTERM, previousTerm);
    AErr << "Service arrete\n";
    return ExitSuccess;
}

}  // namespace cotalys
