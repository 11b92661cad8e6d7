#include "runtime/text_search.h"

namespace versomat {

std::size_t findFrom(std::size_t start, std::u16string_view text, std::u16string_view sought)
{
    if (start == 0)
        start = 1;
    if (start > text.size() + 1)
        return 0;
    const std::size_t at = text.find(sought, start - 1);
    return at == std::u16string_view::npos ? 0 : at + 1;
}

std::u16string withFinalLineBreak(std::u16string_view text)
{
    std::u16string result(text);
    if (!result.ends_with(kLineBreak))
        result += kLineBreak;
    return result;
}

std::u16string lowerAscii(std::u16string_view text)
{
    std::u16string lowered(text);
    for (char16_t& c : lowered) {
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return lowered;
}

} // namespace versomat
