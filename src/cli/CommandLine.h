#pragma once

#include <iosfwd>

namespace cotalys {

// Exit codes of the command line.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitFailure = 1;        // the work itself failed
inline constexpr int ExitBadArguments = 2;   // the command line could not be understood
inline constexpr int ExitInterrupted = 130;  // stopped by Ctrl+C (128 + SIGINT), as shells report

// The command-line front end: "analyse", "scan", "backtest" and "serve-quotes", with the common
// options --as-of, --quote-host and --delay-ms. Results go to AOut, progress and messages to
// AErr; the exit code is returned.
int RunCommandLine(int argc, char** argv, std::ostream& AOut, std::ostream& AErr);

}  // namespace cotalys
