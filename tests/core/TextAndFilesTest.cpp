#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Core.h"
#include "support/TestSupport.h"

namespace cotalys {
namespace {

TEST(TextDecoding, ByteOrderMarksAndFallback) {
    const struct {
        std::string Bytes;
        std::string Expected;
    } cases[] = {
        {"\xEF\xBB\xBF"
         "Cl\xC3\xB4ture",
         "Cl\xC3\xB4ture"},
        {std::string("\xFF\xFE"
                     "D\0a\0t\0\xE9\0",
                     10),
         "Dat\xC3\xA9"},
        {std::string("\xFE\xFF\0D\0a\0t\0\xE9", 10), "Dat\xC3\xA9"},
        {"Cl\xF4ture \x80", "Cl\xC3\xB4ture \xE2\x82\xAC"},  // not UTF-8: Windows-1252
        {"d\xC3\xA9j\xC3\xA0", "d\xC3\xA9j\xC3\xA0"},
        {"", ""},
        // A lone UTF-16 surrogate becomes a space; an odd trailing byte is dropped.
        {std::string("\xFF\xFE"
                     "A\0\x00\xD8"
                     "B\0C",
                     9),
         "A B"},
        // Surrogate pair for U+1F600.
        {std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), "\xF0\x9F\x98\x80"},
        // UTF-16 without byte-order mark, told by the side its NUL bytes are on; NUL bytes
        // alone are no UTF-16 text.
        {std::string("D\0a\0t\0\xE9\0", 8), "Dat\xC3\xA9"},
        {std::string("\0D\0a\0t\0\xE9", 8), "Dat\xC3\xA9"},
        {std::string(6, '\0'), std::string(6, '\0')},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeFileBytes(c.Bytes), c.Expected);
    }
}

TEST(TextDecoding, StrictUtf8Validation) {
    const struct {
        std::string Bytes;
        bool Valid;
    } cases[] = {
        {"plain", true},     {"\xC3\xA9", true},      {"\xC3", false},
        {"\xC0\xAF", false}, {"\xED\xA0\x80", false}, {"\xF4\x90\x80\x80", false},
        {"\xFF", false},     {"\xE2\x82\xAC", true},  {"\x80", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidUtf8(c.Bytes), c.Valid);
    }
}

TEST(TextDecoding, ByCharsetName) {
    EXPECT_EQ(DecodeCharset("caf\xC3\xA9", ""), "caf\xC3\xA9");
    EXPECT_EQ(DecodeCharset("caf\xC3\xA9", "UTF-8"), "caf\xC3\xA9");
    EXPECT_EQ(DecodeCharset("caf\xE9", "utf-8"), "");  // strict
    EXPECT_EQ(DecodeCharset("caf\xE9", "ISO-8859-1"), "caf\xC3\xA9");
    EXPECT_EQ(DecodeCharset("\x80", "windows-1252"), "\xE2\x82\xAC");
    EXPECT_EQ(DecodeCharset("caf\xC3\xA9", "x-no-such-charset"), "caf\xC3\xA9");
    EXPECT_EQ(DecodeCharset("caf\xE9", "x-no-such-charset"), "");
}

