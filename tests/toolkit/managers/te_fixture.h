#pragma once
// A started graphics layer with a buffer port in a monospaced TrueType face (Liberation Mono, 12
// points), where TextEdit records are made; the helpers read a record as plain values.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/core/events.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/tick_count.h"
#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/present.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/managers/scrap.h"
#include "toolkit/managers/textedit.h"

class TextEditTest : public ::testing::Test {
public:
    static constexpr int kW = 240, kH = 120;
    static inline std::uint32_t ticks = 1000;
    qiva::HeadlessPresent window;
    GrafPort port{};

    void SetUp() override {
        qiva::SetScreenSize(kW, kH);
        qiva::SetHighlightSetting(0, 0, 0);
        qiva::SetPresentSink(&window);
        InitGraf(nullptr);
        qiva::SetFontesLookup(
            [](std::string_view face) { return std::string(face == "Liberation Mono" ? "E300" : "0"); });
        ASSERT_TRUE(NewBufferPort(&port, kW, kH));
        TextFont(22);
        TextSize(12);
        const Rect all{0, 0, kH, kW};
        EraseRect(&all);
        ticks = 1000;
        qiva::SetTickSource([] { return ticks; });
        qiva::ResetScrap();
        qiva::SetTEOverwrite(false);
        width = CharWidth('a');
        ASSERT_GT(width, 0);
    }
    void TearDown() override {
        while (qiva::TERecordCount() > 0)
            TEDispose(qiva::TERecordAt(0));
        qiva::ResetScrap();
        qiva::SetTickSource(nullptr);
        DisposeBufferPort(&port);
        qiva::SetFontesLookup(nullptr);
        qiva::CloseGraphics();
        qiva::SetPresentSink(nullptr);
        qiva::SetScreenSize(640, 400);
    }

    // A record `columns` characters wide (plus a pixel), shown `rows` lines high, at (10, 10).
    TEHandle Make(int columns, int rows, const std::string& text = "") {
        const Rect r{10, 10, static_cast<std::int16_t>(10 + rows * LineHeight()),
                     static_cast<std::int16_t>(10 + columns * width + 1)};
        TEHandle te = TENew(&r, &r);
        EXPECT_NE(te, nullptr);
        if (!text.empty()) TESetText(text.data(), static_cast<std::int32_t>(text.size()), te);
        return te;
    }
    static int LineHeight() {
        FontInfo info{};
        GetFontInfo(&info);
        return info.ascent + info.descent + info.leading;
    }
    static std::string TextOf(TEHandle te) { return std::string(*(*te)->hText, (*te)->teLength); }
    static std::vector<int> StartsOf(TEHandle te) {
        return std::vector<int>((*te)->lineStarts, (*te)->lineStarts + (*te)->nLines + 1);
    }
    static void Type(TEHandle te, const std::string& keys) {
        for (const char c : keys)
            TEKey(static_cast<std::uint8_t>(c), te);
    }
    static std::uint8_t Pixel(int h, int v) { return qiva::GetPixelIndex(qiva::Drawing().target, h, v); }
    // Pixels in the foreground colour within r.
    int InkIn(const Rect& r) const {
        int n = 0;
        for (int v = r.top; v < r.bottom; ++v)
            for (int h = r.left; h < r.right; ++h)
                n += Pixel(h, v) == static_cast<std::uint8_t>(port.fgIndex);
        return n;
    }

    int width = 0;
};
