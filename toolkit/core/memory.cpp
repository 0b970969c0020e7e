#include "toolkit/core/memory.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <unordered_map>
#include <vector>

#include "toolkit/core/error_box.h"

namespace qiva {
namespace {

// ---- The heap: the C library's allocator under the toolkit's limit ----

// Every live block with the size asked for and the room it is charged for. The table lets a bad
// pointer be refused instead of freed, and gives pointer blocks their size.
struct BlockInfo {
    std::size_t size;
    std::size_t room;
};

struct Heap {
    std::unordered_map<void*, BlockInfo> blocks;
    std::size_t limit = kDefaultHeapLimit;
    std::size_t inUse = 0;
};

Heap& TheHeap() {
    static Heap* heap = new Heap; // never destroyed: exit handlers may still free blocks
    return *heap;
}

std::size_t RoomFor(std::size_t size) {
    return (size + 15) & ~std::size_t{15};
}

bool Fits(std::size_t room) {
    const Heap& heap = TheHeap();
    return heap.inUse <= heap.limit && room <= heap.limit - heap.inUse;
}

void* HeapAllocate(std::size_t size) {
    const std::size_t room = RoomFor(size);
    if (!Fits(room)) return nullptr;
    void* p = std::malloc(room);
    if (!p) return nullptr;
    Heap& heap = TheHeap();
    heap.blocks.emplace(p, BlockInfo{size, room});
    heap.inUse += room;
    return p;
}

// Resizes by moving when needed. On failure the old block is untouched and null is returned.
void* HeapResize(void* old, std::size_t size) {
    Heap& heap = TheHeap();
    const auto it = heap.blocks.find(old);
    if (it == heap.blocks.end()) return nullptr;
    const BlockInfo info = it->second;
    const std::size_t room = RoomFor(size);
    if (room > info.room && !Fits(room - info.room)) return nullptr;
    void* p = std::realloc(old, room);
    if (!p) return nullptr;
    heap.blocks.erase(it);
    heap.blocks.emplace(p, BlockInfo{size, room});
    heap.inUse = heap.inUse - info.room + room;
    return p;
}

bool HeapFree(void* p) {
    Heap& heap = TheHeap();
    const auto it = heap.blocks.find(p);
    if (it == heap.blocks.end()) return false;
    heap.inUse -= it->second.room;
    heap.blocks.erase(it);
    std::free(p);
    return true;
}

std::size_t HeapFreeSpace() {
    const Heap& heap = TheHeap();
    return heap.inUse < heap.limit ? heap.limit - heap.inUse : 0;
}

OSErr memErr = noErr;

// ---- Master pointer blocks ----

struct MasterBlock {
    std::int16_t count;
    std::int16_t releasable; // always 1: an empty block may be released by compaction
    MasterBlock* next;
    MasterPointer* freeHead;

