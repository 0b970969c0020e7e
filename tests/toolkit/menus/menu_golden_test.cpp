// Golden renders of the menu bar and of a pulled-down menu holding every kind of item, as palette
// indices. QIVA_UPDATE_GOLDEN=1 rewrites the files after a deliberate change of the drawing.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/toolkit/menus/menu_fixture.h"

namespace {

std::string IndexText(const std::vector<std::uint8_t>& screen, int width, const Rect& crop) {
    std::ostringstream out;
    out << (crop.right - crop.left) << ' ' << (crop.bottom - crop.top) << '\n';
    char hex[4];
    for (int v = crop.top; v < crop.bottom; ++v) {
        for (int h = crop.left; h < crop.right; ++h) {
            std::snprintf(hex, sizeof hex, "%02x", screen[static_cast<std::size_t>(v) * width + h]);
            out << hex;
        }
        out << '\n';
    }
    return out.str();
}

void ExpectGolden(const std::string& name, const std::string& actual) {
    const std::string path = std::string(TOLKA_MENU_GOLDEN_DIR) + "/" + name;
    if (const char* update = std::getenv("QIVA_UPDATE_GOLDEN"); update && *update == '1') {
        std::ofstream(path) << actual;
        return;
    }
    std::ifstream in(path);
    ASSERT_TRUE(in) << "no golden " << path;
    std::stringstream want;
    want << in.rdbuf();
    if (want.str() == actual) return;
    // Name the first row that differs.
    std::istringstream a(actual), w(want.str());
    std::string la, lw;
    for (int row = -1; std::getline(a, la) && std::getline(w, lw); ++row)
        if (la != lw) {
            ADD_FAILURE() << name << ": row " << row << " differs";
            return;
        }
    ADD_FAILURE() << name << ": sizes differ";
}

// A 32 × 32 icon: a frame with a diagonal.
std::string IconData() {
    std::string bits(128, '\0');
    for (int v = 0; v < 32; ++v)
        for (int h = 0; h < 32; ++h)
            if (v == 0 || v == 31 || h == 0 || h == 31 || h == v)
                bits[static_cast<std::size_t>(v * 4 + h / 8)] |= static_cast<char>(0x80 >> (h % 8));
    return bits;
}

class MenuGoldenTest : public MenuTest {
protected:
    MenuHandle demo = nullptr, off = nullptr, view = nullptr, sub = nullptr;
    static constexpr int kTall = 250;
    MenuGoldenTest() { screenHeight = kTall; }
    void SetUp() override {
        MenuTest::SetUp();
        OpenResources({qiva_test::MakeResource("ICON", 257, IconData())});
        SetPort(qiva::TemplatePort());
        const Rect all{0, 0, kTall, kW};
        ForeColor(whiteColor);
        PaintRect(&all);
        demo = NewMenu(1, "Demo");
        AppendMenu(demo, "Plain;Command/K;(Disabled;-;Checked!\x12;Marked!\xA5;Bold<B;Italic<I<U;Icon^1;More;"
                         "(Gone/G");
        SetItemCmd(demo, 10, hMenuCmd);
        SetItemMark(demo, 10, 3);
        off = NewMenu(2, "Off");
        AppendMenu(off, "Nothing");
        DisableItem(off, 0);
        view = NewMenu(4, "View");
        AppendMenu(view, "Zoom");
        sub = NewMenu(3, "More");
        AppendMenu(sub, "Deeper");
        InsertMenu(demo, 0);
        InsertMenu(off, 0);
        InsertMenu(view, 0);
        InsertMenu(sub, -1);
        DrawMenuBar();
    }
    void TearDown() override {
        ClearMenuBar();
        for (MenuHandle m : {demo, off, view, sub})
            DisposeMenu(m);
        MenuTest::TearDown();
    }
};

TEST_F(MenuGoldenTest, Bar) {
    ExpectGolden("bar.txt", IndexText(Screen(), kW, Rect{0, 0, 21, kW}));
    // Highlighted titles: an enabled one white on blue, a disabled one grey on blue.
    HiliteMenu(4);
    const std::vector<std::uint8_t> viewLit = Screen();
    HiliteMenu(2);
    std::vector<std::uint8_t> both = Screen();
    // View's title from the first picture, Off's from the second: one golden for both looks.
    const Rect v = (*view)->titleRect;
    for (int y = v.top; y < v.bottom; ++y)
        for (int x = v.left; x < v.right; ++x)
            both[static_cast<std::size_t>(y) * kW + x] = viewLit[static_cast<std::size_t>(y) * kW + x];
    ExpectGolden("bar_highlighted.txt", IndexText(both, kW, Rect{0, 0, 21, kW}));
    HiliteMenu(0);
}

TEST_F(MenuGoldenTest, OpenMenuWithEveryKindOfItem) {
    const Rect t = (*demo)->titleRect;
    const Point start{static_cast<std::int16_t>((t.top + t.bottom) / 2),
                      static_cast<std::int16_t>(t.left + 10)};
    Press(start.h, start.v);
    // Onto item 2 (Command), then away to the right of the screen and released: nothing chosen.
    MoveTo(t.left + 30, 20 + 16 + 8);
    Release(t.left + 30, 20 + 16 + 8);
    window.record = true;
    EXPECT_EQ(MenuSelect(start), (1 << 16) + 2);
    window.record = false;
    const RecordingPresent::Shot* open = nullptr;
    for (const auto& shot : window.shots)
        if (shot.dump.find("open 1 rect") != std::string::npos) open = &shot;
    ASSERT_TRUE(open);
    ExpectGolden("open_menu.txt", IndexText(open->screen, kW, Rect{0, 0, kTall, 240}));
    HiliteMenu(0);
}

} // namespace
