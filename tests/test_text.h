#pragma once

#include <string>
#include <string_view>

#include "runtime/utf8.h"

namespace versomat::testing {

// UTF-8 form of a core text, so that failure messages show the words as a
// person reads them.
inline std::string utf8(std::u16string_view text)
{
    return toUtf8(text);
}

} // namespace versomat::testing