    MasterPointer* Records() { return reinterpret_cast<MasterPointer*>(this + 1); }
};
static_assert(sizeof(MasterBlock) % alignof(MasterPointer) == 0);

constexpr int kFirstBlockRecords = 512;
constexpr int kLaterBlockRecords = 32;

MasterBlock* firstBlock = nullptr;

MasterPointer* NextFree(const MasterPointer& r) {
    return reinterpret_cast<MasterPointer*>(r.data);
}

void* AllocateWithRecovery(std::size_t size);

MasterBlock* MakeBlock(int count) {
    const std::size_t bytes = sizeof(MasterBlock) + static_cast<std::size_t>(count) * sizeof(MasterPointer);
    void* raw = AllocateWithRecovery(bytes);
    if (!raw) return nullptr;
    std::memset(raw, 0, bytes);
    auto* block = static_cast<MasterBlock*>(raw);
    block->count = static_cast<std::int16_t>(count);
    block->releasable = 1;
    MasterPointer* records = block->Records();
    for (int i = 0; i < count; ++i) {
        records[i].data = i + 1 < count ? reinterpret_cast<Ptr>(&records[i + 1]) : nullptr;
        records[i].link = i > 0 ? &records[i - 1] : nullptr;
    }
    block->freeHead = &records[0];
    return block;
}

// The blocks by the address of their records, for the check every handle call makes; rebuilt when a
// block is made or released, which is rare.
std::vector<MasterBlock*>& BlocksByAddress() {
    static auto* blocks = new std::vector<MasterBlock*>;
    return *blocks;
}

void IndexBlocks() {
    std::vector<MasterBlock*>& blocks = BlocksByAddress();
    blocks.clear();
    for (MasterBlock* b = firstBlock; b; b = b->next)
        blocks.push_back(b);
    std::sort(blocks.begin(), blocks.end(), std::less<>());
}

// The block whose record array holds `record` exactly at a record boundary, or null.
MasterBlock* BlockHolding(const void* record) {
    const auto address = reinterpret_cast<std::uintptr_t>(record);
    const std::vector<MasterBlock*>& blocks = BlocksByAddress();
    // The last block below or at the address is the only one that can hold it.
    auto it = std::upper_bound(blocks.begin(), blocks.end(), address, [](std::uintptr_t a, MasterBlock* b) {
        return a < reinterpret_cast<std::uintptr_t>(b);
    });
    if (it == blocks.begin()) return nullptr;
    MasterBlock* b = *--it;
    const auto start = reinterpret_cast<std::uintptr_t>(b->Records());
    const std::uintptr_t end = start + static_cast<std::uintptr_t>(b->count) * sizeof(MasterPointer);
    if (address < start || address >= end) return nullptr;
    return (address - start) % sizeof(MasterPointer) == 0 ? b : nullptr;
}

MasterPointer* PopFree(MasterBlock* b) {
    MasterPointer* r = b->freeHead;
    b->freeHead = NextFree(*r);
    if (b->freeHead) b->freeHead->link = nullptr;
    r->data = nullptr;
    r->link = nullptr;
    return r;
}

void PushFree(MasterBlock* b, MasterPointer* r) {
    r->data = reinterpret_cast<Ptr>(b->freeHead);
    r->link = nullptr;
    if (b->freeHead) b->freeHead->link = r;
    b->freeHead = r;
}

// The handle's record when it is a handle in use; otherwise sets the code and returns null.
MasterPointer* LiveRecord(Handle h) {
    if (!h) {
        memErr = nilHandleErr;
        return nullptr;
    }
    if (!BlockHolding(h) || !(RecordOf(h).flags & kRecordInUse)) {
        memErr = memWZErr;
        return nullptr;
    }
    return &RecordOf(h);
}

bool Elsewhere(const MasterPointer& r) {
    return (r.flags & (kSetAside | kInExtendedStore)) != 0;
}

// A live record whose data may be moved or freed: neither locked nor set aside. Null, with the
// reason in MemError, otherwise.
MasterPointer* MovableRecord(Handle h) {
    MasterPointer* r = LiveRecord(h);
    if (!r) return nullptr;
    if (r->flags & kLocked) {
        memErr = memLockedErr;
        return nullptr;
    }
    if (Elsewhere(*r)) {
        memErr = memAdrErr;
        return nullptr;
    }
    return r;
}

// ---- Recovery ----

// No extended store is registered in this build: every move-out is refused.
OSErr MoveOutToExtendedStore(MasterPointer&) {
    return memAZErr;
}

// The releasers of data that can be had again, in order of registration.
constexpr int kMaxReleasers = 8;
MemoryReleaser releasers[kMaxReleasers] = {};
int releaserCount = 0;

void ReleaseReloadables() {
    for (int i = 0; i < releaserCount; ++i)
        releasers[i]();
    for (MasterBlock* b = firstBlock; b; b = b->next) {
        MasterPointer* records = b->Records();
        for (int i = 0; i < b->count; ++i) {
            MasterPointer& r = records[i];
            if ((r.flags & kRecordInUse) && (r.flags & (kSetAside | kInExtendedStore)) == kSetAside) {
                MoveOutToExtendedStore(r);
            }
        }
    }
}

void ReleaseEmptyBlocks() {
    MasterBlock** link = &firstBlock;
    while (MasterBlock* b = *link) {
        bool used = false;
        MasterPointer* records = b->Records();
        for (int i = 0; i < b->count && !used; ++i)
            used = (records[i].flags & kRecordInUse) != 0;
        if (used) {
            link = &b->next;
        } else {
            *link = b->next;
            HeapFree(b);
        }
    }
    IndexBlocks();
}

void RunRecovery() {
    ReleaseReloadables();
    ReleaseEmptyBlocks();
    ReleaseReloadables();
}

// Allocation with the recovery sequence between two tries.
void* AllocateWithRecovery(std::size_t size) {
    void* p = HeapAllocate(size);
    if (p) return p;
    RunRecovery();
    return HeapAllocate(size);
}

// Allocates, or resizes `old`, with the recovery sequence between two tries; null when both fail.
void* ResizeWithRecovery(void* old, std::size_t size) {
    void* p = HeapResize(old, size);
    if (p) return p;
    RunRecovery();
    return HeapResize(old, size);
}

// The data of a record, resized to `size` with its contents kept; false leaves it untouched.
bool ResizeData(MasterPointer& r, Size size) {
    if (size == 0) {
        if (r.data) HeapFree(r.data);
        r.data = nullptr;
    } else {
        void* p = r.data ? ResizeWithRecovery(r.data, static_cast<std::size_t>(size))
                         : AllocateWithRecovery(static_cast<std::size_t>(size));
        if (!p) return false;
        r.data = static_cast<Ptr>(p);
    }
    r.size = static_cast<std::uint32_t>(size);
    return true;
}

} // namespace

void SetHeapLimit(std::size_t bytes) {
    TheHeap().limit = bytes;
}

std::size_t HeapLimit() {
    return TheHeap().limit;
}

std::size_t HeapBytesInUse() {
    return TheHeap().inUse;
}

OSErr SetHandleAside(Handle h) {
    memErr = noErr;
    MasterPointer* r = LiveRecord(h);
    if (!r) return memErr;
    if (r->flags & kLocked) return memErr = memLockedErr;
    if (Elsewhere(*r)) return memErr = memAdrErr;
    r->link = r->data;
    r->data = nullptr;
    r->flags |= kSetAside;
    return noErr;
}

int MasterPointerBlockCount() {
    int n = 0;
    for (MasterBlock* b = firstBlock; b; b = b->next)
        ++n;
    return n;
}

int MasterPointerBlockRecords(int index) {
    MasterBlock* b = firstBlock;
    for (; b && index > 0; --index)
        b = b->next;
    return b ? b->count : 0;
}

void AddMemoryReleaser(MemoryReleaser release) {
    if (!release) return;
    for (int i = 0; i < releaserCount; ++i)
        if (releasers[i] == release) return;
    if (releaserCount < kMaxReleasers) releasers[releaserCount++] = release;
}

} // namespace qiva

