#pragma once

#include <span>
#include <string_view>

namespace versomat {

// One of the web page's own texts, beyond the window's controls: its
// description, the actions on the shown poem and what they answer. The key
// is the name index.html and the page's scripts use for it.
struct PageText {
    std::string_view key;
    std::u16string_view text; // core text
};

std::span<const PageText> pageTexts();

} // namespace versomat
