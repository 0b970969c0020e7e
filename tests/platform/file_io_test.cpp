#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_io.h"
#include "platform/paths.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::InputKind;

std::string Slurp(const std::string& path) {
    std::string text, error;
    EXPECT_TRUE(platform::ReadInputFile(path, InputKind::Text, text, error)) << error;
    return text;
}

TEST(InputFile, RefusesWhatIsNotAReadableFileOfItsKindAndSaysWhy) {
    TempDir dir;
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "small.txt", "hello"));
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "empty.txt", ""));
    ASSERT_TRUE(platform::MakeDirectories(dir / "folder"));
    // A sparse file one byte over the limit: refused from its size, without reading it.
    {
        const int fd = ::open((dir / "huge.rsr").c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(platform::InputLimit(InputKind::ResourceFile) + 1)), 0);
        ::close(fd);
    }
    struct Case {
        std::string path;
        InputKind kind;
        bool ok;
        std::string contents;
        std::string message; // what the error says after "PATH: "
    };
    const Case cases[] = {
        {dir / "small.txt", InputKind::Text, true, "hello", ""},
        {dir / "empty.txt", InputKind::Picture, true, "", ""},
        {"/dev/null", InputKind::Script, true, "", ""},
        {dir / "missing.txt", InputKind::Text, false, "", "no such file"},
        {dir / "small.txt/x", InputKind::Text, false, "", "a folder on the way is a file"},
        {dir / "folder", InputKind::Picture, false, "", "is a folder, not a picture"},
        {dir / "huge.rsr", InputKind::ResourceFile, false, "",
         "is 33554433 bytes, more than a resource file may have (32 MB)"},
        {"/dev/zero", InputKind::ResourceFile, false, "",
         "does not end within 32 MB, the most a resource file may have"},
        {"", InputKind::Text, false, "", "no such file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string contents = "stale", error;
        EXPECT_EQ(platform::ReadInputFile(c.path, c.kind, contents, error), c.ok);
        EXPECT_EQ(contents, c.contents);
        EXPECT_EQ(error, c.ok ? "" : (c.path.empty() ? "(no name)" : c.path) + ": " + c.message);
    }
}

TEST(InputFile, HeadCheckRefusesBeforeTheRestIsReadAndSeesTheWholeLength) {
    TempDir dir;
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "a.bin", "HEAD and a long body"));
    std::size_t seenHead = 0;
    std::uint64_t seenSize = 0;
    const platform::HeadCheck refuse{4, [&](std::span<const std::uint8_t> head, std::uint64_t size) {
                                         seenHead = head.size();
                                         seenSize = size;
                                         return std::string(head.begin(), head.end()) == "HEAD"
                                                    ? std::string("has a bad header")
                                                    : std::string();
                                     }};
    std::string contents, error;
    EXPECT_FALSE(platform::ReadInputFile(dir / "a.bin", InputKind::Picture, contents, error, refuse));
    EXPECT_EQ(error, dir / "a.bin" + ": has a bad header");
    EXPECT_EQ(seenHead, 4u);
    EXPECT_EQ(seenSize, 20u);
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "b.bin", "BODY of the file"));
    EXPECT_TRUE(platform::ReadInputFile(dir / "b.bin", InputKind::Picture, contents, error, refuse));
    EXPECT_EQ(contents, "BODY of the file");
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "c.bin", "HE"));
    EXPECT_TRUE(platform::ReadInputFile(dir / "c.bin", InputKind::Picture, contents, error, refuse));
    EXPECT_EQ(seenHead, 2u);
}

TEST(OutputFile, ReplacesRegularFilesWholeAndFollowsLinksToTheirTarget) {
    TempDir dir;
    ASSERT_EQ(platform::WriteOutputFile(dir / "new.png", "one", 0644), "");
    struct stat st {};
    ASSERT_EQ(::stat((dir / "new.png").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0022, 0u) << "the umask applies to new files";
    EXPECT_EQ(Slurp(dir / "new.png"), "one");

    // A link (relative, through a second link) stays a link; its final target gets the contents.
    ASSERT_TRUE(platform::MakeDirectories(dir / "real"));
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "real/wqiva.ini", "old"));
    ASSERT_EQ(::symlink("real/wqiva.ini", (dir / "hop").c_str()), 0);
    ASSERT_EQ(::symlink("hop", (dir / "wqiva.ini").c_str()), 0);
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "wqiva.ini", "new"));
    ASSERT_EQ(::lstat((dir / "wqiva.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::lstat((dir / "hop").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(Slurp(dir / "real/wqiva.ini"), "new");
    // A dangling link makes its target.
    ASSERT_EQ(::symlink("real/made.txt", (dir / "dangling").c_str()), 0);
    EXPECT_EQ(platform::WriteOutputFile(dir / "dangling", "made"), "");
    EXPECT_EQ(Slurp(dir / "real/made.txt"), "made");
    // No temporary files are left beside the targets.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "real"), {}), 2);
}

TEST(OutputFile, FailuresAreReportedAndLeaveTheOldFile) {
    TempDir dir;
    ASSERT_TRUE(platform::MakeDirectories(dir / "folder"));
    ASSERT_EQ(::symlink("loop", (dir / "loop").c_str()), 0);
    struct Case {
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {dir / "missing/out.png", "the folder " + dir / "missing" + " does not exist"},
        {dir / "folder", "is a folder"},
        {dir / "loop", "too many symbolic links"},
        {"/dev/full", "cannot be written: No space left on device"},
        {"", "no file name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(platform::WriteOutputFile(c.path, "data"),
                  (c.path.empty() ? "(no name)" : c.path) + ": " + c.message);
    }
    struct stat st {};
    ASSERT_EQ(::stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode)) << "a device is written in place, never replaced";
    EXPECT_TRUE(platform::IsDirectory(dir / "folder"));
}

TEST(OutputFile, APipeIsWrittenInPlace) {
    TempDir dir;
    const std::string fifo = dir / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(platform::WriteOutputFile(fifo, "through the pipe"), "");
    char buffer[64] = {};
    const ssize_t n = ::read(reader, buffer, sizeof buffer);
    ::close(reader);
    EXPECT_EQ(std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0), "through the pipe");
    struct stat st {};
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(OutputFile, SameFileSeesThroughLinksAndOtherSpellings) {
    TempDir dir;
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "a.qd", "x"));
    ASSERT_TRUE(platform::WriteFileAtomically(dir / "b.qd", "x"));
    ASSERT_EQ(::symlink("a.qd", (dir / "link.qd").c_str()), 0);
    EXPECT_TRUE(platform::SameFile(dir / "a.qd", dir / "link.qd"));
    EXPECT_TRUE(platform::SameFile(dir / "a.qd", dir.Path() + "/./a.qd"));
    EXPECT_FALSE(platform::SameFile(dir / "a.qd", dir / "b.qd"));
    EXPECT_FALSE(platform::SameFile(dir / "a.qd", dir / "absent.qd"));
}

} // namespace
