#pragma once

#include <cstddef>
#include <optional>

#include "controls/control_table.h"

namespace versomat::testing {

// A control's row in the table, as a click names it.
inline std::size_t button(ControlRole role, std::optional<WordListKind> list = std::nullopt)
{
    return controlIndex(controlRow(role, list));
}

} // namespace versomat::testing
