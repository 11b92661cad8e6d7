#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace versomat {

// Text fields packed into plain ASCII (letters, digits, "-" and "_"), fit
// for a URL's fragment and for the browser's storage: a format tag, each
// field as its length in units, ":" and its text, then a check sum of all
// before it, the whole as base64url over the 16-bit units. Any unit may
// occur in a field, a lone surrogate included, and comes back exactly.
std::string packFields(std::u16string_view format, std::span<const std::u16string> fields);

// The fields of a packed text of that format; none for one that is damaged,
// cut short or of another format, or that holds a length with a leading zero.
std::optional<std::vector<std::u16string>> unpackFields(std::string_view packed, std::u16string_view format);

// The same fields as one text, before any encoding: the format tag, the
// fields and the check sum; and the fields of such a text, as above. A
// format that carries text otherwise than as 16-bit units packs this.
std::u16string fieldsPayload(std::u16string_view format, std::span<const std::u16string> fields);
std::optional<std::vector<std::u16string>> fieldsOfPayload(std::u16string_view payload, std::u16string_view format);

// Base64url without padding, and back; none for a text holding any other
// character, or whose last digit carries bits the encoder leaves zero.
std::string base64url(std::string_view bytes);
std::optional<std::string> bytesOfBase64url(std::string_view text);

// Whole numbers as fields: lower-case hexadecimal or decimal digits.
std::u16string hexField(std::uint64_t value);
std::u16string decimalField(std::uint64_t value);

// The number a whole field holds in that base (16 or 10); none for anything
// else, a leading zero or more than 64 bits.
std::optional<std::uint64_t> numberOf(std::u16string_view field, unsigned base);

} // namespace versomat
