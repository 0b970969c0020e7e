#pragma once
// The Memory Manager: non-relocatable blocks (Ptr) and relocatable blocks reached through a master
// pointer record (Handle; *h is the data, null while the handle is empty). Records never move while
// they exist, so a handle stays valid for its block's whole life even when resizing moves the data.
// No call throws: each leaves its result in MemError().

#include <cstddef>
#include <cstdint>

#include "toolkit/core/mac_types.h"

constexpr OSErr memFullErr = -108;   // the heap cannot supply the block, even after recovery
constexpr OSErr nilHandleErr = -109; // a null handle was passed
constexpr OSErr memAdrErr = -110;    // the data is set aside or in the extended store
constexpr OSErr memWZErr = -111;     // not a handle in use (disposed, or no record at all)
constexpr OSErr memAZErr = -113;     // no extended store accepted the data
constexpr OSErr memPCErr = -114;     // the extended store failed to read or write
constexpr OSErr memLockedErr = -117; // resizing a locked handle, locking twice, unlocking twice

// Non-relocatable blocks.
Ptr NewPtr(Size size); // contents not cleared; size 0 gives null with noErr
Ptr NewPtrClear(Size size);
void DisposePtr(Ptr p);
Size GetPtrSize(Ptr p);
void SetPtrSize(Ptr p, Size size); // a pointer block never moves: growing past its room fails with memFullErr

// Relocatable blocks.
Handle NewHandle(Size size); // size 0 gives a valid empty handle
Handle NewHandleClear(Size size);
void DisposeHandle(Handle h);
Size GetHandleSize(Handle h);
void SetHandleSize(Handle h, Size size); // contents kept up to the smaller size
Handle RecoverHandle(Ptr p);
void EmptyHandle(Handle h);                 // frees the data; the handle stays valid and empty
void ReallocateHandle(Handle h, Size size); // new data of that size, contents not kept
void HLock(Handle h);                       // locks do not nest: a second HLock fails
void HUnlock(Handle h);
void HPurge(Handle h); // this heap never purges: both only check the handle
void HNoPurge(Handle h);
SignedByte HGetState(Handle h); // 0x80 locked, 0x40 set aside, 0x01 in the extended store
void HSetState(Handle h, SignedByte state);

// Copies between pointers and handles; each returns MemError().
OSErr HandToHand(Handle* h);                         // *h becomes a new handle holding a copy of its data
OSErr PtrToHand(const void* src, Handle* h, Size n); // a new handle holding n bytes
OSErr PtrToXHand(const void* src, Handle h, Size n); // h resized to n bytes and filled
OSErr HandAndHand(Handle src, Handle dst);           // appends src's data to dst
OSErr PtrAndHand(const void* src, Handle h, Size n); // appends n bytes to h

void BlockMove(const void* src, void* dst, Size n); // overlap-safe
OSErr MemError();

// Heap statistics: free space within the heap's limit; see qiva::SetHeapLimit.
void PurgeSpace(Size* total, Size* contig);
Size MaxBlock();
Size FreeMem();
Size CompactMem(Size needed); // runs the recovery sequence, returns the largest free block

namespace qiva {

// Master pointer record, in its classic field order.
struct MasterPointer {
    Ptr data;           // the data; while the record is free, the next free record
    std::uint32_t size; // the size GetHandleSize reports
    std::uint8_t flags; // kRecordInUse, kLocked, kSetAside, kInExtendedStore, kVisited
    std::uint8_t spare;
    void* link; // while free: the previous free record; while set aside: the data's address
};

inline constexpr std::uint8_t kRecordInUse = 0x80;
inline constexpr std::uint8_t kLocked = 0x01;
inline constexpr std::uint8_t kSetAside = 0x02;
inline constexpr std::uint8_t kInExtendedStore = 0x04;
inline constexpr std::uint8_t kVisited = 0x40;

// The record behind a handle (which must be a handle in use).
inline MasterPointer& RecordOf(Handle h) {
    return *reinterpret_cast<MasterPointer*>(h);
}

// The heap is the C library's allocator under a limit of the toolkit's own, so that running out of
// memory is a real, testable state. Every block counts with its size rounded up to 16 bytes.
inline constexpr std::size_t kDefaultHeapLimit = std::size_t{256} << 20;
void SetHeapLimit(std::size_t bytes);
std::size_t HeapLimit();
std::size_t HeapBytesInUse();

// Sets the data of an unlocked handle aside: the data pointer becomes null and the address is kept in
// the record, as the extended store would do before moving the data out. This build has no extended
// store, so moving out always fails with memAZErr and the data stays set aside in memory.
OSErr SetHandleAside(Handle h);

// Data that can be had again (resources that their files still hold) is freed by the recovery sequence
// before an allocation fails: the layer that keeps such data registers its releaser here. Registering a
// releaser again keeps one; at most eight are kept.
using MemoryReleaser = void (*)();
void AddMemoryReleaser(MemoryReleaser release);

// Record counts of the master pointer blocks, in chain order (tests and diagnostics).
int MasterPointerBlockCount();
int MasterPointerBlockRecords(int index);

} // namespace qiva
