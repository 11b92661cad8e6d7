#pragma once

#include <QString>

#include <string>
#include <string_view>

class QPlainTextEdit;

namespace versomat {

// Core text as a text box shows it: every "\r\n" becomes "\n". Lone "\r" and
// "\n" pass unchanged (a text box shows either as a line break).
QString toQtText(std::u16string_view coreText);

// Text box content as the core reads it: every line break the box can hold
// ("\n", "\r\n", a lone "\r", U+2028, U+2029) becomes one "\r\n", so each
// line the user sees is one line for the core. Nothing else changes.
std::u16string toCoreText(const QString& qtText);

// A multi-line box's whole text as the core reads it. Read raw, because
// QPlainTextEdit::toPlainText() turns no-break spaces into blanks, and a
// no-break space inside "der alte Mann" must not make a new word.
std::u16string readText(const QPlainTextEdit* box);

// Replaces a multi-line box's whole text by core text.
void showText(QPlainTextEdit* box, std::u16string_view coreText);

} // namespace versomat
