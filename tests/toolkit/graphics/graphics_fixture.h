#pragma once
// A started graphics layer on a small screen whose flushes land in a headless window.

#include <gtest/gtest.h>

#include "toolkit/graphics/drawing_state.h"
#include "toolkit/graphics/present.h"
#include "toolkit/graphics/quickdraw.h"

class GraphicsTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 40, kHeight = 30;
    qiva::HeadlessPresent window;

    void SetUp() override {
        qiva::SetScreenSize(kWidth, kHeight);
        qiva::SetHighlightSetting(0, 0, 0);
        qiva::SetPresentSink(&window);
        InitGraf(nullptr);
    }
    void TearDown() override {
        qiva::CloseGraphics();
        qiva::SetPresentSink(nullptr);
        qiva::SetScreenSize(640, 400);
    }

    // The palette index of a buffer pixel of the current port's buffer.
    static std::uint8_t Pixel(int h, int v) { return qiva::GetPixelIndex(qiva::Drawing().target, h, v); }
    static Rect R(int left, int top, int right, int bottom) {
        Rect r;
        SetRect(&r, left, top, right, bottom);
        return r;
    }
    // Rows of the current buffer as characters: '#' for index `on`, '.' otherwise.
    static std::vector<std::string> Rows(int width, int height, std::uint8_t on) {
        std::vector<std::string> rows;
        for (int v = 0; v < height; ++v) {
            std::string row;
            for (int h = 0; h < width; ++h)
                row += Pixel(h, v) == on ? '#' : '.';
            rows.push_back(row);
        }
        return rows;
    }
};
