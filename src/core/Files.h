#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace cotalys {

// Whole file as bytes; EFinanceError naming the file when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& APath);

// Whole file as bytes, when it is a regular file (after symbolic links) of at most AMaxBytes:
// a pipe, a device or a huge file is refused at once with EFinanceError naming the file and why,
// never waited for nor read without end.
std::string ReadRegularFile(const std::filesystem::path& APath, std::size_t AMaxBytes);

// Writes ABytes to a temporary file in the same folder, then renames it over APath, so an
// interrupted write never leaves half a file. Creates missing folders. A symbolic link is kept:
// the file it leads to is replaced. The new file keeps the permissions of the one it replaces.
// Temporary files of APath left by killed writes are removed. Throws EFinanceError naming the
// file and the cause on failure.
void WriteFileAtomically(const std::filesystem::path& APath, std::string_view ABytes);

// The first of AStem, AStem_2, AStem_3... for which no file AFolder / (stem + end) exists, for
// any end of AEnds: a report written in the same minute as an earlier one never replaces it.
std::string UnusedFileStem(const std::filesystem::path& AFolder, const std::string& AStem,
                           const std::vector<std::string>& AEnds);

// Lines joined with CR LF after every line, preceded by the UTF-8 byte-order mark.
std::string Utf8BomText(const std::vector<std::string>& ALines);

}  // namespace cotalys