using namespace qiva;

Ptr NewPtr(Size size) {
    memErr = noErr;
    if (size == 0) return nullptr;
    if (size < 0) {
        memErr = memFullErr;
        return nullptr;
    }
    void* p = AllocateWithRecovery(static_cast<std::size_t>(size));
    if (!p) {
        ShowErrorBox("NewPtr: plus de place memoire");
        memErr = memFullErr;
        return nullptr;
    }
    return static_cast<Ptr>(p);
}

Ptr NewPtrClear(Size size) {
    Ptr p = NewPtr(size);
    if (p) std::memset(p, 0, static_cast<std::size_t>(size));
    return p;
}

void DisposePtr(Ptr p) {
    memErr = noErr;
    if (p && !HeapFree(p)) memErr = memWZErr;
}

Size GetPtrSize(Ptr p) {
    memErr = noErr;
    const auto it = p ? TheHeap().blocks.find(p) : TheHeap().blocks.end();
    if (it == TheHeap().blocks.end()) {
        memErr = p ? memWZErr : nilHandleErr;
        return 0;
    }
    return static_cast<Size>(it->second.size);
}

void SetPtrSize(Ptr p, Size size) {
    memErr = noErr;
    const auto it = p ? TheHeap().blocks.find(p) : TheHeap().blocks.end();
    if (it == TheHeap().blocks.end()) {
        memErr = p ? memWZErr : nilHandleErr;
        return;
    }
    if (size < 0 || static_cast<std::size_t>(size) > it->second.room) {
        memErr = memFullErr;
        return;
    }
    it->second.size = static_cast<std::size_t>(size);
}

