#pragma once

#include <string>

namespace versomat {

// The control table and the window's own texts as UTF-8 JSON, for a front end
// that cannot read C++: client size and colours, the accepted mark and the
// refused sheet's colour, and every control in tab order with its pixel
// geometry, core text ("\r\n" breaks), colours as "#rrggbb" (null: the
// toolkit's own), font, flags, accessible name and help text.
std::string controlTableJson();

} // namespace versomat
