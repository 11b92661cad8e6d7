#pragma once

namespace versomat {

// Loads Qt's own German texts (context menus, scroll bar menus, ...) into
// the running application, whatever the user's locale: the whole window is
// German. Without the translation files (Debian qt6-translations-l10n) Qt
// keeps its English texts. Returns whether they were loaded.
bool installGermanTranslations();

} // namespace versomat
