// The settings menu and its four panels.

#include "toolkit/dialogs/settings_panels.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <string>

#include "toolkit/core/settings.h"
#include "toolkit/core/sound.h"
#include "toolkit/dialogs/dialogs.h"
#include "toolkit/graphics/quickdraw.h"
#include "toolkit/menus/menus.h"

namespace qiva {

namespace {

// A control item's value, through the toolkit's own calls for check boxes and radio buttons.
void SetItemValue(DialogPtr dialog, std::int16_t item, bool on) {
    QivaSetValBouton(dialog, item, on ? 1 : 0);
}

bool ItemValue(DialogPtr dialog, std::int16_t item) {
    return QivaGetValBouton(dialog, item) != 0;
}

// Radio buttons first..last: the one chosen is set, the others cleared.
void ChooseRadio(DialogPtr dialog, std::int16_t first, std::int16_t last, std::int16_t chosen) {
    for (std::int16_t i = first; i <= last; ++i)
        SetItemValue(dialog, i, i == chosen);
}

std::int16_t ChosenRadio(DialogPtr dialog, std::int16_t first, std::int16_t last) {
    for (std::int16_t i = first; i <= last; ++i)
        if (ItemValue(dialog, i)) return i;
    return first;
}

Handle ItemHandle(DialogPtr dialog, std::int16_t item, Rect* box = nullptr) {
    std::int16_t type = 0;
    Handle h = nullptr;
    Rect scratch{};
    GetDItem(dialog, item, &type, &h, box ? box : &scratch);
    return h;
}

// Runs the panel until OK or Cancel; `onItem` hears every other item hit.
template <typename OnItem>
bool RunModal(OnItem onItem) {
    for (;;) {
        std::int16_t item = 0;
        ModalDialog(nullptr, &item);
        if (item == ok) return true;
        if (item == cancel || item < 0) return false;
        onItem(item);
    }
}

DialogPtr OpenPanel(std::int16_t id) {
    return GetNewDialog(id, nullptr, reinterpret_cast<WindowPtr>(-1));
}

bool DesktopPanel() {
    DialogPtr dialog = OpenPanel(kDesktopPanel);
    if (!dialog) return false;
    constexpr std::int16_t kMat = 4, kPlain = 5;
    const std::int16_t before = DesktopPicture();
    ChooseRadio(dialog, kMat, kPlain, before == kNoDesktopPicture ? kPlain : kMat);
    const bool accepted = RunModal([&](std::int16_t item) {
        if (item == kMat || item == kPlain) ChooseRadio(dialog, kMat, kPlain, item);
    });
    const std::int16_t chosen = ChosenRadio(dialog, kMat, kPlain) == kPlain ? kNoDesktopPicture : kStrawMatPicture;
    DisposeDialog(dialog);
    if (accepted && chosen != before) SetDesktopPicture(chosen);
    return accepted;
}

// The selection colour panel: three fields and the colour they make, drawn by the user item.
constexpr std::int16_t kColourFields[3] = {5, 7, 9};
constexpr std::int16_t kSwatch = 10;
std::array<std::int16_t, 3> swatchColour{};

void DrawSwatch(DialogPtr dialog, std::int16_t item) {
    Rect box{};
    ItemHandle(dialog, item, &box);
    const RGBColor rgb{static_cast<std::uint16_t>(swatchColour[0] * 257),
                       static_cast<std::uint16_t>(swatchColour[1] * 257),
                       static_cast<std::uint16_t>(swatchColour[2] * 257)};
    RGBForeColor(&rgb);
    PaintRect(&box);
    ForeColor(blackColor);
    FrameRect(&box);
}

// The fields as typed; false with the first field that does not hold a component.
bool ReadColourFields(DialogPtr dialog, std::array<std::int16_t, 3>& rgb, std::int16_t& bad) {
    for (std::size_t i = 0; i < 3; ++i) {
        char text[256];
        GetIText(ItemHandle(dialog, kColourFields[i]), text);
        const auto value = ParseColourComponent(text);
        if (!value) {
            bad = kColourFields[i];
            return false;
        }
        rgb[i] = *value;
    }
    return true;
}

bool SelectionColourPanel() {
    DialogPtr dialog = OpenPanel(kSelectionColourPanel);
    if (!dialog) return false;
    std::int16_t before[3];
    GetInverseColour(before);
    for (std::size_t i = 0; i < 3; ++i) {
        swatchColour[i] = before[i];
        SetIText(ItemHandle(dialog, kColourFields[i]), std::to_string(before[i]).c_str());
    }
    Rect box{};
    ItemHandle(dialog, kSwatch, &box);
    SetDItem(dialog, kSwatch, userItem + itemDisable, reinterpret_cast<Handle>(&DrawSwatch), &box);
    SelIText(dialog, kColourFields[0], 0, 32767);
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(dialog);
    DrawSwatch(dialog, kSwatch);
    bool accepted = false;
    for (;;) {
        accepted = RunModal([&](std::int16_t) {
            std::array<std::int16_t, 3> rgb{};
            std::int16_t bad = 0;
            if (ReadColourFields(dialog, rgb, bad) && rgb != swatchColour) {
                swatchColour = rgb;
                DrawSwatch(dialog, kSwatch);
            }
        });
        if (!accepted) break;
        std::array<std::int16_t, 3> rgb{};
        std::int16_t bad = 0;
        if (ReadColourFields(dialog, rgb, bad)) {
            SetInverseColour(rgb.data());
            break;
        }
        // A field that holds no component keeps the panel open on it.
        SysBeep(10);
        SelIText(dialog, bad, 0, 32767);
    }
    SetPort(saved);
    DisposeDialog(dialog);
    return accepted;
}

bool SoundPanel() {
    DialogPtr dialog = OpenPanel(kSoundPanel);
    if (!dialog) return false;
    constexpr std::int16_t kSoundOn = 4;
    const std::int16_t before = IniVolume();
    SetItemValue(dialog, kSoundOn, before != 0);
    const bool accepted = RunModal([&](std::int16_t item) {
        if (item == kSoundOn) SetItemValue(dialog, kSoundOn, !ItemValue(dialog, kSoundOn));
    });
    const bool on = ItemValue(dialog, kSoundOn);
    DisposeDialog(dialog);
    if (accepted && on != (before != 0)) SetIniVolume(on ? std::int16_t{1} : std::int16_t{0});
    return accepted;
}

bool PrintFontPanel() {
    DialogPtr dialog = OpenPanel(kPrintFontPanel);
    if (!dialog) return false;
    constexpr std::int16_t kFirst = 5, kLast = 7;
    const std::int16_t before = PrintFontMode();
    ChooseRadio(dialog, kFirst, kLast, static_cast<std::int16_t>(kFirst + (before >= 0 && before <= 2 ? before : 0)));
    const bool accepted = RunModal([&](std::int16_t item) {
        if (item >= kFirst && item <= kLast) ChooseRadio(dialog, kFirst, kLast, item);
    });
    const std::int16_t mode = static_cast<std::int16_t>(ChosenRadio(dialog, kFirst, kLast) - kFirst);
    DisposeDialog(dialog);
    if (accepted) SetPrintFontMode(mode);
    return accepted;
}

} // namespace

std::optional<std::int16_t> ParseColourComponent(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty() || text.size() > 3) return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < 0 || value > 255) return std::nullopt;
    return static_cast<std::int16_t>(value);
}

bool RunSettingsPanel(std::int16_t panelID) {
    switch (panelID) {
    case kDesktopPanel:
        return DesktopPanel();
    case kSelectionColourPanel:
        return SelectionColourPanel();
    case kSoundPanel:
        return SoundPanel();
    case kPrintFontPanel:
        return PrintFontPanel();
    default:
        return false;
    }
}

void SettingsPopup(Point where) {
    MenuHandle menu = GetMenu(kSettingsMenu);
    if (!menu) return;
    const std::int16_t id = (*menu)->menuID;
    InsertMenu(menu, hierMenu);
    const std::int32_t chosen = PopUpMenuSelect(menu, where.v, where.h, 1);
    DeleteMenu(id);
    DisposeMenu(menu);
    const std::int16_t item = static_cast<std::int16_t>(chosen & 0xFFFF);
    if ((chosen >> 16) != id || item < 1 || item > 4) return;
    constexpr std::int16_t panels[] = {kDesktopPanel, kSelectionColourPanel, kSoundPanel, kPrintFontPanel};
    RunSettingsPanel(panels[item - 1]);
}

} // namespace qiva
