#include "game/summary_dialog.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "game/dialog_items.h"
#include "game/game_strings.h"
#include "game/game_summary.h"
#include "game/message_format.h"
#include "game/session_state.h"
#include "toolkit/dialogs/dialogs.h"
#include "toolkit/graphics/quickdraw.h"

namespace tolka {

namespace {

constexpr std::int16_t kSummaryDialog = 2002;
constexpr std::int16_t kSeedIcon = 131;
constexpr std::int16_t kDialogFont = 3;
constexpr std::int16_t kResultFont = 20;
constexpr std::int16_t kFirstRowItem = 2;
constexpr std::int16_t kResultItem = 8;

// What the item procedures draw while the dialog is open.
CIconHandle seedIcon = nullptr;
std::array<std::int16_t, 6> counts{};
int resultString = 19;

void DrawSeedRow(DialogPtr dialog, std::int16_t item) {
    if (item < kFirstRowItem || item >= kFirstRowItem + static_cast<int>(counts.size())) return;
    Rect box{};
    GetItemRect(dialog, item, &box);
    const int count = counts[static_cast<std::size_t>(item - kFirstRowItem)];
    if (seedIcon)
        for (const Rect& square : SeedRowSquares(box, count))
            PlotCIcon(&square, seedIcon);
    std::array<char, 16> number{};
    const std::size_t length = FormatInto(number, "%d", count);
    TextFont(kDialogFont);
    TextSize(12);
    MoveTo(box.right - 32, box.bottom - 14);
    DrawText(number.data(), 0, static_cast<int>(length));
    TextSize(0);
}

void DrawResult(DialogPtr dialog, std::int16_t item) {
    Rect box{};
    GetItemRect(dialog, item, &box);
    const char* text = GameString(static_cast<std::int16_t>(resultString));
    TextFont(kResultFont);
    TextSize(20);
    MoveTo(box.left, box.bottom);
    DrawText(text, 0, static_cast<int>(std::strlen(text)));
    TextFont(kDialogFont);
    TextSize(0);
}

} // namespace

bool ShowGameSummary(int rest0, int rest1) {
    GrafPtr saved = nullptr;
    GetPort(&saved);
    seedIcon = GetCIcon(kSeedIcon);
    SetDAFont(kDialogFont);
    DialogPtr dialog = GetNewDialog(Localized(kSummaryDialog), nullptr, reinterpret_cast<WindowPtr>(-1));
    if (!dialog) {
        // Nothing to show: the icon and the font go back as they came.
        SetPort(saved);
        if (seedIcon) DisposeCIcon(seedIcon);
        seedIcon = nullptr;
        SetDAFont(0);
        return false;
    }
    counts = SummaryCounts(gameBoard, rest0, rest1);
    resultString = SummaryResultString(gameBoard);
    for (std::int16_t item = kFirstRowItem; item < kResultItem; ++item)
        SetUserItemProc(dialog, item, &DrawSeedRow);
    SetUserItemProc(dialog, kResultItem, &DrawResult);
    SetPort(dialog);
    ShowWindow(dialog);
    // The template shows the dialog as it is made, before its user items have their procedures.
    DrawDialog(dialog);
    RunDialogUntil({1});
    DisposeDialog(dialog);
    SetPort(saved);
    if (seedIcon) DisposeCIcon(seedIcon);
    seedIcon = nullptr;
    SetDAFont(0);
    return true;
}

} // namespace tolka