Handle NewHandle(Size size) {
    memErr = noErr;
    if (size < 0) {
        memErr = memFullErr;
        return nullptr;
    }
    // The data comes first: its recovery sequence may release empty master pointer blocks.
    Ptr data = nullptr;
    if (size > 0) {
        data = NewPtr(size);
        if (!data) return nullptr;
    }
    MasterBlock* block = firstBlock;
    while (block && !block->freeHead)
        block = block->next;
    if (!block) {
        block = MakeBlock(firstBlock ? kLaterBlockRecords : kFirstBlockRecords);
        if (!block) {
            if (data) HeapFree(data);
            ShowErrorBox("NewPtr: plus de place memoire");
            memErr = memFullErr;
            return nullptr;
        }
        MasterBlock** end = &firstBlock;
        while (*end)
            end = &(*end)->next;
        *end = block;
        IndexBlocks();
    }
    MasterPointer* r = PopFree(block);
    r->data = data;
    r->size = static_cast<std::uint32_t>(size);
    r->flags = kRecordInUse;
    return reinterpret_cast<Handle>(r);
}

Handle NewHandleClear(Size size) {
    Handle h = NewHandle(size);
    if (h && *h) std::memset(*h, 0, static_cast<std::size_t>(size));
    return h;
}

void DisposeHandle(Handle h) {
    memErr = noErr;
    MasterPointer* r = LiveRecord(h);
    if (!r) return;
    void* data = (r->flags & kSetAside) && !(r->flags & kInExtendedStore) ? r->link : r->data;
    if (data) HeapFree(data);
    r->flags = 0;
    r->size = 0;
    PushFree(BlockHolding(h), r);
}

Size GetHandleSize(Handle h) {
    memErr = noErr;
    const MasterPointer* r = LiveRecord(h);
    return r ? static_cast<Size>(r->size) : 0;
}

void SetHandleSize(Handle h, Size size) {
    memErr = noErr;
    MasterPointer* r = MovableRecord(h);
    if (!r) return;
    if (size < 0) {
        memErr = memFullErr;
        return;
    }
    if (static_cast<std::uint32_t>(size) == r->size) return;
    if (!ResizeData(*r, size)) memErr = memFullErr;
}

Handle RecoverHandle(Ptr p) {
    memErr = noErr;
    if (!p) return nullptr;
    for (MasterBlock* b = firstBlock; b; b = b->next) {
        MasterPointer* records = b->Records();
        for (int i = 0; i < b->count; ++i) {
            if ((records[i].flags & kRecordInUse) && records[i].data == p) {
                return reinterpret_cast<Handle>(&records[i]);
            }
        }
    }
    return nullptr;
}

void EmptyHandle(Handle h) {
    memErr = noErr;
    MasterPointer* r = MovableRecord(h);
    if (!r) return;
    if (r->data) HeapFree(r->data);
    r->data = nullptr;
    r->size = 0;
}

void ReallocateHandle(Handle h, Size size) {
    memErr = noErr;
    MasterPointer* r = MovableRecord(h);
    if (!r) return;
    if (size < 0) {
        memErr = memFullErr;
        return;
    }
    // The new block is had before the old one goes, so a failure leaves the handle as it was.
    Ptr data = nullptr;
    if (size > 0) {
        data = static_cast<Ptr>(AllocateWithRecovery(static_cast<std::size_t>(size)));
        if (!data) {
            memErr = memFullErr;
            return;
        }
    }
    if (r->data) HeapFree(r->data);
    r->data = data;
    r->size = static_cast<std::uint32_t>(size);
}

void HLock(Handle h) {
    memErr = noErr;
    MasterPointer* r = LiveRecord(h);
    if (!r) return;
    if (r->flags & kLocked) {
        memErr = memLockedErr;
    } else if (Elsewhere(*r)) {
        memErr = memAdrErr;
    } else {
        r->flags |= kLocked;
    }
}

void HUnlock(Handle h) {
    memErr = noErr;
    MasterPointer* r = LiveRecord(h);
    if (!r) return;
    if (r->flags & kLocked) {
        r->flags &= static_cast<std::uint8_t>(~kLocked);
    } else {
        memErr = memLockedErr;
    }
}

void HPurge(Handle h) {
    memErr = noErr;
    MasterPointer* r = LiveRecord(h);
    if (r && Elsewhere(*r)) memErr = memAdrErr;
}

void HNoPurge(Handle h) {
    HPurge(h);
}

