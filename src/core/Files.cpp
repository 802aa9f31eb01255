#include "core/Files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

std::string ReadRegularFile(const std::filesystem::path& APath, std::size_t AMaxBytes) {
    const auto fail = [&](const std::string& AReason) {
        throw EFinanceError(
            Format("Impossible de lire le fichier %s : %s", APath.string(), AReason));
    };
    // Opened without waiting, so that a pipe nobody writes to is refused instead of waited for.
    const int file = ::open(APath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) {
        fail(std::strerror(errno));
    }
    std::string bytes;
    struct stat status {};
    std::string reason;
    if (::fstat(file, &status) != 0) {
        reason = std::strerror(errno);
    } else if (!S_ISREG(status.st_mode)) {
        reason = "ce n'est pas un fichier ordinaire";
    } else {
        // One byte beyond the limit tells a file that grew past it since fstat.
        char buffer[65536];
        while (bytes.size() <= AMaxBytes) {
            const ssize_t got = ::read(file, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                reason = got < 0 ? std::strerror(errno) : "";
                break;
            }
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
        if (reason.empty() && bytes.size() > AMaxBytes) {
            reason = Format("plus de %d octets", AMaxBytes);
        }
    }
    ::close(file);
    if (!reason.empty()) {
        fail(reason);
    }
    return bytes;
}

namespace {

// Longest chain of symbolic links followed, as the kernel's own limit.
constexpr int MaxLinkHops = 40;

// The file a write to APath replaces: APath, or the end of its chain of symbolic links, so that a
// link the user made keeps leading to the file it names. Errors are left to the write itself.
std::filesystem::path WriteTarget(const std::filesystem::path& APath) {
    std::filesystem::path target = APath;
    std::error_code ec;
    for (int hop = 0; hop < MaxLinkHops && std::filesystem::is_symlink(target, ec); ++hop) {
        const auto next = std::filesystem::read_symlink(target, ec);
        if (ec) {
            break;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

// True for the name of a temporary file of the file named APrefix minus ".tmp": the prefix
// followed by digits only.
bool IsTemporaryName(const std::string& AName, const std::string& APrefix) {
    return AName.size() > APrefix.size() && AName.compare(0, APrefix.size(), APrefix) == 0 &&
           std::all_of(AName.begin() + static_cast<std::ptrdiff_t>(APrefix.size()), AName.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// Removes the temporary files of ATarget that writes killed before their rename left behind.
// A write holds a lock on its temporary file from creation to rename, and the lock ends with the
// process, so a temporary file that can be locked has been abandoned. It is unlinked while
// locked, and only when the name still leads to the file that was locked.
void RemoveAbandonedTemporaries(const std::filesystem::path& ATarget) {
    const std::string prefix = ATarget.filename().string() + ".tmp";
    const auto folder =
        ATarget.parent_path().empty() ? std::filesystem::path(".") : ATarget.parent_path();
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const auto& path = it->path();
        if (!IsTemporaryName(path.filename().string(), prefix)) {
            continue;
        }
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat locked {};
        struct stat named {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &locked) == 0 &&
            S_ISREG(locked.st_mode) && ::lstat(path.c_str(), &named) == 0 &&
            named.st_dev == locked.st_dev && named.st_ino == locked.st_ino) {
            ::unlink(path.c_str());
        }
        ::close(fd);
    }
}

// A new temporary file beside ATarget, created with AMode (under the umask) and locked until it
// is closed; its name goes to ATemporary. -1 with errno set when it cannot be created.
int CreateTemporary(const std::filesystem::path& ATarget, mode_t AMode,
                    std::filesystem::path& ATemporary) {
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        ATemporary = ATarget;
        ATemporary += ".tmp" + std::to_string(rd());
        const int fd = ::open(ATemporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, AMode);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return -1;
        }
        // Another write may have taken the new file for an abandoned one between its creation
        // and the lock, and removed it: then another name is tried. A file system without locks
        // leaves the file unlocked, and its writes can then remove nothing.
        struct stat created {};
        ::flock(fd, LOCK_EX);
        if (::fstat(fd, &created) == 0 && created.st_nlink > 0) {
            return fd;
        }
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

bool WriteAll(int AFile, std::string_view ABytes) {
    while (!ABytes.empty()) {
        const ssize_t written = ::write(AFile, ABytes.data(), ABytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        ABytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

void WriteFileAtomically(const std::filesystem::path& APath, std::string_view ABytes) {
    const auto fail = [&](const std::string& AReason) {
        throw EFinanceError(
            Format("Impossible d'ecrire le fichier %s : %s", APath.string(), AReason));
    };
    const auto target = WriteTarget(APath);
    std::error_code ec;
    const auto folder = target.parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, ec);
        if (ec) {
            fail(ec.message());
        }
    }
    RemoveAbandonedTemporaries(target);
    // The new file gets the permissions of the one it replaces; a new one those of the umask.
    struct stat previous {};
    const bool replaces = ::stat(target.c_str(), &previous) == 0 && S_ISREG(previous.st_mode);
    const mode_t mode = replaces ? previous.st_mode & 07777 : 0666;
    std::filesystem::path temporary;
    const int file = CreateTemporary(target, mode, temporary);
    if (file < 0) {
        fail(std::strerror(errno));
    }
    // The file stays open, and so locked, until it has its final name.
    const auto abandon = [&](int AErrno) {
        ::unlink(temporary.c_str());
        ::close(file);
        fail(std::strerror(AErrno != 0 ? AErrno : EIO));
    };
    if (!WriteAll(file, ABytes) || ::fsync(file) != 0) {
        abandon(errno);
    }
    if (replaces && ::fchmod(file, mode) != 0) {
        abandon(errno);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        abandon(errno);
    }
    ::close(file);
}

std::string UnusedFileStem(const std::filesystem::path& AFolder, const std::string& AStem,
                           const std::vector<std::string>& AEnds) {
    for (int number = 1;; ++number) {
        const std::string stem = number == 1 ? AStem : AStem + "_" + std::to_string(number);
        const bool taken = std::any_of(AEnds.begin(), AEnds.end(), [&](const std::string& AEnd) {
            std::error_code error;
            return std::filesystem::exists(AFolder / (stem + AEnd), error);
        });
        if (!taken) {
            return stem;
        }
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
