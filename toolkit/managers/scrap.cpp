#include "toolkit/managers/scrap.h"

#include <cstring>
#include <string>

#include "platform/paths.h"
#include "platform/platform.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/file_search.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/shell.h"
#include "toolkit/managers/scrap_entries.h"
#include "toolkit/managers/scrap_text.h"

namespace {

constexpr const char* kScrapFileName = "ClpBoard.srp";
constexpr ResType kText = MakeResType("TEXT");

ScrapStuff scrap{0, nullptr, 0, -1, kScrapFileName};

// The scrap file: its name in the system directory, as it exists when it does. Empty when the
// system directory is not known.
std::string ScrapFilePath() {
    const std::string& dir = qiva::ResourcePaths().system;
    if (dir.empty()) return {};
    const std::string path = platform::JoinPath(dir, scrap.scrapName);
    const std::string found = platform::FindFileNoCase(path);
    return found.empty() ? path : found;
}

} // namespace

PScrapStuff InfoScrap() {
    return &scrap;
}

std::int32_t ZeroScrap() {
    if (scrap.scrapState < 0) scrap.scrapState = 1;
    if (scrap.scrapState == 1) {
        if (scrap.scrapHandle != nullptr) DisposeHandle(scrap.scrapHandle);
        scrap.scrapHandle = NewHandle(0);
        scrap.scrapSize = 0;
    } else if (scrap.scrapState == 0) {
        const std::string path = ScrapFilePath();
        if (!path.empty()) platform::WriteFileAtomically(path, {});
        scrap.scrapSize = 0;
    }
    ++scrap.scrapCount;
    return 0;
}

std::int32_t UnloadScrap() {
    if (scrap.scrapState != 1) return 0;
    const std::string path = ScrapFilePath();
    if (path.empty() || !platform::IsDirectory(qiva::ResourcePaths().system)) return -1;
    std::string_view bytes;
    if (scrap.scrapHandle != nullptr && *scrap.scrapHandle != nullptr)
        bytes = {*scrap.scrapHandle, static_cast<std::size_t>(scrap.scrapSize)};
    // Written beside and renamed over the old file, so a failure keeps the old file whole.
    if (!platform::WriteFileAtomically(path, bytes)) return dskFulErr;
    if (scrap.scrapHandle != nullptr) DisposeHandle(scrap.scrapHandle);
    scrap.scrapHandle = nullptr;
    scrap.scrapState = 0;
    return 0;
}

std::int32_t LoadScrap() {
    if (scrap.scrapState == 1) return 0;
    const std::string path = ScrapFilePath();
    std::string contents;
    if (path.empty() || !platform::ReadFile(path, contents)) return -1;
    if (contents.size() > 0x7FFFFFF0u) return memFullErr;
    const Handle h = NewHandle(static_cast<Size>(contents.size()));
    if (h == nullptr) return MemError();
    if (!contents.empty()) std::memcpy(*h, contents.data(), contents.size());
    if (scrap.scrapHandle != nullptr) DisposeHandle(scrap.scrapHandle);
    scrap.scrapHandle = h;
    scrap.scrapSize = static_cast<std::int32_t>(contents.size());
    scrap.scrapState = 1;
    return 0;
}

std::int32_t PutScrap(std::int32_t length, ResType theType, const void* source) {
    if (scrap.scrapState < 0) ZeroScrap();
    const bool wasOut = scrap.scrapState == 0;
    if (wasOut && LoadScrap() != 0) {
        qiva::ShowErrorBox("ScrapManager: Putscrap: Loadscrap Error");
        return -1;
    }
    if (scrap.scrapHandle == nullptr) scrap.scrapHandle = NewHandle(0);
    const std::int64_t newSize = std::int64_t{scrap.scrapSize} + length + 12;
    if (length < 0 || (length > 0 && source == nullptr) || newSize > 0x7FFFFFFF) {
        qiva::ShowErrorBox("ScrapManager: Putscrap: SetHandle Size Error");
        return -1;
    }
    SetHandleSize(scrap.scrapHandle, static_cast<Size>(newSize));
    if (MemError() != noErr) {
        qiva::ShowErrorBox("ScrapManager: Putscrap: SetHandle Size Error");
        return -1;
    }
    auto* end = reinterpret_cast<std::uint8_t*>(*scrap.scrapHandle) + scrap.scrapSize;
    qiva::WriteScrapEntryHeader(end, theType, length);
    if (length > 0) std::memcpy(end + qiva::kScrapEntryHeader, source, static_cast<std::size_t>(length));
    scrap.scrapSize = static_cast<std::int32_t>(newSize);
    if (wasOut && UnloadScrap() != 0) {
        qiva::ShowErrorBox("ScapMangger: Putscrap: UnLoadscrap Error");
        return -1;
    }
    return 0;
}

std::int32_t GetScrap(Handle hDest, ResType theType, std::int32_t* offset) {
    if (scrap.scrapState < 0) ZeroScrap();
    if (offset != nullptr) *offset = -1;
    const bool wasOut = scrap.scrapState == 0;
    if (wasOut && LoadScrap() != 0) {
        qiva::ShowErrorBox("ScapMangger: Putscrap: Loadscrap Error");
        return -1;
    }
    std::int32_t result = 0;
    if (scrap.scrapHandle != nullptr) {
        result = noTypeErr;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(*scrap.scrapHandle);
        const std::size_t size = bytes == nullptr ? 0 : static_cast<std::size_t>(scrap.scrapSize);
        qiva::ScrapEntry entry{};
        if (qiva::FindScrapEntry({bytes, size}, theType, &entry)) {
            result = entry.length;
            if (offset != nullptr) *offset = entry.offset;
            if (hDest != nullptr) {
                SetHandleSize(hDest, entry.length);
                if (MemError() != noErr)
                    result = MemError();
                else if (entry.length > 0)
                    std::memcpy(*hDest, *scrap.scrapHandle + entry.offset,
                                static_cast<std::size_t>(entry.length));
            }
        }
    }
    if (wasOut && UnloadScrap() != 0) {
        qiva::ShowErrorBox("ScapMangger: Getscrap: UnLoadscrap Error");
        return -1;
    }
    return result;
}

namespace qiva {

void ImportClipboard() {
    if (!platform::HasBackend()) return;
    const std::string utf8 = platform::Current().ClipboardText();
    if (utf8.empty()) return;
    const std::string text = ClipboardToScrapText(utf8);
    ZeroScrap();
    PutScrap(static_cast<std::int32_t>(text.size()), kText, text.data());
}

void ExportClipboard() {
    if (!platform::HasBackend()) return;
    std::int32_t offset = 0;
    const std::int32_t n = GetScrap(nullptr, kText, &offset);
    if (n <= 0) return;
    const Handle h = NewHandle(n);
    if (h == nullptr) return;
    if (GetScrap(h, kText, &offset) == n)
        platform::Current().SetClipboardText(ScrapTextToClipboard({*h, static_cast<std::size_t>(n)}));
    DisposeHandle(h);
}

void InstallScrapExchange() {
    Shell().scrapImport = ImportClipboard;
    Shell().scrapExport = ExportClipboard;
}

void ResetScrap() {
    if (scrap.scrapHandle != nullptr) DisposeHandle(scrap.scrapHandle);
    scrap = ScrapStuff{0, nullptr, 0, -1, kScrapFileName};
}

} // namespace qiva
