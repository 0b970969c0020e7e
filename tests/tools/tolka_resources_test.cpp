// The game's resource file as built: every resource the game asks for exists in French and in
// English where it must, strings hold the printf arguments the game passes, dialogs have the items
// the game fills, pictures and icons have the sizes the board draws them at and play, sounds convert.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

#include "toolkit/core/memory.h"
#include "toolkit/core/resource_format.h"
#include "toolkit/core/sound.h"
#include "toolkit/graphics/buffers.h"
#include "toolkit/graphics/pict_format.h"
#include "toolkit/graphics/pict_player.h"
#include "toolkit/graphics/quickdraw.h"
#include "tools/qiva-rsrc/cicn.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

ResType Type(const char* t) {
    return ResType(t[0] << 24 | t[1] << 16 | t[2] << 8 | t[3]);
}

class TolkaResources : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::ifstream in(TOLKA_RSR, std::ios::binary);
        ASSERT_TRUE(in) << TOLKA_RSR;
        const Bytes file((std::istreambuf_iterator<char>(in)), {});
        std::vector<qiva::Resource> list;
        std::string error;
        ASSERT_TRUE(qiva::ReadResourceFile(file, qiva::MapLayout::Scrambled, list, error)) << error;
        for (auto& r : list)
            resources()[{r.type, r.id}] = r.data;
    }
    static std::map<std::pair<ResType, int>, Bytes>& resources() {
        static std::map<std::pair<ResType, int>, Bytes> all;
        return all;
    }
    static const Bytes* Find(const char* type, int id) {
        const auto it = resources().find({Type(type), id});
        return it == resources().end() ? nullptr : &it->second;
    }
    static std::vector<std::string> Strings(int id) {
        std::vector<std::string> out;
        const Bytes* b = Find("STR#", id);
        if (!b || b->size() < 2) return out;
        const int count = (*b)[0] << 8 | (*b)[1];
        std::size_t pos = 2;
        for (int i = 0; i < count && pos < b->size(); ++i) {
            const std::size_t n = (*b)[pos];
            out.emplace_back(reinterpret_cast<const char*>(b->data() + pos + 1),
                             std::min(n, b->size() - pos - 1));
            pos += 1 + n;
        }
        return out;
    }
    static int ItemCount(int ditl) {
        const Bytes* b = Find("DITL", ditl);
        return b && b->size() >= 2 ? ((*b)[0] << 8 | (*b)[1]) + 1 : -1;
    }
    struct Item {
        int top, left, bottom, right, type;
        Bytes data;
    };
    static std::vector<Item> Items(int ditl) {
        std::vector<Item> out;
        const Bytes* b = Find("DITL", ditl);
        if (!b) return out;
        std::size_t pos = 2;
        auto s16 = [&](std::size_t at) { return std::int16_t((*b)[at] << 8 | (*b)[at + 1]); };
        for (int i = 0; i < ItemCount(ditl) && pos + 14 <= b->size(); ++i) {
            Item it{s16(pos + 4), s16(pos + 6), s16(pos + 8), s16(pos + 10), (*b)[pos + 12] & 0x7F, {}};
            const std::size_t n = (*b)[pos + 13];
            it.data.assign(b->begin() + pos + 14, b->begin() + std::min(b->size(), pos + 14 + n));
            out.push_back(it);
            pos += 14 + n + (n % 2);
        }
        return out;
    }
};

TEST_F(TolkaResources, EveryResourceTheGameAsksForExists) {
    const struct {
        const char* type;
        std::vector<int> ids;
        bool english; // also under the number plus 10000
    } wanted[] = {
        {"MBAR", {128}, true},
        {"MENU", {128, 129, 130}, true},
        {"ALRT", {128, 132, 1000, 1001, 1002}, true},
        {"ALRT", {133}, false},
        {"DLOG", {2000, 2002, 2003}, true},
        {"STR#", {100}, true},
        {"WIND", {128}, false},
        {"CURS", {4}, false},
        {"PICT", {0, 1, 2, 100, 101, 102, 128, 129, 130, 131, 132, 133, 134, 135}, false},
        {"cicn", {0, 1, 2, 3, 4, 5, 6, 7, 128, 131}, false},
        {"snd ", {2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 15, 16, 17, 20, 21, 22}, false},
    };
    for (const auto& w : wanted) {
        for (int id : w.ids) {
            EXPECT_TRUE(Find(w.type, id)) << w.type << " " << id;
            if (w.english) {
                EXPECT_TRUE(Find(w.type, id + 10000)) << w.type << " " << id + 10000;
            }
        }
    }
    for (int id : {128, 132, 133, 1000, 1001, 1002, 10128, 10132, 11000, 11001, 11002, 2000, 2002, 2003,
                   12000, 12002, 12003}) {
        EXPECT_GT(ItemCount(id), 0) << "DITL " << id;
    }
}

