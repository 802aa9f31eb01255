#include "core/Files.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#include "core/Exceptions.h"
#include "core/Formatting.h"

namespace cotalys {

std::string ReadFileBytes(const std::filesystem::path& APath) {
    std::ifstream in(APath, std::ios::binary);
    if (!in) {
        throw EFinanceError(Format("Impossible de lire le fichier %s", APath.string()));
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        throw EFinanceError(Format("Impossible de lire le fichier %s", APath.string()));
    }
    return buffer.str();
}

void WriteFileAtomically(const std::filesystem::path& APath, std::string_view ABytes) {
    const auto fail = [&](const std::string& AReason) {
        throw EFinanceError(
            Format("Impossible d'ecrire le fichier %s : %s", APath.string(), AReason));
    };
    std::error_code ec;
    const auto folder = APath.parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, ec);
        if (ec) {
            fail(ec.message());
        }
    }
    std::random_device rd;
    auto temporary = APath;
    temporary += ".tmp" + std::to_string(rd());
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        fail(std::strerror(errno));
    }
    const bool written = std::fwrite(ABytes.data(), 1, ABytes.size(), file) == ABytes.size();
    const bool flushed = std::fflush(file) == 0 && ::fsync(fileno(file)) == 0;
    const int writeErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !flushed || !closed) {
        std::filesystem::remove(temporary, ec);
        fail(std::strerror(writeErrno != 0 ? writeErrno : EIO));
    }
    std::filesystem::rename(temporary, APath, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        fail(ec.message());
    }
}

std::string Utf8BomText(const std::vector<std::string>& ALines) {
    std::string text = "\xEF\xBB\xBF";
    for (const auto& line : ALines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace cotalys
