#pragma once

#include <string>

namespace versomat {

// The control table as UTF-8 JSON, for a front end that cannot read C++:
// client size and colour, and every control in tab order with its pixel
// geometry, core text ("\r\n" breaks), colours as "#rrggbb" (null: the
// toolkit's own), font, flags, accessible name, help text, place in one
// column, and the box whose text a click on it hands over; then the web
// page's own texts by key (pageTexts()).
std::string controlTableJson();

} // namespace versomat
