#include "toolkit/core/resources.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "toolkit/core/big_endian.h"
#include "toolkit/core/error_box.h"
#include "toolkit/core/file_search.h"
#include "toolkit/core/font_cache_hook.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/resource_format.h"

namespace qiva {
namespace {

// One resource of an open file, in a handle of its own; the entries of a file form one list.
struct ResourceEntry {
    ResType type;
    std::int16_t id;
    std::uint8_t attributes;
    std::uint8_t loaded; // the data handle holds the data read from the file (possibly zero bytes)
    Ptr name;            // NUL-terminated copy, or null
    std::uint64_t dataOffset;
    Handle data;
    Handle next;
};

struct TypeEntry {
    ResType type;
    std::int16_t count;
    Handle first; // the entry added last for this type; `count` entries from it are this type's
};

struct OpenFile {
    std::int16_t refNum = 0;
    std::string directory;
    std::string name;
    Handle entries = nullptr;
    std::FILE* stream = nullptr;
    std::uint64_t fileSize = 0;
    ResourceHeader header;
    std::int16_t typeCount = 0;
    Handle typeTable = nullptr;
    OpenFile* next = nullptr;
};

OpenFile* chain = nullptr; // newest first
std::int16_t currentFile = 0;
OSErr resErr = noErr;
bool loadFlag = true;

ResourceEntry& EntryOf(Handle h) {
    return *reinterpret_cast<ResourceEntry*>(*h);
}

TypeEntry* TypesOf(const OpenFile& f) {
    return f.typeTable && *f.typeTable ? reinterpret_cast<TypeEntry*>(*f.typeTable) : nullptr;
}

OpenFile* FileNumbered(std::int16_t refNum) {
    for (OpenFile* f = chain; f; f = f->next) {
        if (f->refNum == refNum) return f;
    }
    return nullptr;
}

bool SameName(const std::string& a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool ReadAt(std::FILE* stream, std::uint64_t offset, void* buffer, std::size_t length) {
    if (offset > 0x7FFFFFFFFFFFll) return false;
    if (std::fseek(stream, static_cast<long>(offset), SEEK_SET) != 0) return false;
    return std::fread(buffer, 1, length, stream) == length;
}

// Unlinks the file from the chain and frees everything it holds.
void DisposeFile(OpenFile* file) {
    for (OpenFile** link = &chain; *link; link = &(*link)->next) {
        if (*link == file) {
            *link = file->next;
            break;
        }
    }
    Handle e = file->entries;
    while (e) {
        const Handle next = EntryOf(e).next;
        if (EntryOf(e).data) DisposeHandle(EntryOf(e).data);
        if (EntryOf(e).name) DisposePtr(EntryOf(e).name);
        DisposeHandle(e);
        e = next;
    }
    if (file->stream) std::fclose(file->stream);
    if (file->typeTable) DisposeHandle(file->typeTable);
    file->~OpenFile();
    DisposePtr(reinterpret_cast<Ptr>(file));
}

std::int16_t Refuse(std::FILE* stream, std::int16_t result, const std::string& message) {
    if (!message.empty()) ShowErrorBox(message);
    if (stream) std::fclose(stream);
    return result;
}

// Builds the file's type table and entries from its parsed map; false after a failed allocation
// (already reported).
bool BuildEntries(OpenFile& file, const std::vector<MapType>& types) {
    file.typeTable = NewHandleClear(static_cast<Size>(sizeof(TypeEntry) * types.size()));
    if (!file.typeTable) return false;
    file.typeCount = static_cast<std::int16_t>(types.size());
    for (std::size_t t = 0; t < types.size(); ++t) {
        const MapType& type = types[t];
        TypeEntry entry{type.type, static_cast<std::int16_t>(type.references.size()), nullptr};
        for (const MapReference& ref : type.references) {
            const Handle h = NewHandleClear(sizeof(ResourceEntry));
            if (!h) {
                ShowErrorBox("#NewHandle 254");
                return false;
            }
            ResourceEntry& e = EntryOf(h);
            e.type = type.type;
            e.id = ref.id;
            e.attributes = ref.attributes;
            e.dataOffset = std::uint64_t{file.header.dataOffset} + ref.dataOffset;
            e.next = file.entries;
            file.entries = h;
            entry.first = h;
            if (ref.name) {
                // Desk accessory names begin with a period that their users never write.
                std::string name = *ref.name;
                if (type.type == MakeResType("DRVR") && !name.empty()) name.erase(0, 1);
                const Ptr copy = NewPtr(static_cast<Size>(name.size() + 1));
                if (!copy) {
                    ShowErrorBox("Erreur #125477");
                    return false;
                }
                std::memcpy(copy, name.c_str(), name.size() + 1);
                EntryOf(h).name = copy;
            }
        }
        TypesOf(file)[t] = entry;
    }
    return true;
}

// The entry of that type and ID the walk of its type meets first, or null.
Handle FindEntry(const OpenFile& file, ResType type, std::int16_t id) {
    const TypeEntry* types = TypesOf(file);
    for (int t = 0; t < file.typeCount; ++t) {
        if (types[t].type != type) continue;
        Handle e = types[t].first;
        for (int i = 0; i < types[t].count && e; ++i, e = EntryOf(e).next) {
            if (EntryOf(e).id == id) return e;
        }
        return nullptr;
    }
    return nullptr;
}

Handle FindNamedEntry(const OpenFile& file, ResType type, const char* name) {
    const TypeEntry* types = TypesOf(file);
    for (int t = 0; t < file.typeCount; ++t) {
        if (types[t].type != type) continue;
        Handle e = types[t].first;
        for (int i = 0; i < types[t].count && e; ++i, e = EntryOf(e).next) {
            if (EntryOf(e).name && std::strcmp(EntryOf(e).name, name) == 0) return e;
        }
        return nullptr;
    }
    return nullptr;
}

// The entry's data, loaded as the load flag says; null when it cannot be read (already reported).
Handle Load(OpenFile& file, Handle entryHandle) {
    ResourceEntry& e = EntryOf(entryHandle);
    if (e.data) {
        if (*e.data || e.loaded || !loadFlag) return e.data;
        DisposeHandle(e.data); // an empty placeholder made while the load flag was clear
        e.data = nullptr;
    }
    if (!loadFlag) {
        e.data = NewHandle(0);
        e.loaded = 0;
        return e.data;
    }
    std::uint8_t lengthBytes[4];
    if (e.dataOffset + 4 > file.fileSize || !ReadAt(file.stream, e.dataOffset, lengthBytes, 4)) {
        ShowErrorBox("Erreur lecture datas ressource #2");
        return nullptr;
    }
    // A length the file cannot hold is a read failure, found before anything is allocated for it.
    const auto length = LoadBigEndian<std::uint32_t>(lengthBytes);
    if (length > file.fileSize - e.dataOffset - 4 || length > 0x7FFFFFFF) {
        ShowErrorBox("Erreur lecture datas ressource");
        return nullptr;
    }
    const Handle h = NewHandle(static_cast<Size>(length));
    if (!h) {
        ShowErrorBox("No more mem #25446");
        return nullptr;
    }
    HLock(h);
    if (length > 0 && std::fread(*h, 1, length, file.stream) != length) {
        HUnlock(h);
        DisposeHandle(h);
        ShowErrorBox("Erreur lecture datas ressource");
        return nullptr;
    }
    HUnlock(h);
    e.data = h;
    e.loaded = 1;
    return h;
}

struct Found {
    OpenFile* file = nullptr;
    Handle entry = nullptr;
};

// The entry whose loaded data is `h`, in any open file.
Found EntryHolding(Handle h) {
    if (!h) return {};
    for (OpenFile* f = chain; f; f = f->next) {
        for (Handle e = f->entries; e; e = EntryOf(e).next) {
            if (EntryOf(e).data == h) return {f, e};
        }
    }
    return {};
}

Handle Finish(Handle h) {
    resErr = h ? noErr : resNotFound;
    return h;
}

// Fonts can be read again from their files, so the memory recovery frees them; the text layer's
// caches point into them.
void ReleaseLoadedFonts() {
    ReleaseResourcesOfType(MakeResType("FONT"));
    InvalidateFontCache();
}

} // namespace

void ReleaseResourcesOfType(ResType type) {
    for (OpenFile* f = chain; f; f = f->next) {
        for (Handle e = f->entries; e; e = EntryOf(e).next) {
            ResourceEntry& entry = EntryOf(e);
            if (entry.type != type || !entry.data) continue;
            DisposeHandle(entry.data);
            entry.data = nullptr;
            entry.loaded = 0;
        }
    }
}

std::int16_t NewestResFile() {
    return chain ? chain->refNum : 0;
}

void OpenSystemResourceFiles() {
    struct SystemFile {
        const char* name;
        const char* missing;
    };
    const SystemFile files[] = {{"WLANG.RSR", "Le fichier 'Wlang.rsr' est introuvable."},
                                {"WINIT.RSR", "Le fichier 'Winit.rsr' est introuvable."}};
    InitResourcePaths();
    for (const SystemFile& file : files) {
        if (OpenResFile(file.name) < 0) {
            ShowErrorBox(file.missing);
            std::exit(0);
        }
    }
}

} // namespace qiva

using namespace qiva;

std::int16_t OpenResFile(const char* name) {
    resErr = noErr;
    if (!name || !*name) {
        resErr = resFNotFound;
        return -1;
    }
    for (OpenFile* f = chain; f; f = f->next) {
        if (SameName(f->name, name)) return f->refNum;
    }
    InvalidateFontCache();
    AddMemoryReleaser(&ReleaseLoadedFonts);

    std::FILE* stream = OpenInSearchPath(name, "rb", SearchPlace::Everywhere);
    if (!stream) {
        resErr = resFNotFound;
        return -1;
    }
    std::uint64_t fileSize = 0;
    if (std::fseek(stream, 0, SEEK_END) == 0) {
        const long end = std::ftell(stream);
        fileSize = end > 0 ? static_cast<std::uint64_t>(end) : 0;
    }
    std::uint8_t headerBytes[kResourceHeaderSize];
    if (!ReadAt(stream, 0, headerBytes, sizeof headerBytes)) {
        return Refuse(stream, -2, "Erreur #1: Lecture du fichier Header ");
    }
    const ResourceHeader header = ReadResourceHeader(headerBytes);
    // A map that does not lie inside the file cannot be read; nothing is allocated for it.
    if (header.mapOffset > fileSize || header.mapLength > fileSize - header.mapOffset) {
        return Refuse(stream, -4, "Erreur de lecture de la map de la ressource");
    }
    const std::string malformed = std::string("Erreur de lecture de la map de la ressource\n") + name + ": ";
    if (header.mapLength < kMapHeaderSize)
        return Refuse(stream, -4, malformed + "the map is shorter than its header");
    const Ptr map = NewPtr(static_cast<Size>(header.mapLength));
    if (!map) return Refuse(stream, -3, "Erreur 4:Pas de place mémoire");
    if (!ReadAt(stream, header.mapOffset, map, header.mapLength)) {
        DisposePtr(map);
        return Refuse(stream, -4, "Erreur de lecture de la map de la ressource");
    }
    auto* mapBytes = reinterpret_cast<std::uint8_t*>(map);
    ScrambleMap(mapBytes, header.mapLength);
    std::vector<MapType> types;
    std::string error;
    const bool parsed = ParseResourceMap(mapBytes, header.mapLength, types, error);
    DisposePtr(map);
    if (!parsed) return Refuse(stream, -4, malformed + error);

    const std::int16_t newest = NewestResFile();
    if (newest == 0x7FFF) return Refuse(stream, -1, "");
    void* raw = NewPtrClear(sizeof(OpenFile));
    if (!raw) return Refuse(stream, -1, "");
    auto* file = new (raw) OpenFile;
    file->refNum = static_cast<std::int16_t>(newest + 1);
    file->stream = stream;
    file->fileSize = fileSize;
    file->header = header;
    file->name = name;
    file->directory = platform::CurrentDirectory();
    file->next = chain;
    chain = file;
    if (!BuildEntries(*file, types)) {
        // A half-built file would answer later opens of its name; it goes away whole.
        DisposeFile(file);
        return -1;
    }
    currentFile = file->refNum;
    return file->refNum;
}

void CloseResFile(std::int16_t refNum) {
    OpenFile* file = FileNumbered(refNum);
    if (!file) return;
    resErr = noErr;
    InvalidateFontCache(); // the text layer's strikes may point into the file's fonts
    DisposeFile(file);
    if (currentFile == refNum) currentFile = NewestResFile();
}

void UseResFile(std::int16_t refNum) {
    if (!FileNumbered(refNum)) {
        resErr = resFNotFound;
        return;
    }
    resErr = noErr;
    currentFile = refNum;
}

std::int16_t CurResFile() {
    return currentFile;
}

OSErr ResError() {
    return resErr;
}

void SetResLoad(Boolean load) {
    loadFlag = load;
}

Handle GetResource(ResType type, std::int16_t id) {
    for (OpenFile* f = FileNumbered(currentFile); f; f = f->next) {
        if (const Handle e = FindEntry(*f, type, id)) {
            if (const Handle h = Load(*f, e)) return Finish(h);
        }
    }
    return Finish(nullptr);
}

Handle Get1Resource(ResType type, std::int16_t id) {
    OpenFile* f = FileNumbered(currentFile);
    const Handle e = f ? FindEntry(*f, type, id) : nullptr;
    return Finish(e ? Load(*f, e) : nullptr);
}

Handle GetNamedResource(ResType type, const char* name) {
    if (!name) return Finish(nullptr);
    for (OpenFile* f = FileNumbered(currentFile); f; f = f->next) {
        if (const Handle e = FindNamedEntry(*f, type, name)) {
            if (const Handle h = Load(*f, e)) return Finish(h);
        }
    }
    return Finish(nullptr);
}

Handle GetIndResource(ResType type, std::int16_t index) {
    if (index < 1) return Finish(nullptr);
    int seen = 0;
    for (OpenFile* f = chain; f; f = f->next) {
        for (Handle e = f->entries; e; e = EntryOf(e).next) {
            if (EntryOf(e).type == type && ++seen == index) return Finish(Load(*f, e));
        }
    }
    return Finish(nullptr);
}

std::int16_t CountResources(ResType type) {
    int count = 0;
    for (OpenFile* f = chain; f; f = f->next) {
        const TypeEntry* types = TypesOf(*f);
        for (int t = 0; t < f->typeCount; ++t) {
            if (types[t].type == type) count += types[t].count;
        }
    }
    resErr = noErr;
    return static_cast<std::int16_t>(count > 0x7FFF ? 0x7FFF : count);
}

std::int16_t Count1Resources(ResType type) {
    resErr = noErr;
    const OpenFile* f = FileNumbered(currentFile);
    if (!f) return 0;
    const TypeEntry* types = TypesOf(*f);
    for (int t = 0; t < f->typeCount; ++t) {
        if (types[t].type == type) return types[t].count;
    }
    return 0;
}

void DetachResource(Handle h) {
    const Found found = EntryHolding(h);
    if (!found.entry) {
        resErr = resNotFound;
        return;
    }
    // A font leaving the file's care may be freed by its new owner: the text layer lets go of it.
    if (EntryOf(found.entry).type == MakeResType("FONT")) InvalidateFontCache();
    EntryOf(found.entry).data = nullptr;
    EntryOf(found.entry).loaded = 0;
    resErr = noErr;
}

void ReleaseResource(Handle h) {
    DetachResource(h);
    if (resErr == noErr) DisposeHandle(h);
}

std::int16_t HomeResFile(Handle h) {
    const Found found = EntryHolding(h);
    if (!found.file) {
        resErr = resNotFound;
        return -1;
    }
    resErr = noErr;
    return found.file->refNum;
}

void GetResInfo(Handle h, std::int16_t* id, ResType* type, char* name) {
    const Found found = EntryHolding(h);
    if (!found.entry) {
        resErr = resNotFound;
        return;
    }
    resErr = noErr;
    const ResourceEntry& e = EntryOf(found.entry);
    if (id) *id = e.id;
    if (type) *type = e.type;
    if (name) {
        if (e.name) {
            std::strcpy(name, e.name); // at most 255 characters and the zero
        } else {
            name[0] = '\0';
        }
    }
}