SignedByte HGetState(Handle h) {
    memErr = noErr;
    const MasterPointer* r = LiveRecord(h);
    if (!r) return 0;
    unsigned state = 0;
    if (r->flags & kLocked) state |= 0x80;
    if (r->flags & kSetAside) state |= 0x40;
    if (r->flags & kInExtendedStore) state |= 0x01;
    return static_cast<SignedByte>(state);
}

void HSetState(Handle h, SignedByte state) {
    memErr = noErr;
    MasterPointer* r = LiveRecord(h);
    if (!r) return;
    const auto s = static_cast<std::uint8_t>(state);
    if (s & 0x41) {
        r->flags &= static_cast<std::uint8_t>(~kLocked);
        if (!(r->flags & kInExtendedStore) && (s & 0x01) && (r->flags & kSetAside)) {
            memErr = MoveOutToExtendedStore(*r);
        }
        return;
    }
    if (r->flags & kInExtendedStore) {
        memErr = memPCErr; // no store to read it back from
        return;
    }
    if (r->flags & kSetAside) {
        r->data = static_cast<Ptr>(r->link);
        r->link = nullptr;
        r->flags &= static_cast<std::uint8_t>(~kSetAside);
    }
    // Restoring a saved state restores the lock as it was, so a save-lock-restore pair leaves the
    // handle resizable again.
    if (s & 0x80) {
        r->flags |= kLocked;
    } else {
        r->flags &= static_cast<std::uint8_t>(~kLocked);
    }
}

OSErr HandToHand(Handle* h) {
    memErr = noErr;
    if (!h) return memErr = nilHandleErr;
    const MasterPointer* r = LiveRecord(*h);
    if (!r) return memErr;
    if (Elsewhere(*r)) return memErr = memAdrErr;
    const Size size = static_cast<Size>(r->size);
    Handle copy = NewHandle(size);
    if (!copy) return memErr;
    if (size > 0) std::memcpy(*copy, **h, static_cast<std::size_t>(size));
    *h = copy;
    return memErr = noErr;
}

OSErr PtrToHand(const void* src, Handle* h, Size n) {
    memErr = noErr;
    if (!h) return memErr = nilHandleErr;
    Handle made = NewHandle(n);
    if (!made) return memErr;
    if (n > 0) std::memcpy(*made, src, static_cast<std::size_t>(n));
    *h = made;
    return memErr;
}

OSErr PtrToXHand(const void* src, Handle h, Size n) {
    SetHandleSize(h, n);
    if (memErr == noErr && n > 0) std::memcpy(*h, src, static_cast<std::size_t>(n));
    return memErr;
}

OSErr HandAndHand(Handle src, Handle dst) {
    memErr = noErr;
    const MasterPointer* r = LiveRecord(src);
    if (!r) return memErr;
    if (Elsewhere(*r)) return memErr = memAdrErr;
    const Size n = static_cast<Size>(r->size);
    const Size old = GetHandleSize(dst);
    if (memErr != noErr) return memErr;
    SetHandleSize(dst, old + n);
    // src may be dst: its data is read after the resize.
    if (memErr == noErr && n > 0) std::memmove(*dst + old, *src, static_cast<std::size_t>(n));
    return memErr;
}

OSErr PtrAndHand(const void* src, Handle h, Size n) {
    const Size old = GetHandleSize(h);
    if (memErr != noErr) return memErr;
    if (n < 0) return memErr = memFullErr;
    SetHandleSize(h, old + n);
    if (memErr == noErr && n > 0) std::memcpy(*h + old, src, static_cast<std::size_t>(n));
    return memErr;
}

void BlockMove(const void* src, void* dst, Size n) {
    if (n <= 0 || src == dst) return;
    std::memmove(dst, src, static_cast<std::size_t>(n));
}

OSErr MemError() {
    return memErr;
}

void PurgeSpace(Size* total, Size* contig) {
    memErr = noErr;
    const Size free = MaxBlock();
    if (total) *total = free;
    if (contig) *contig = free;
}

Size MaxBlock() {
    const std::size_t free = HeapFreeSpace();
    return free > 0x7FFFFFFF ? Size{0x7FFFFFFF} : static_cast<Size>(free);
}

Size FreeMem() {
    return MaxBlock();
}

Size CompactMem(Size) {
    memErr = noErr;
    RunRecovery();
    return MaxBlock();
}