TEST(Files, AtomicWriteReplacesAndLeavesNoTemporary) {
    test::TempDir dir;
    const auto path = dir.Path() / "sub" / "rapport.csv";
    WriteFileAtomically(path, "ancien");
    WriteFileAtomically(path, Utf8BomText({"a;b", "c;d"}));
    EXPECT_EQ(ReadFileBytes(path),
              "\xEF\xBB\xBF"
              "a;b\r\nc;d\r\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(path.parent_path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(Files, ErrorsNameTheFile) {
    test::TempDir dir;
    try {
        ReadFileBytes(dir.Path() / "absent.csv");
        FAIL();
    } catch (const EFinanceError& e) {
        EXPECT_NE(e.Message().find("absent.csv"), std::string::npos) << e.Message();
    }
    if (::geteuid() != 0) {  // root writes through permission bits
        const auto locked = dir.Path() / "locked";
        std::filesystem::create_directory(locked);
        ::chmod(locked.c_str(), 0500);
        EXPECT_THROW(WriteFileAtomically(locked / "x.ini", "x"), EFinanceError);
        ::chmod(locked.c_str(), 0700);
    }
    // A regular file standing where the folder should be fails for everyone.
    dir.Write("plain", "x");
    EXPECT_THROW(WriteFileAtomically(dir.Path() / "plain" / "x.ini", "x"), EFinanceError);
}

TEST(Files, AWriteCutShortKeepsThePreviousFile) {
    test::TempDir dir;
    const auto path = dir.Path() / "rapport.csv";
    WriteFileAtomically(path, "ancien");
    {
        const test::FileSizeLimit diskFull(100);
        EXPECT_THROW(WriteFileAtomically(path, std::string(10'000, 'x')), EFinanceError);
    }
    EXPECT_EQ(ReadFileBytes(path), "ancien");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(Files, AFailedReplacementNamesItsCause) {
    test::TempDir dir;
    // A folder where the file should go: the temporary file is written, the rename refused.
    const auto path = dir.Path() / "rapport.csv";
    std::filesystem::create_directory(path);
    try {
        WriteFileAtomically(path, "x");
        FAIL() << "no error";
    } catch (const EFinanceError& e) {
        EXPECT_EQ(e.Message(), "Impossible d'ecrire le fichier " + path.string() + " : " +
                                   std::strerror(EISDIR));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

// The names in AFolder, sorted.
std::vector<std::string> NamesIn(const std::filesystem::path& AFolder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(AFolder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Files, AWriteRemovesTheTemporaryFilesOfKilledWrites) {
    test::TempDir dir;
    const auto path = dir.Path() / "Cotalys.ini";
    // Left by writes killed before their rename: nobody holds them any more.
    dir.Write("Cotalys.ini.tmp1234567", "[TailleDePosition]\nCap");
    dir.Write("Cotalys.ini.tmp42", "");
    // A write in progress elsewhere holds its temporary file locked.
    const auto busy = dir.Write("Cotalys.ini.tmp777", "en cours");
    const int held = ::open(busy.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    // Not temporary files of this file.
    dir.Write("autre.ini.tmp99", "");
    dir.Write("Cotalys.ini.tmpx1", "");
    dir.Write("Cotalys.ini.tmp", "");

    WriteFileAtomically(path, "[TailleDePosition]\n");
    ::close(held);
    EXPECT_EQ(NamesIn(dir.Path()),
              (std::vector<std::string>{"Cotalys.ini", "Cotalys.ini.tmp", "Cotalys.ini.tmp777",
                                        "Cotalys.ini.tmpx1", "autre.ini.tmp99"}));
}

TEST(Files, AWriteThroughASymbolicLinkReplacesItsTarget) {
    test::TempDir dir;
    const auto real = dir.Write("reel/Cotalys.ini", "ancien");
    const auto link = dir.Path() / "Documents" / "Cotalys.ini";
    std::filesystem::create_directories(link.parent_path());
    // A relative link, resolved from the link's own folder.
    std::filesystem::create_symlink("../reel/Cotalys.ini", link);
    WriteFileAtomically(link, "nouveau");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(real), "nouveau");
    EXPECT_EQ(NamesIn(real.parent_path()), std::vector<std::string>{"Cotalys.ini"});

    // A link whose file does not exist yet: the file is created where it points.
    const auto dangling = dir.Path() / "Documents" / "rapport.csv";
    std::filesystem::create_symlink(dir.Path() / "reel" / "rapport.csv", dangling);
    WriteFileAtomically(dangling, "a;b");
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_EQ(ReadFileBytes(dir.Path() / "reel" / "rapport.csv"), "a;b");
}

TEST(Files, AReplacedFileKeepsItsPermissions) {
    test::TempDir dir;
    for (const mode_t mode : {0600, 0640, 0664}) {
        const auto path = dir.Write("Cotalys.ini", "ancien");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        WriteFileAtomically(path, "nouveau");
        struct stat written {};
        ASSERT_EQ(::stat(path.c_str(), &written), 0);
        EXPECT_EQ(written.st_mode & 07777, mode) << std::oct << mode;
    }
}

// A report never replaces one written earlier in the same minute, nor one of its companions.
TEST(Files, UnusedStemsNumberTheReportsOfAMinute) {
    const test::TempDir folder;
    EXPECT_EQ(UnusedFileStem(folder.Path(), "scan_1830", {".csv"}), "scan_1830");
    folder.Write("scan_1830.csv", "x");
    EXPECT_EQ(UnusedFileStem(folder.Path(), "scan_1830", {".csv"}), "scan_1830_2");
    folder.Write("scan_1830_2.csv", "x");
    EXPECT_EQ(UnusedFileStem(folder.Path(), "scan_1830", {".csv"}), "scan_1830_3");
    // Any of the ends taken moves the number on for all.
    folder.Write("run_1830_2_extra.csv", "x");
    folder.Write("run_1830.csv", "x");
    EXPECT_EQ(UnusedFileStem(folder.Path(), "run_1830", {".csv", "_extra.csv"}), "run_1830_3");
    EXPECT_EQ(UnusedFileStem(folder.Path() / "missing", "run_1830", {".csv"}), "run_1830");
}

}  // namespace
}  // namespace cotalys