// Each string's printf conversions, in order: what the game passes to it.
TEST_F(TolkaResources, StringsTakeTheArgumentsTheGamePasses) {
    const std::map<int, std::string> conversions = {{3, "d"},  {4, "d"},   {9, "d"},
                                                    {11, "d"}, {12, "dd"}, {22, "dd"}};
    for (int id : {100, 10100}) {
        SCOPED_TRACE(id);
        const std::vector<std::string> s = Strings(id);
        ASSERT_EQ(s.size(), 32u);
        for (int i = 1; i <= 32; ++i) {
            std::string found;
            const std::string& text = s[i - 1];
            for (std::size_t p = 0; p < text.size(); ++p) {
                if (text[p] != '%') continue;
                ASSERT_LT(p + 1, text.size()) << "string " << i << " ends in %";
                if (text[p + 1] == '%') {
                    ++p;
                    continue;
                }
                found += text[p + 1];
                ++p;
            }
            const auto it = conversions.find(i);
            EXPECT_EQ(found, it == conversions.end() ? "" : it->second) << "string " << i << ": " << text;
            const bool unused = i >= 23 && i <= 26;
            EXPECT_EQ(text.empty(), unused) << "string " << i;
            EXPECT_LE(text.size(), 200u) << "string " << i;
        }
        // The pit hint is the beginning (5) followed by one ending, used as its own format.
        for (int end : {6, 7, 8, 31})
            EXPECT_LE(s[4].size() + s[end - 1].size(), 255u);
    }
}

TEST_F(TolkaResources, MenusHaveTheirItemsInBothLanguages) {
    const std::map<int, int> items = {{128, 3}, {129, 9}, {130, 11}};
    for (int lang : {0, 10000}) {
        const Bytes* bar = Find("MBAR", 128 + lang);
        ASSERT_TRUE(bar);
        ASSERT_EQ(bar->size(), 8u);
        for (const auto& [menu, count] : items) {
            SCOPED_TRACE(menu + lang);
            EXPECT_EQ((*bar)[2 + 2 * (menu - 128)] << 8 | (*bar)[3 + 2 * (menu - 128)], menu + lang);
            const Bytes* m = Find("MENU", menu + lang);
            ASSERT_TRUE(m);
            std::size_t pos = 14;
            pos += 1 + (*m)[pos]; // title
            int n = 0;
            while (pos < m->size() && (*m)[pos]) {
                pos += 1 + (*m)[pos] + 4;
                ++n;
            }
            EXPECT_EQ(n, count);
        }
    }
}

TEST_F(TolkaResources, DialogsHaveTheItemsTheGameFills) {
    for (int lang : {0, 10000}) {
        SCOPED_TRACE(lang);
        // Score sheet: button, then 82 text items 3-84 the game writes numbers and the result into.
        const auto sheet = Items(2000 + lang);
        ASSERT_GE(sheet.size(), 84u);
        EXPECT_EQ(sheet[0].type, 4);
        for (int i = 3; i <= 84; ++i)
            EXPECT_EQ(sheet[i - 1].type, 8) << "item " << i;
        // Summary: button, six seed rows and the result as user items.
        const auto summary = Items(2002 + lang);
        ASSERT_GE(summary.size(), 8u);
        EXPECT_EQ(summary[0].type, 4);
        for (int i = 2; i <= 8; ++i)
            EXPECT_EQ(summary[i - 1].type, 0) << "item " << i;
        // Who starts: cancel, text, and two 64 × 64 choices showing the closed fists.
        const auto draw = Items(2003 + lang);
        ASSERT_EQ(draw.size(), 4u);
        EXPECT_EQ(draw[0].type, 4);
        EXPECT_EQ(draw[1].type, 8);
        for (int i : {2, 3}) {
            EXPECT_EQ(draw[i].type, 64);
            EXPECT_EQ(draw[i].right - draw[i].left, 64);
            EXPECT_EQ(draw[i].bottom - draw[i].top, 64);
        }
        // The message and question alerts show ^0.
        for (int alert : {1001, 1002}) {
            bool shows = false;
            for (const Item& it : Items(alert + lang))
                if (it.type == 8 &&
                    std::string(it.data.begin(), it.data.end()).find("^0") != std::string::npos)
                    shows = true;
            EXPECT_TRUE(shows) << "ALRT " << alert + lang;
        }
        // Alerts answered by item 1: it is a button.
        for (int alert : {128, 132, 1000, 1001, 1002})
            EXPECT_EQ(Items(alert + lang)[0].type, 4) << alert + lang;
    }
    const auto language = Items(133);
    ASSERT_GE(language.size(), 2u);
    EXPECT_EQ(language[0].type, 4);
    EXPECT_EQ(language[1].type, 4);
}

