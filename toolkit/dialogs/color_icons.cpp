// Colour icons read from 'cicn' into one block, plotted through their mask; one-bit icons.

#include "toolkit/dialogs/color_icons.h"

#include <cstring>
#include <string>
#include <vector>

#include "toolkit/core/memory.h"
#include "toolkit/core/message_log.h"
#include "toolkit/core/resources.h"
#include "toolkit/dialogs/cicn_format.h"
#include "toolkit/dialogs/dialogs.h"
#include "toolkit/graphics/quickdraw.h"

namespace {

constexpr std::size_t kBitsOffset = offsetof(CIcon, iconMaskData);
// The largest side a colour icon is drawn at: every plot resamples the whole destination, and a
// damaged dialog item's rectangle can span the coordinate space (a thousand million pixels).
constexpr int kMaxPlotSide = 2048;

struct ImageSizes {
    std::int32_t mask, icon, pixels;
};

void SetBitMap(BitMap& map, int rowBytes, int width, int height) {
    map.baseAddr = nullptr;
    map.rowBytes = static_cast<std::int16_t>(rowBytes);
    map.bounds = Rect{0, 0, static_cast<std::int16_t>(height), static_cast<std::int16_t>(width)};
}

} // namespace

CIconHandle GetCIcon(std::int16_t iconID) {
    Handle resource = GetResource(MakeResType("cicn"), iconID);
    if (!resource) return nullptr;
    std::string error;
    const auto parsed = qiva::ParseColorIcon(
        {reinterpret_cast<const std::uint8_t*>(*resource), static_cast<std::size_t>(GetHandleSize(resource))},
        error);
    if (!parsed) {
        qiva::AppendToMessageLog("GetCIcon " + std::to_string(iconID) + ": " + error);
        ReleaseResource(resource);
        return nullptr;
    }
    const ImageSizes sizes{static_cast<std::int32_t>(parsed->mask.size()),
                           static_cast<std::int32_t>(parsed->icon.size()),
                           static_cast<std::int32_t>(parsed->pixels.size())};
    Handle block = NewHandleClear(static_cast<Size>(kBitsOffset + sizes.mask + sizes.icon + sizes.pixels));
    Handle table = NewHandleClear(
        static_cast<Size>(offsetof(ColorTable, ctTable) +
                          sizeof(ColorSpec) * std::max<std::size_t>(1, parsed->colours.size())));
    Handle sizeRecord = NewHandleClear(sizeof(ImageSizes));
    if (!block || !table || !sizeRecord) {
        DisposeHandle(block);
        DisposeHandle(table);
        DisposeHandle(sizeRecord);
        ReleaseResource(resource);
        return nullptr;
    }
    auto* ct = reinterpret_cast<ColorTable*>(*table);
    ct->ctSeed = parsed->colourSeed;
    ct->ctFlags = parsed->colourFlags;
    ct->ctSize = static_cast<std::int16_t>(static_cast<int>(parsed->colours.size()) - 1);
    if (!parsed->colours.empty()) // an empty table has no data to copy from
        std::memcpy(ct->ctTable, parsed->colours.data(), parsed->colours.size() * sizeof(ColorSpec));
    std::memcpy(*sizeRecord, &sizes, sizeof sizes);
    auto* icon = reinterpret_cast<CIcon*>(*block);
    PixMap& pm = icon->iconPMap;
    pm.rowBytes = static_cast<std::int16_t>(0x8000 | parsed->pixelRowBytes);
    pm.bounds =
        Rect{0, 0, static_cast<std::int16_t>(parsed->height), static_cast<std::int16_t>(parsed->width)};
    pm.hRes = pm.vRes = 0x00480000;
    pm.pixelSize = static_cast<std::int16_t>(parsed->pixelSize);
    pm.cmpCount = 1;
    pm.cmpSize = static_cast<std::int16_t>(parsed->pixelSize);
    pm.pmTable = reinterpret_cast<CTabHandle>(table);
    SetBitMap(icon->iconMask, parsed->maskRowBytes, parsed->width, parsed->height);
    SetBitMap(icon->iconBMap, parsed->iconRowBytes, parsed->width, parsed->height);
    icon->iconData = sizeRecord;
    auto* bits = reinterpret_cast<std::uint8_t*>(*block) + kBitsOffset;
    std::memcpy(bits, parsed->mask.data(), parsed->mask.size());
    std::memcpy(bits + sizes.mask, parsed->icon.data(), parsed->icon.size());
    std::memcpy(bits + sizes.mask + sizes.icon, parsed->pixels.data(), parsed->pixels.size());
    ReleaseResource(resource);
    return reinterpret_cast<CIconHandle>(block);
}

