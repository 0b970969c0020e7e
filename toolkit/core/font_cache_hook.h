#pragma once
// The text layer keeps a small cache of font lookups that points into loaded 'FONT' resources. The
// core layer cannot call upward, so the text layer installs its invalidation here; opening a
// resource file and the memory recovery sequence call it.

namespace qiva {

using FontCacheInvalidator = void (*)();
void SetFontCacheInvalidator(FontCacheInvalidator invalidate); // nullptr: nothing to invalidate
void InvalidateFontCache();

} // namespace qiva