TEST_F(TolkaResources, BoardWindowFitsTheDefaultScreen) {
    const Bytes* w = Find("WIND", 128);
    ASSERT_TRUE(w);
    auto s16 = [&](int at) { return std::int16_t((*w)[at] << 8 | (*w)[at + 1]); };
    EXPECT_EQ(s16(6) - s16(2), 640);
    EXPECT_EQ(s16(4) - s16(0), 400);
    EXPECT_GE(s16(0), 40); // room for the menu bar and the title bar
    EXPECT_LE(s16(4), 450);
}

TEST_F(TolkaResources, PicturesHaveTheirSizesAndPlay) {
    const std::map<int, std::pair<int, int>> sizes = {
        {0, {95, 95}},   {1, {20, 107}},  {2, {20, 107}},  {100, {64, 64}}, {101, {64, 20}},
        {102, {32, 32}}, {132, {64, 64}}, {133, {64, 64}}, {134, {64, 64}}, {135, {64, 64}},
    };
    auto frame = [&](int id) {
        qiva::pict::Header h;
        const Bytes* b = Find("PICT", id);
        EXPECT_TRUE(b && qiva::pict::ReadHeader(*b, h) == qiva::pict::Status::Ok) << "PICT " << id;
        return std::pair<int, int>(h.frame.right - h.frame.left, h.frame.bottom - h.frame.top);
    };
    for (const auto& [id, size] : sizes)
        EXPECT_EQ(frame(id), size) << "PICT " << id;
    // Each hand and its mask are the same size; the hands reach the pit centres from their offsets.
    EXPECT_EQ(frame(128), frame(129));
    EXPECT_EQ(frame(130), frame(131));
    EXPECT_GE(frame(128).second, 180);
    EXPECT_GE(frame(130).second, 204);
    // The logo sits above the bottom edge of the window when drawn with its bottom at 376.
    EXPECT_LE(frame(134).second, 376 - 318 + 16);

    qiva::SetScreenSize(128, 256);
    InitGraf(nullptr);
    for (const auto& [key, data] : resources()) {
        if (key.first != Type("PICT")) continue;
        SCOPED_TRACE(key.second);
        GrafPort port{};
        ASSERT_TRUE(NewBufferPort(&port, 128, 256));
        Handle h = nullptr;
        ASSERT_EQ(PtrToHand(data.data(), &h, static_cast<Size>(data.size())), noErr);
        EXPECT_EQ(qiva::PlayPicture(reinterpret_cast<PicHandle>(h), port.portRect), qiva::pict::Status::Ok);
        DisposeHandle(h);
        DisposeBufferPort(&port);
    }
    qiva::CloseGraphics();
}

TEST_F(TolkaResources, IconsAreSeedSizedWithAShape) {
    const std::map<int, int> sizes = {{0, 32}, {1, 32}, {2, 32}, {3, 32},   {4, 32},
                                      {5, 32}, {6, 32}, {7, 32}, {128, 32}, {131, 8}};
    for (const auto& [id, size] : sizes) {
        SCOPED_TRACE(id);
        const Bytes* b = Find("cicn", id);
        ASSERT_TRUE(b);
        qiva_pict::RgbaImage image;
        std::string error;
        ASSERT_TRUE(qiva_rsrc::ImageFromCicn(*b, image, error)) << error;
        EXPECT_EQ(image.width, size);
        EXPECT_EQ(image.height, size);
        int opaque = 0;
        for (std::size_t i = 3; i < image.rgba.size(); i += 4)
            opaque += image.rgba[i] ? 1 : 0;
        // A seed covers a good part of its square but leaves its corners clear.
        EXPECT_GT(opaque, size * size / 4);
        EXPECT_EQ(image.rgba[3], 0);
    }
}

TEST_F(TolkaResources, SoundsConvertToShortWaves) {
    for (const auto& [key, data] : resources()) {
        if (key.first != Type("snd ")) continue;
        SCOPED_TRACE(key.second);
        Bytes wave;
        ASSERT_EQ(qiva::SndToWave(data.data(), data.size(), wave), 0);
        ASSERT_GT(wave.size(), 44u);
        const std::size_t samples = wave.size() - 44;
        EXPECT_LT(samples, 22050u * 3); // no sound holds the game up for long
        // 8-bit samples: silent (the midpoint) at both ends, no clipping, peaks near -3 dBFS.
        EXPECT_NEAR(wave[44], 128, 1);
        EXPECT_NEAR(wave.back(), 128, 1);
        int peak = 0;
        for (std::size_t i = 44; i < wave.size(); ++i)
            peak = std::max(peak, std::abs(int(wave[i]) - 128));
        EXPECT_LT(peak, 127);
        EXPECT_GT(peak, 55);
    }
}

} // namespace
