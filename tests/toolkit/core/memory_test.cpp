#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/core/error_box.h"
#include "toolkit/core/memory.h"

namespace {

class MemoryTest : public ::testing::Test {
protected:
    void SetUp() override { qiva::ClearErrorBoxHistory(); }
    void TearDown() override {
        qiva::SetHeapLimit(qiva::kDefaultHeapLimit);
        qiva::ClearErrorBoxHistory();
    }

    // A handle holding the given text (without its terminating zero).
    static Handle HandleWith(const std::string& text) {
        Handle h = nullptr;
        EXPECT_EQ(PtrToHand(text.data(), &h, static_cast<Size>(text.size())), noErr);
        return h;
    }
    static std::string TextOf(Handle h) {
        return *h ? std::string(*h, static_cast<std::size_t>(GetHandleSize(h))) : std::string();
    }
    // Leaves exactly `bytes` of the heap free.
    static void LeaveFree(std::size_t bytes) { qiva::SetHeapLimit(qiva::HeapBytesInUse() + bytes); }
};

TEST_F(MemoryTest, PointersOfSizeZeroAndOfSomeSize) {
    EXPECT_EQ(NewPtr(0), nullptr);
    EXPECT_EQ(MemError(), noErr);

    Ptr p = NewPtrClear(100);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(GetPtrSize(p), 100);
    EXPECT_EQ(std::count(p, p + 100, 0), 100);

    SetPtrSize(p, 40); // shrinking stays in place
    EXPECT_EQ(MemError(), noErr);
    EXPECT_EQ(GetPtrSize(p), 40);
    SetPtrSize(p, 1 << 20); // a pointer block cannot move to grow
    EXPECT_EQ(MemError(), memFullErr);
    EXPECT_EQ(GetPtrSize(p), 40);

    DisposePtr(p);
    EXPECT_EQ(MemError(), noErr);
    DisposePtr(nullptr);
    EXPECT_EQ(MemError(), noErr);
}

TEST_F(MemoryTest, DisposingAPointerThatIsNotABlockFreesNothing) {
    char local[16];
    const std::size_t before = qiva::HeapBytesInUse();
    DisposePtr(local);
    EXPECT_EQ(MemError(), memWZErr);
    EXPECT_EQ(GetPtrSize(local), 0);
    EXPECT_EQ(MemError(), memWZErr);
    EXPECT_EQ(qiva::HeapBytesInUse(), before);
}

TEST_F(MemoryTest, EmptyHandleGrowsAndShrinksBackToEmpty) {
    Handle h = NewHandle(0);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(MemError(), noErr);
    EXPECT_EQ(*h, nullptr);
    EXPECT_EQ(GetHandleSize(h), 0);
    EXPECT_EQ(qiva::RecordOf(h).flags, qiva::kRecordInUse);

    SetHandleSize(h, 5);
    ASSERT_EQ(MemError(), noErr);
    ASSERT_NE(*h, nullptr);
    std::memcpy(*h, "abcde", 5);
    SetHandleSize(h, 5000); // probably moves; contents come along
    ASSERT_EQ(MemError(), noErr);
    EXPECT_EQ(std::string(*h, 5), "abcde");
    SetHandleSize(h, 3);
    EXPECT_EQ(TextOf(h), "abc");

    SetHandleSize(h, 0);
    EXPECT_EQ(MemError(), noErr);
    EXPECT_EQ(*h, nullptr);
    EXPECT_EQ(GetHandleSize(h), 0);
    DisposeHandle(h);
    EXPECT_EQ(MemError(), noErr);
}

// Every handle call refuses a null handle, a disposed one and an address that is no record.
TEST_F(MemoryTest, BadHandlesAreRefusedByEveryCall) {
    Handle disposed = NewHandle(8);
    DisposeHandle(disposed);
    char* notARecord[4] = {};
    const std::vector<std::pair<const char*, std::function<void(Handle)>>> calls = {
        {"GetHandleSize", [](Handle h) { EXPECT_EQ(GetHandleSize(h), 0); }},
        {"SetHandleSize", [](Handle h) { SetHandleSize(h, 10); }},
        {"DisposeHandle", [](Handle h) { DisposeHandle(h); }},
        {"HLock", [](Handle h) { HLock(h); }},
        {"HUnlock", [](Handle h) { HUnlock(h); }},
        {"HPurge", [](Handle h) { HPurge(h); }},
        {"HGetState", [](Handle h) { EXPECT_EQ(HGetState(h), 0); }},
        {"HSetState", [](Handle h) { HSetState(h, static_cast<SignedByte>(0x80)); }},
        {"EmptyHandle", [](Handle h) { EmptyHandle(h); }},
        {"ReallocateHandle", [](Handle h) { ReallocateHandle(h, 10); }},
        {"HandToHand", [](Handle h) { HandToHand(&h); }},
        {"PtrAndHand", [](Handle h) { PtrAndHand("x", h, 1); }},
    };
    for (const auto& [name, call] : calls) {
        call(nullptr);
        EXPECT_EQ(MemError(), nilHandleErr) << name;
        call(disposed);
        EXPECT_EQ(MemError(), memWZErr) << name << " on a disposed handle";
        call(notARecord);
        EXPECT_EQ(MemError(), memWZErr) << name << " on an address that is no record";
    }
    EXPECT_EQ(notARecord[0], nullptr);
}

TEST_F(MemoryTest, DisposingTwiceChangesNothingAndRecordsAreReusedNewestFirst) {
    Handle a = NewHandle(4);
    Handle b = NewHandle(4);
    DisposeHandle(a);
    DisposeHandle(b);
    DisposeHandle(b);
    EXPECT_EQ(MemError(), memWZErr);
    // b went on its block's free list last, so it comes back first, then a: the second dispose
    // did not push b twice.
    Handle c = NewHandle(0);
    Handle d = NewHandle(0);
    Handle e = NewHandle(0);
    EXPECT_EQ(c, b);
    EXPECT_EQ(d, a);
    EXPECT_NE(e, b);
    for (Handle h : {c, d, e})
        DisposeHandle(h);
}

TEST_F(MemoryTest, LocksDoNotNestAndALockedHandleKeepsItsSize) {
    Handle h = HandleWith("locked");
    HLock(h);
    EXPECT_EQ(MemError(), noErr);
    HLock(h);
    EXPECT_EQ(MemError(), memLockedErr);

    const Ptr data = *h;
    for (Size size : {0, 3, 6000}) {
        SetHandleSize(h, size);
        EXPECT_EQ(MemError(), memLockedErr) << size;
    }
    EmptyHandle(h);
    EXPECT_EQ(MemError(), memLockedErr);
    ReallocateHandle(h, 20);
    EXPECT_EQ(MemError(), memLockedErr);
    EXPECT_EQ(*h, data);
    EXPECT_EQ(TextOf(h), "locked");

    HUnlock(h);
    EXPECT_EQ(MemError(), noErr);
    HUnlock(h);
    EXPECT_EQ(MemError(), memLockedErr);
    SetHandleSize(h, 3);
    EXPECT_EQ(MemError(), noErr);

    HLock(h);
    DisposeHandle(h); // a locked handle is unlocked and disposed
    EXPECT_EQ(MemError(), noErr);
}

// Callers save the state, lock, use, and restore: the restore puts the lock back as it was, so
// nested pairs work and the handle can be resized afterwards.
TEST_F(MemoryTest, SaveLockRestorePairsRestoreTheLock) {
    Handle h = HandleWith("pair");
    const SignedByte outer = HGetState(h);
    EXPECT_EQ(outer, 0);
    HLock(h);
    const SignedByte inner = HGetState(h);
    EXPECT_EQ(static_cast<Byte>(inner), 0x80);
    HLock(h); // the inner user's lock fails harmlessly
    HSetState(h, inner);
    EXPECT_EQ(static_cast<Byte>(HGetState(h)), 0x80);
    HSetState(h, outer);
    EXPECT_EQ(MemError(), noErr);
    EXPECT_EQ(HGetState(h), 0);
    SetHandleSize(h, 10);
    EXPECT_EQ(MemError(), noErr);
    DisposeHandle(h);
}

TEST_F(MemoryTest, SetAsideDataRefusesUseUntilBroughtBack) {
    Handle h = HandleWith("aside");
    ASSERT_EQ(qiva::SetHandleAside(h), noErr);
    EXPECT_EQ(*h, nullptr);
    EXPECT_EQ(static_cast<Byte>(HGetState(h)), 0x40);
    EXPECT_EQ(GetHandleSize(h), 5);

    HLock(h);
    EXPECT_EQ(MemError(), memAdrErr);
    SetHandleSize(h, 1);
    EXPECT_EQ(MemError(), memAdrErr);
    HPurge(h);
    EXPECT_EQ(MemError(), memAdrErr);
    HSetState(h, 0x01); // no extended store takes it: it stays aside in memory
    EXPECT_EQ(MemError(), memAZErr);
    EXPECT_EQ(static_cast<Byte>(HGetState(h)), 0x40);

    HSetState(h, 0);
    EXPECT_EQ(MemError(), noErr);
    EXPECT_EQ(TextOf(h), "aside");

    ASSERT_EQ(qiva::SetHandleAside(h), noErr);
    const std::size_t before = qiva::HeapBytesInUse();
    DisposeHandle(h); // frees the data from where it was set aside
    EXPECT_EQ(MemError(), noErr);
    EXPECT_LT(qiva::HeapBytesInUse(), before);
}

TEST_F(MemoryTest, TheFirstBlockHolds512RecordsAndLaterOnes32) {
    CompactMem(0);
    ASSERT_EQ(qiva::MasterPointerBlockCount(), 0) << "a test left a handle behind";
    std::vector<Handle> handles;
    for (int i = 0; i < 512; ++i)
        handles.push_back(NewHandle(0));
    EXPECT_EQ(qiva::MasterPointerBlockCount(), 1);
    EXPECT_EQ(qiva::MasterPointerBlockRecords(0), 512);
    handles.push_back(NewHandle(0));
    ASSERT_EQ(qiva::MasterPointerBlockCount(), 2);
    EXPECT_EQ(qiva::MasterPointerBlockRecords(1), 32);

    // The 513th handle is the only one in the second block; once it goes, recovery frees that block.
    DisposeHandle(handles.back());
    handles.pop_back();
    EXPECT_EQ(qiva::MasterPointerBlockCount(), 2);
    CompactMem(0);
    EXPECT_EQ(qiva::MasterPointerBlockCount(), 1);
    for (Handle h : handles)
        DisposeHandle(h);
    CompactMem(0);
    EXPECT_EQ(qiva::MasterPointerBlockCount(), 0);
}

TEST_F(MemoryTest, RunningOutOfMemory) {
    Handle h = HandleWith("kept");
    const Ptr data = *h;
    LeaveFree(64);

    EXPECT_EQ(NewPtr(1000), nullptr);
    EXPECT_EQ(MemError(), memFullErr);
    EXPECT_EQ(NewHandle(1000), nullptr);
    EXPECT_EQ(MemError(), memFullErr);
    EXPECT_EQ(qiva::ErrorBoxHistory(),
              std::vector<std::string>(2, "NewPtr: plus de place memoire")); // once per failed call

    SetHandleSize(h, 1000); // fails silently and keeps the handle as it was
    EXPECT_EQ(MemError(), memFullErr);
    EXPECT_EQ(*h, data);
    EXPECT_EQ(TextOf(h), "kept");
    EXPECT_EQ(qiva::ErrorBoxHistory().size(), 2u);

    ReallocateHandle(h, 1000);
    EXPECT_EQ(MemError(), memFullErr);
    EXPECT_EQ(TextOf(h), "kept");
    EXPECT_NE(PtrAndHand("0123456789", h, 1000), noErr);
    EXPECT_EQ(TextOf(h), "kept");

    qiva::SetHeapLimit(qiva::kDefaultHeapLimit);
    DisposeHandle(h);
}

TEST_F(MemoryTest, RecoveryReleasesEmptyMasterPointerBlocksToMakeRoom) {
    CompactMem(0);
    ASSERT_EQ(qiva::MasterPointerBlockCount(), 0);
    DisposeHandle(NewHandle(0)); // leaves one empty block of 512 records
    ASSERT_EQ(qiva::MasterPointerBlockCount(), 1);
    LeaveFree(1024);
    // Only the empty block's room makes this fit: the first try fails, recovery frees the block,
    // the second try succeeds.
    Ptr p = NewPtr(4096);
    EXPECT_NE(p, nullptr);
    EXPECT_EQ(MemError(), noErr);
    EXPECT_EQ(qiva::MasterPointerBlockCount(), 0);
    EXPECT_TRUE(qiva::ErrorBoxHistory().empty());
    DisposePtr(p);
}

TEST_F(MemoryTest, FreeSpaceIsTheRoomLeftUnderTheLimit) {
    LeaveFree(100000);
    Size total = 0, contig = 0;
    PurgeSpace(&total, &contig);
    EXPECT_EQ(total, 100000);
    EXPECT_EQ(contig, 100000);
    Ptr p = NewPtr(1000); // charged with its size rounded up to 16 bytes
    EXPECT_EQ(MaxBlock(), 100000 - 1008);
    EXPECT_EQ(CompactMem(0), 100000 - 1008);
    DisposePtr(p);
    EXPECT_EQ(FreeMem(), 100000);
}

TEST_F(MemoryTest, RecoverHandleFindsOnlyTheStartOfHandleData) {
    Handle h = HandleWith("recover");
    Handle empty = NewHandle(0);
    EXPECT_EQ(RecoverHandle(*h), h);
    EXPECT_EQ(RecoverHandle(*h + 1), nullptr);
    EXPECT_EQ(RecoverHandle(nullptr), nullptr); // not the empty handle's null data
    EXPECT_EQ(MemError(), noErr);
    DisposeHandle(h);
    DisposeHandle(empty);
}

TEST_F(MemoryTest, CopiesBetweenPointersAndHandles) {
    Handle h = HandleWith("ab");
    EXPECT_EQ(PtrAndHand("cd", h, 2), noErr);
    EXPECT_EQ(TextOf(h), "abcd");
    EXPECT_EQ(HandAndHand(h, h), noErr); // appending a handle to itself
    EXPECT_EQ(TextOf(h), "abcdabcd");
    EXPECT_EQ(PtrToXHand("xyz", h, 3), noErr);
    EXPECT_EQ(TextOf(h), "xyz");

    Handle copy = h;
    EXPECT_EQ(HandToHand(&copy), noErr);
    EXPECT_NE(copy, h);
    EXPECT_EQ(TextOf(copy), "xyz");
    Handle other = HandleWith("12");
    EXPECT_EQ(HandAndHand(other, copy), noErr);
    EXPECT_EQ(TextOf(copy), "xyz12");

    Handle empty = NewHandle(0);
    Handle emptyCopy = empty;
    EXPECT_EQ(HandToHand(&emptyCopy), noErr);
    EXPECT_EQ(GetHandleSize(emptyCopy), 0);

    for (Handle x : {h, copy, other, empty, emptyCopy})
        DisposeHandle(x);
}

TEST_F(MemoryTest, BlockMoveCopiesOverlappingRangesBothWays) {
    char up[] = "abcdef";
    BlockMove(up, up + 2, 4);
    EXPECT_STREQ(up, "ababcd");
    char down[] = "abcdef";
    BlockMove(down + 2, down, 4);
    EXPECT_STREQ(down, "cdefef");
    BlockMove(down, nullptr, 0); // nothing to do
}

TEST_F(MemoryTest, EmptyAndReallocateKeepTheHandle) {
    Handle h = HandleWith("gone");
    EmptyHandle(h);
    EXPECT_EQ(MemError(), noErr);
    EXPECT_EQ(*h, nullptr);
    EXPECT_EQ(GetHandleSize(h), 0);
    ReallocateHandle(h, 12);
    EXPECT_EQ(MemError(), noErr);
    EXPECT_NE(*h, nullptr);
    EXPECT_EQ(GetHandleSize(h), 12);
    DisposeHandle(h);
}

} // namespace
