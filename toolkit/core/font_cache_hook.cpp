#include "toolkit/core/font_cache_hook.h"

namespace qiva {
namespace {

FontCacheInvalidator installed = nullptr;

} // namespace

void SetFontCacheInvalidator(FontCacheInvalidator invalidate) {
    installed = invalidate;
}

void InvalidateFontCache() {
    if (installed) installed();
}

} // namespace qiva
