// The redraw pass draws only what becomes visible; what it draws matches a full redraw.

#include <vector>

#include "tests/toolkit/windows/windows_fixture.h"

namespace {

WindowPtr const kFront = reinterpret_cast<WindowPtr>(-1);

// Every screen pixel the rasterizer's span fill writes, counted once.
class PixelWatch {
public:
    PixelWatch() {
        self = this;
        saved_ = qiva::Drawing().procs;
        qiva::Drawing().procs.spanFill = &Fill;
        written.assign(static_cast<std::size_t>(WindowsTest::kWidth) * WindowsTest::kHeight, false);
    }
    ~PixelWatch() {
        qiva::Drawing().procs = saved_;
        self = nullptr;
    }
    int Count() const {
        int n = 0;
        for (bool b : written)
            n += b;
        return n;
    }
    bool At(int h, int v) const { return written[static_cast<std::size_t>(v) * WindowsTest::kWidth + h]; }
    std::vector<bool> written;

private:
    static void Fill(int left, int top, int right, int bottom, int rowOrigin, int colOrigin) {
        if (qiva::Drawing().targetIsScreen)
            for (int v = top; v <= bottom; ++v)
                for (int h = left; h <= right; ++h)
                    self->written[static_cast<std::size_t>(v) * WindowsTest::kWidth + h] = true;
        self->saved_.spanFill(left, top, right, bottom, rowOrigin, colOrigin);
    }
    static inline PixelWatch* self = nullptr;
    qiva::RasterProcs saved_;
};

class RedrawTest : public WindowsTest {
protected:
    WindowPtr Doc(int left, int top, int right, int bottom, const char* title, std::int16_t colour) {
        const Rect r = R(left, top, right, bottom);
        WindowPtr w = NewWindow(nullptr, &r, title, true, documentProc, kFront, true, 0);
        qiva::SetWindowContentColor(w, colour);
        return w;
    }
    // Answers every update event by painting the content in a colour of its own.
    static void ServeUpdates() {
        EventRecord e;
        while (GetNextEvent(updateMask, &e)) {
            WindowPtr w = reinterpret_cast<WindowPtr>(e.message);
            GrafPtr saved;
            GetPort(&saved);
            SetPort(w);
            BeginUpdate(w);
            ForeColor(qiva::Peek(w)->refCon ? qiva::Peek(w)->refCon : blueColor);
            const Rect band = R(5, 5, 25, 15);
            PaintRect(&band);
            EndUpdate(w);
            SetPort(saved);
        }
    }
};

TEST_F(RedrawTest, MovingAWindowDrawsOnlyWhatItUncovers) {
    WindowPtr w = Doc(40, 60, 140, 130, "", yellowColor);
    ServeUpdates();
    const Rect before = (*qiva::Peek(w)->strucRgn)->rgnBBox;
    struct Move {
        int dh, dv;
    } moves[] = {{3, 0}, {0, 2}, {-4, 3}, {2, -5}};
    for (const Move& m : moves) {
        const Rect old = (*qiva::Peek(w)->strucRgn)->rgnBBox;
        PixelWatch watch;
        const Rect c = qiva::GlobalContentRect(qiva::Peek(w));
        MoveWindow(w, static_cast<std::int16_t>(c.left + m.dh), static_cast<std::int16_t>(c.top + m.dv),
                   false);
        const Rect now = (*qiva::Peek(w)->strucRgn)->rgnBBox;
        // Exactly the pixels of the old structure that the new one does not cover are drawn (the
        // desktop); the window's own pixels travel with it.
        int expected = 0;
        for (int v = 0; v < kHeight; ++v)
            for (int h = 0; h < kWidth; ++h) {
                const bool inOld = h >= old.left && h < old.right && v >= old.top && v < old.bottom;
                const bool inNew = h >= now.left && h < now.right && v >= now.top && v < now.bottom;
                const bool shouldDraw = inOld && !inNew;
                expected += shouldDraw;
                ASSERT_EQ(watch.At(h, v), shouldDraw) << m.dh << "," << m.dv << " at " << h << "," << v;
            }
        EXPECT_EQ(watch.Count(), expected);
        EXPECT_LT(expected, 8 * (old.right - old.left + old.bottom - old.top));
    }
    // The window moved by (1, 0) in all.
    EXPECT_EQ((*qiva::Peek(w)->strucRgn)->rgnBBox.left, before.left + 1);
    EXPECT_TRUE(EmptyRgn(qiva::Peek(w)->updateRgn));
}

TEST_F(RedrawTest, ScreenAfterMovesMatchesAFullRedraw) {
    WindowPtr a = Doc(20, 40, 120, 120, "", yellowColor);
    SetWRefCon(a, redColor);
    WindowPtr b = Doc(70, 70, 190, 160, "", cyanColor);
    SetWRefCon(b, greenColor);
    WindowPtr c = Doc(100, 30, 200, 90, "", magentaColor);
    ServeUpdates();
    const Rect moves[] = {R(25, 45, 0, 0), R(60, 50, 0, 0), R(10, 100, 0, 0), R(150, 20, 0, 0)};
    WindowPtr order[] = {a, b, a, c};
    for (int i = 0; i < 4; ++i) {
        MoveWindow(order[i], moves[i].left, moves[i].top, false);
        ServeUpdates();
    }
    SelectWindow(a);
    ServeUpdates();
    const std::vector<std::uint8_t> incremental = Screen();
    qiva::RedrawAll();
    ServeUpdates();
    EXPECT_TRUE(Screen() == incremental) << Differences(Screen(), incremental);
}

TEST_F(RedrawTest, UncoveringMakesOnlyTheCoveredPartAnUpdate) {
    WindowPtr back = Doc(20, 40, 120, 120, "", yellowColor);
    WindowPtr front = Doc(80, 60, 200, 150, "", cyanColor);
    ServeUpdates();
    PixelWatch watch;
    SelectWindow(back);
    // Front's structure covered back's content from (76, 37) on.
    const Rect update = (*qiva::Peek(back)->updateRgn)->rgnBBox;
    EXPECT_EQ(update.left, 76);
    EXPECT_EQ(update.top, 40);
    EXPECT_EQ(update.right, 120);
    EXPECT_EQ(update.bottom, 120);
    EXPECT_TRUE(EmptyRgn(qiva::Peek(front)->updateRgn));
    // Nothing was drawn but back's structure and front's frame (which lost its highlight).
    for (int v = 0; v < kHeight; ++v)
        for (int h = 0; h < kWidth; ++h)
            if (watch.At(h, v)) {
                const bool inBack = PtInRgn(P(h, v), qiva::Peek(back)->strucRgn);
                const bool inFrontFrame = PtInRgn(P(h, v), qiva::Peek(front)->strucRgn) &&
                                          !PtInRgn(P(h, v), qiva::Peek(front)->contRgn);
                ASSERT_TRUE(inBack || inFrontFrame) << h << "," << v;
            }
}

TEST_F(RedrawTest, HidingAndClosingRepaintWhatWasBehind) {
    const std::vector<std::uint8_t> empty = Screen();
    WindowPtr a = Doc(20, 40, 120, 120, "", yellowColor);
    WindowPtr b = Doc(60, 60, 200, 170, "", cyanColor);
    ServeUpdates();
    HideWindow(b);
    ServeUpdates();
    CloseWindow(a);
    EXPECT_EQ(Screen(), empty);
    ShowWindow(b);
    ServeUpdates();
    EXPECT_NE(Screen(), empty);
    DisposeWindow(b);
    EXPECT_EQ(Screen(), empty);
}

TEST_F(RedrawTest, SizeWindowKeepsTheContentThatStays) {
    WindowPtr w = Doc(30, 50, 130, 130, "", yellowColor);
    ServeUpdates();
    EXPECT_EQ(ScreenPixel(40, 60), static_cast<std::uint8_t>(w->fgIndex)); // the band drawn in update
    SizeWindow(w, 150, 100, true);
    // Only the new strips and the old grow box corner need drawing.
    const Rect u = (*qiva::Peek(w)->updateRgn)->rgnBBox;
    EXPECT_EQ(u.left, 30);
    EXPECT_EQ(u.top, 50);
    EXPECT_EQ(u.right, 180);
    EXPECT_EQ(u.bottom, 150);
    EXPECT_FALSE(PtInRgn(P(40, 60), qiva::Peek(w)->updateRgn));
    EXPECT_TRUE(PtInRgn(P(125, 125), qiva::Peek(w)->updateRgn));
    EXPECT_TRUE(PtInRgn(P(150, 70), qiva::Peek(w)->updateRgn));
    EXPECT_EQ(ScreenPixel(40, 60), static_cast<std::uint8_t>(w->fgIndex));
    const Rect s = (*qiva::Peek(w)->strucRgn)->rgnBBox;
    EXPECT_EQ(s.right, 184);
    EXPECT_EQ(s.bottom, 154);
    ServeUpdates();
    const std::vector<std::uint8_t> incremental = Screen();
    qiva::RedrawAll();
    ServeUpdates();
    EXPECT_TRUE(Screen() == incremental) << Differences(Screen(), incremental);
}

} // namespace
