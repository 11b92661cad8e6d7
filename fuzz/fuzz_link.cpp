// Reads the input as a poem link, a short link's inflated payload and a
// session record, the texts a page takes from outside (a URL's fragment, the
// tab's storage).
//
// Input layout: byte 0 chooses how the rest is read. Even: the rest is the
// link, payload or record itself, so the base64, the UTF-8 and the length
// prefixes are fuzzed (most inputs then fail the check sum, which is checked
// last). Odd: the rest is 16-bit text (low byte first) holding a format tag
// and fields separated by U+001E, packed with right lengths and check sum,
// as today's link and as a short link's payload ("VM2G", "VM2W"), so that
// the fields' own rules are reached.
//
// Whatever opens must be exactly what its writer writes for what was read,
// so that no two texts read alike, and a session started from it must hold
// exactly what was read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "controls/deflated_link.h"
#include "controls/packed_fields.h"
#include "controls/poem_link.h"
#include "controls/session_record.h"
#include "controls/window_session.h"
#include "fuzz/fuzz_support.h"
#include "runtime/utf8.h"

namespace versomat {
namespace {

using fuzz::check;

constexpr char16_t kFieldSeparator = u'\x1e';

struct Packed {
    std::string link;
    std::string payload;
};

Packed packedFrom(const std::uint8_t* data, std::size_t size)
{
    const std::u16string text = fuzz::textFromBytes(data, size);
    std::vector<std::u16string> fields(1);
    for (const char16_t c : text) {
        if (c == kFieldSeparator)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    const std::u16string format = std::move(fields.front());
    fields.erase(fields.begin());
    return {packFields(format, fields), toGeneralizedUtf8(fieldsPayload(format, fields))};
}

bool onlyWholeLineBreaks(std::u16string_view text)
{
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text.substr(at, 2) == u"\r\n")
            ++at;
        else if (text[at] == u'\r' || text[at] == u'\n' || text[at] == u'\u2028' || text[at] == u'\u2029')
            return false;
    }
    return true;
}

void checkLink(std::string_view link)
{
    const std::optional<PoemOrigin> origin = readPoemLink(link);
    if (!origin)
        return;
    check(link.size() <= kMaxPoemLinkLength, "a link past the limit opened");
    for (const std::u16string& list : origin->lists)
        check(onlyWholeLineBreaks(list), "a link's list holds a line break other than CR LF");
    // Each origin has one link, and no other link reads as it.
    check(poemLinkOf(*origin) == link, "a link that opens is not the one its origin writes");
    WindowSession session;
    session.startFrom(*origin);
    check(session.lastPoemOrigin() == origin, "a session started from a link holds another origin");
}

// Whatever opens is exactly what its writer writes for it, keeps its line
// breaks whole, comes back through a whole short link, and is what a
// session started from it holds.
void checkPayload(std::string_view payload)
{
    if (const std::optional<PoemOrigin> origin = poemOfPayload(payload)) {
        check(linkPayload(*origin) == payload, "a poem's payload that opens is not the one its origin writes");
        for (const std::u16string& list : origin->lists)
            check(onlyWholeLineBreaks(list), "a payload's list holds a line break other than CR LF");
        check(readLink(shortLinkOf(*origin)) == LinkContent(*origin), "a poem does not come back through its link");
        WindowSession session;
        session.startFrom(*origin);
        check(session.lastPoemOrigin() == origin, "a session started from a payload holds another origin");
    }
    if (const std::optional<ListSet> lists = listSetOfPayload(payload)) {
        check(linkPayload(*lists) == payload, "a word lists' payload that opens is not the one they write");
        for (const std::u16string& list : lists->lists)
            check(onlyWholeLineBreaks(list), "a payload's list holds a line break other than CR LF");
        check(readLink(shortLinkOf(*lists)) == LinkContent(*lists), "word lists do not come back through their link");
        WindowSession session;
        session.startFromLists(*lists);
        check(session.acceptedLists() == lists, "a session started from word lists holds others");
    }
}

void checkRecord(std::string_view text)
{
    const std::optional<SessionRecord> record = readSessionRecord(text);
    check(readSessionRecord(text) == record, "a record reads differently twice");
    WindowSession session;
    const std::string before = session.savedSession();
    const bool restored = session.restoreSession(text).has_value();
    check(restored == record.has_value(), "the session and the reader disagree on a record");
    if (!record) {
        check(session.savedSession() == before, "a refused record changed the session");
        return;
    }
    check(sessionRecordOf(*record) == text, "a record that is read is not the one it writes");
    check(session.savedSession() == text, "a restored session saves another record");
}

} // namespace
} // namespace versomat

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace versomat;
    if (size == 0)
        return 0;
    if ((data[0] & 1) != 0) {
        const Packed packed = packedFrom(data + 1, size - 1);
        checkLink(packed.link);
        checkRecord(packed.link);
        checkPayload(packed.payload);
        return 0;
    }
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    checkLink(text);
    checkRecord(text);
    checkPayload(text);
    // As a fragment: its key, the older format or the short one's framing.
    check(!readLink(text) || linkKindOf(text), "a fragment without a link's key opened");
    return 0;
}
