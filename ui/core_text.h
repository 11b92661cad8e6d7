#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace versomat {

// Core text as a text box shows it: every "\r\n" becomes "\n". Lone "\r" and
// "\n" pass unchanged (a text box shows either as a line break).
QString toQtText(std::u16string_view coreText);

// Text box content as the core reads it: every line break the box can hold
// ("\n", "\r\n", a lone "\r", U+2028, U+2029) becomes one "\r\n", so each
// line the user sees is one line for the core. Nothing else changes.
std::u16string toCoreText(const QString& qtText);

} // namespace versomat
