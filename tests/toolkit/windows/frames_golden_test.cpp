// Golden renders of every window kind, active and inactive, as palette indices (one row a line).
// TOLKA_UPDATE_GOLDEN=1 writes them anew.

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/toolkit/windows/windows_fixture.h"
#include "tools/common/buffer_output.h"

namespace {

WindowPtr const kFront = reinterpret_cast<WindowPtr>(-1);

class FramesGolden : public WindowsTest {
protected:
    // The structure of the window and two pixels of desktop round it.
    static std::string Render(WindowPtr w) {
        const Rect s = (*qiva::Peek(w)->strucRgn)->rgnBBox;
        std::ostringstream out;
        for (int v = s.top - 2; v < s.bottom + 2; ++v) {
            for (int h = s.left - 2; h < s.right + 2; ++h)
                out << (h > s.left - 2 ? " " : "") << int{ScreenPixel(h, v)};
            out << "\n";
        }
        return out.str();
    }
};

TEST_F(FramesGolden, EveryKindActiveAndInactive) {
    struct Kind {
        const char* name;
        std::int16_t proc;
    } kinds[] = {{"document", documentProc}, {"nogrow", noGrowDocProc}, {"zoom", zoomDocProc},
                 {"dialog", dBoxProc},       {"plain", plainDBox},      {"shadow", altDBoxProc},
                 {"rounded", rDocProc}};
    for (const Kind& kind : kinds)
        for (bool active : {true, false}) {
            const Rect r = R(40, 50, 100, 90);
            WindowPtr w = NewWindow(nullptr, &r, "", true, kind.proc, kFront, true, 0);
            ASSERT_NE(w, nullptr);
            WindowPtr other = nullptr;
            if (!active) {
                const Rect elsewhere = R(160, 50, 220, 90);
                other = NewWindow(nullptr, &elsewhere, "", true, documentProc, kFront, false, 0);
            }
            DrawGrowIcon(w);
            const std::string name = std::string(kind.name) + (active ? "_active" : "_inactive");
            const std::string path = std::string(TOLKA_WINDOWS_GOLDEN_DIR) + "/" + name + ".txt";
            const std::string rendered = Render(w);
            if (std::getenv("TOLKA_UPDATE_GOLDEN")) {
                std::ofstream(path) << rendered;
                // A picture of the same pixels, for people to look at.
                const Rect s = (*qiva::Peek(w)->strucRgn)->rgnBBox;
                const qiva::BufferSlot* screen = qiva::LookUpBuffer(qiva::ScreenBufferId());
                const qiva_tools::IndexImage image{screen->base + (s.top - 2) * screen->rowBytes + s.left - 2,
                                                   screen->rowBytes, s.right - s.left + 4,
                                                   s.bottom - s.top + 4};
                EXPECT_EQ(qiva_tools::WritePalettedPng(
                              std::string(TOLKA_WINDOWS_GOLDEN_DIR) + "/" + name + ".png", image),
                          "");
            } else {
                std::ifstream in(path);
                ASSERT_TRUE(in) << path;
                std::stringstream expected;
                expected << in.rdbuf();
                EXPECT_EQ(rendered, expected.str()) << name;
            }
            DisposeWindow(other);
            DisposeWindow(w);
        }
}

} // namespace
