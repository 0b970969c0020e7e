// A golden render of every control kind in each of its states, as palette indices, with a PNG of
// the same pixels beside it for people to look at. TOLKA_UPDATE_GOLDEN=1 writes both anew.

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "tests/toolkit/controls/controls_fixture.h"
#include "tools/common/buffer_output.h"

namespace {

class ControlsGolden : public ControlsTest {};

TEST_F(ControlsGolden, EveryKindInEachState) {
    // On the dialogs' grey, as controls usually are.
    ForeColor(224);
    PaintRect(&window->portRect);
    ForeColor(blackColor);
    auto make = [&](int l, int t, int r, int b, const char* title, int value, int min, int max, int proc) {
        const Rect bounds = R(l, t, r, b);
        return NewControl(window, &bounds, title, true, static_cast<std::int16_t>(value),
                          static_cast<std::int16_t>(min), static_cast<std::int16_t>(max),
                          static_cast<std::int16_t>(proc), 0);
    };
    make(8, 8, 72, 28, "OK", 0, 0, 1, pushButProc);
    HiliteControl(make(80, 8, 144, 28, "Pressed", 0, 0, 1, pushButProc), inButton);
    HiliteControl(make(152, 8, 216, 28, "Off", 0, 0, 1, pushButProc), 255);
    make(8, 36, 100, 52, "Check off", 0, 0, 1, checkBoxProc);
    make(8, 54, 100, 70, "Check on", 1, 0, 1, checkBoxProc);
    HiliteControl(make(8, 72, 100, 88, "Inactive", 1, 0, 1, checkBoxProc), 255);
    make(108, 36, 200, 52, "Radio off", 0, 0, 1, radioButProc);
    make(108, 54, 200, 70, "Radio on", 1, 0, 1, radioButProc);
    HiliteControl(make(108, 72, 200, 88, "Inactive", 0, 0, 1, radioButProc), 255);
    HiliteControl(make(108, 90, 200, 106, "Held", 1, 0, 1, radioButProc), inCheckBox);
    HiliteControl(make(8, 90, 100, 106, "Held", 0, 0, 1, checkBoxProc), inCheckBox);
    make(220, 4, 236, 100, "", 0, 0, 10, scrollBarProc);
    make(240, 4, 256, 100, "", 5, 0, 10, scrollBarProc);
    HiliteControl(make(260, 4, 276, 100, "", 10, 0, 10, scrollBarProc), inDownButton);
    make(8, 110, 108, 126, "", 0, 0, 10, scrollBarProc);
    HiliteControl(make(8, 128, 108, 144, "", 5, 0, 10, scrollBarProc), inUpButton);
    make(8, 146, 108, 162, "", 10, 0, 10, scrollBarProc);
    make(120, 110, 220, 126, "", 3, 3, 3, scrollBarProc); // empty range: inactive
    HiliteControl(make(120, 128, 220, 144, "", 2, 0, 10, scrollBarProc), 255);

    const Rect area = R(0, 0, 280, 168);
    const qiva::BufferSlot* screen = qiva::LookUpBuffer(qiva::ScreenBufferId());
    const qiva_tools::IndexImage image{screen->base + kTop * screen->rowBytes + kLeft, screen->rowBytes,
                                       area.right, area.bottom};
    // Pictures and drawn edges share the five colours of the controls' colour codes exactly.
    std::set<int> allowed;
    for (std::int32_t code : {30, 33, 96, 160, 224}) {
        ForeColor(code);
        allowed.insert(window->fgIndex);
    }
    ForeColor(blackColor);
    std::ostringstream text;
    for (int v = 0; v < image.height; ++v) {
        for (int h = 0; h < image.width; ++h) {
            const int index = image.base[v * image.rowBytes + h];
            text << (h ? " " : "") << index;
            EXPECT_TRUE(allowed.count(index)) << "colour " << index << " at (" << h << ", " << v << ")";
        }
        text << "\n";
    }
    const std::string base = std::string(TOLKA_CONTROLS_GOLDEN_DIR) + "/controls";
    if (std::getenv("TOLKA_UPDATE_GOLDEN")) {
        std::ofstream(base + ".txt") << text.str();
        EXPECT_EQ(qiva_tools::WritePalettedPng(base + ".png", image), "");
        return;
    }
    std::ifstream in(base + ".txt");
    ASSERT_TRUE(in) << base << ".txt";
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(text.str(), expected.str()) << "the controls are drawn differently; look at " << base << ".png";
    EXPECT_TRUE(Errors().empty());
}

} // namespace