void PlotCIcon(const Rect* theRect, CIconHandle theIcon) {
    if (!theRect || !theIcon || !*theIcon) return;
    Handle block = reinterpret_cast<Handle>(theIcon);
    const SignedByte state = HGetState(block);
    HLock(block);
    CIcon& icon = **theIcon;
    ImageSizes sizes{};
    if (icon.iconData && *icon.iconData) std::memcpy(&sizes, *icon.iconData, sizeof sizes);
    auto* bits = reinterpret_cast<char*>(*block) + kBitsOffset;
    icon.iconMask.baseAddr = bits;
    icon.iconBMap.baseAddr = bits + sizes.mask;
    icon.iconPMap.baseAddr = bits + sizes.mask + sizes.icon;
    GrafPtr port = nullptr;
    GetPort(&port);
    // The screen is always 8 bits deep here, so the colour pixels are the ones drawn. CopyMask
    // takes a one-bit mask at the destination's size, so a scaled icon gets its mask scaled first.
    const int width = theRect->right - theRect->left, height = theRect->bottom - theRect->top;
    const int iconWidth = icon.iconMask.bounds.right, iconHeight = icon.iconMask.bounds.bottom;
    if (port && width > 0 && height > 0 && width <= kMaxPlotSide && height <= kMaxPlotSide) {
        if (width == iconWidth && height == iconHeight) {
            CopyMask(reinterpret_cast<const BitMap*>(&icon.iconPMap), &icon.iconMask, &port->portBits,
                     &icon.iconPMap.bounds, &icon.iconMask.bounds, theRect);
        } else {
            const int rowBytes = (width + 15) / 16 * 2;
            std::vector<char> scaled(static_cast<std::size_t>(rowBytes) * height, 0);
            const auto* maskBits = reinterpret_cast<const std::uint8_t*>(icon.iconMask.baseAddr);
            for (int y = 0; y < height; ++y) {
                const int sy = y * iconHeight / height;
                for (int x = 0; x < width; ++x) {
                    const int sx = x * iconWidth / width;
                    if (maskBits[sy * icon.iconMask.rowBytes + sx / 8] & (0x80 >> (sx % 8)))
                        scaled[static_cast<std::size_t>(y) * rowBytes + x / 8] |=
                            static_cast<char>(0x80 >> (x % 8));
                }
            }
            const BitMap mask{
                scaled.data(), static_cast<std::int16_t>(rowBytes),
                Rect{0, 0, static_cast<std::int16_t>(height), static_cast<std::int16_t>(width)}};
            CopyMask(reinterpret_cast<const BitMap*>(&icon.iconPMap), &mask, &port->portBits,
                     &icon.iconPMap.bounds, &mask.bounds, theRect);
        }
    }
    HSetState(block, state);
}

void DisposeCIcon(CIconHandle theIcon) {
    if (!theIcon) return;
    if (*theIcon) {
        DisposeHandle(reinterpret_cast<Handle>((*theIcon)->iconPMap.pmTable));
        DisposeHandle((*theIcon)->iconData);
    }
    DisposeHandle(reinterpret_cast<Handle>(theIcon));
}

void PlotIcon(const Rect* theRect, Handle theIcon) {
    if (!theRect || !theIcon || !*theIcon) return;
    const int width = theRect->right - theRect->left, height = theRect->bottom - theRect->top;
    if (width <= 0 || height <= 0) return;
    const int rowBytes = (width + 7) / 8;
    // A short handle draws only the rows it holds.
    const int rows = std::min<int>(height, static_cast<int>(GetHandleSize(theIcon) / rowBytes));
    if (rows <= 0) return;
    BitMap map{*theIcon, static_cast<std::int16_t>(rowBytes),
               Rect{0, 0, static_cast<std::int16_t>(rows), static_cast<std::int16_t>(width)}};
    Rect dst = *theRect;
    dst.bottom = static_cast<std::int16_t>(dst.top + rows);
    GrafPtr port = nullptr;
    GetPort(&port);
    if (port) CopyBits(&map, &port->portBits, &map.bounds, &dst, srcCopy, nullptr);
}

namespace qiva {

void PlotColorIconNumber(std::int16_t id, const Rect& where) {
    if (CIconHandle icon = GetCIcon(id)) {
        PlotCIcon(&where, icon);
        DisposeCIcon(icon);
    }
}

} // namespace qiva
