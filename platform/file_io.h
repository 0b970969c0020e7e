#pragma once
// The one way every program and layer reads an input file and writes an output file: inputs refused
// with a message that names the file when they are not what they should be, outputs replaced whole.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What an input file holds; each kind has a size beyond which no real file of it goes, so that a
// device without end or a huge file is refused instead of read whole.
enum class InputKind { ResourceFile, ResourceSource, Picture, Png, Wave, TrueType, Script, Settings, Text };

std::uint64_t InputLimit(InputKind kind);
const char* InputKindName(InputKind kind); // "picture", "resource file" ...

// Looks at the first `size` bytes of a file (fewer if it is shorter) and the file's whole length;
// returns why the file cannot be what it should be, or empty. Lets a reader refuse a file from its
// header before the rest is read.
struct HeadCheck {
    std::size_t size = 0;
    std::function<std::string(std::span<const std::uint8_t> head, std::uint64_t fileSize)> check;
};

// Reads a whole input file. Refuses, with a message that names the file and says what is wrong:
// a missing or unreadable file, a folder or other non-file, a file or device longer than the kind's
// limit, and a file whose head `head` refuses. A read error is an error, never a short input.
bool ReadInputFile(const std::string& path, InputKind kind, std::string& contents, std::string& error,
                   const HeadCheck& head = {});
bool ReadInputFile(const std::string& path, InputKind kind, std::vector<std::uint8_t>& contents,
                   std::string& error, const HeadCheck& head = {});

// Writes an output file so that a failure leaves the old one whole: a regular file (or a new one)
// is written beside itself and renamed over; a symbolic link is followed and its final target
// replaced the same way; an output that is not a regular file (a device, a pipe, standard output)
// is written in place. Returns the error, naming the file, or empty. New files get `newFileMode`
// less the umask; a replaced file keeps its permissions.
std::string WriteOutputFile(const std::string& path, std::string_view contents, unsigned newFileMode = 0666);

// What tells that a file changed since it was read: its identity, length and times.
struct FileStamp {
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t modified = 0, changed = 0; // nanoseconds
    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> StampOf(const std::string& path); // after links; nullopt when missing

// True when both names lead to the same existing file (after links).
bool SameFile(const std::string& a, const std::string& b);

} // namespace platform
