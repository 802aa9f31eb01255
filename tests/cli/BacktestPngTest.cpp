// backtest --png: the program run as a user runs it, against the offline quote service.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "providers/Providers.h"
#include "support/OfflineQuotes.h"

extern char** environ;

namespace cotalys {
namespace {

struct TRunResult {
    int ExitCode = -1;
    std::string Err;
};

// A backtest of ASymbols for a year up to 22/02/2021 with AExtra options, its error stream kept
// in a file of AFolder.
TRunResult RunBacktest(const test::TempDir& AFolder, const std::string& ASymbols,
                       std::vector<std::string> AExtra) {
    std::vector<std::string> args = {COTALYS_EXECUTABLE, "backtest", "--years",      "1",
                                     "--symbols",        "",         "--as-of",      "2021-02-22",
                                     "--delay-ms",       "0",        "--quote-host", QuoteHost()};
    args[5] = AFolder.Write("symbols.txt", ASymbols).string();
    args.insert(args.end(), AExtra.begin(), AExtra.end());
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const std::string err = (AFolder.Path() / "err.txt").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    TRunResult result;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    result.Err = test::ReadAll(err);
    return result;
}

TEST(BacktestPng, WritesTheRunsPictureAsA1600By1000RgbPng) {
    const test::TOfflineQuotes quotes({"AI.PA", "BNP.PA", "^FCHI"});
    const test::TempDir folder;
    const std::string png = (folder.Path() / "backtest.png").string();
    const TRunResult result = RunBacktest(folder, "AI.PA\nBNP.PA\n", {"--png", png});
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_NE(result.Err.find("Graphique du backtest exporte : " + png + "\n"), std::string::npos)
        << result.Err;
    const std::string bytes = test::ReadAll(png);
    ASSERT_GT(bytes.size(), 26u);
    EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
    // IHDR: width and height (big-endian), 8 bits, colour type 2 (RGB without alpha).
    EXPECT_EQ(bytes.substr(16, 10), std::string("\0\0\x06\x40\0\0\x03\xe8\x08\x02", 10));
}

TEST(BacktestPng, NothingAnalysedWritesNoPictureAndSaysSo) {
    const test::TOfflineQuotes quotes({"^FCHI"});
    const test::TempDir folder;
    const std::string png = (folder.Path() / "backtest.png").string();
    const TRunResult result = RunBacktest(folder, "NONE.PA\n", {"--png", png});
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_NE(result.Err.find("Graphique du backtest non exporte : aucun titre analyse\n"),
              std::string::npos)
        << result.Err;
    EXPECT_FALSE(std::filesystem::exists(png));
}

}  // namespace
}  // namespace cotalys
