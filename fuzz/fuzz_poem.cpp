// Composes poems from word lists and probability values taken from the input.
//
// Input layout: byte 0 holds flags (bits 0-3: leave that list unaccepted,
// bit 4: random start, bit 5: start the counter just below its limit, bits
// 6-7: one to four poems); bytes 1-8 the seed; bytes 9-21 one byte per
// probability value w1..w13; the rest is 16-bit text (low byte first) holding
// the four list texts separated by U+001E. Missing bytes count as zero.
//
// Each poem is composed twice from the same random state: once from the real
// lists, once from lists whose every slot holds a marker naming that slot.
// Draws do not depend on what an entry says, so replacing each marker by its
// entry must give the real poem exactly, and what lies between the markers
// must be built-in table words only.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "runtime/text_search.h"
#include "generator/poem_generator.h"
#include "settings/probability_sheet.h"
#include "wordlists/word_lists.h"

namespace versomat {
namespace {

using fuzz::check;

constexpr std::size_t kHeaderBytes = 22;
constexpr std::size_t kValueBytesAt = 9;
constexpr char16_t kListSeparator = u'\x1e';

// Each marker is an id character from the private use area followed by
// kMarkerEnd; a plural verb loses its last character, which is the end mark.
constexpr char16_t kMarkerBase = u'\xe000';
constexpr char16_t kMarkerEnd = u'\xf8ff';
constexpr std::size_t kActorCodes = kNounClasses * kNounSlots;
constexpr std::size_t kObjectCodesAt = kActorCodes;
constexpr std::size_t kVerbCodesAt = kObjectCodesAt + kNounClasses * kNounSlots;
constexpr std::size_t kAdjectiveCodesAt = kVerbCodesAt + kPlainSlots;
constexpr std::size_t kMarkerCodes = kAdjectiveCodesAt + kPlainSlots;

// Pieces a line can hold at most: a subject phrase (article, adjective,
// ending, noun) and a verb phrase (blank, verb, blank, article, adjective,
// ending, noun); every repetition adds at most a connecting word and a new
// verb phrase up to its ending.
constexpr std::size_t kPiecesPerLine = 4 + 7 + 7 * static_cast<std::size_t>(kMaxRepeatsPerLine);

constexpr std::u16string_view kEndings[] = {u"e ", u"en ", u"er ", u"es "};

// Values beyond the fine steps: extremes, signed zero and the edges of the
// draw range [0, 1).
constexpr double kSpecialValues[] = {-1e308, -1.0, -0.0, 0.0, 1e-300, 0.99999994039535522, 1.0, 2.0, 1e308};

double valueOfByte(std::uint8_t b)
{
    constexpr std::uint8_t kFineSteps = 200;
    if (b < kFineSteps)
        return (b - 50) / 100.0; // -0.5 .. 1.49
    return kSpecialValues[(b - kFineSteps) % std::size(kSpecialValues)];
}

struct PoemInput {
    std::uint8_t flags = 0;
    std::uint64_t seed = 0;
    ProbabilityValues values;
    std::array<std::u16string, kWordLists> lists;
};

PoemInput parseInput(const std::uint8_t* data, std::size_t size)
{
    std::array<std::uint8_t, kHeaderBytes> header{};
    std::copy_n(data, std::min(size, kHeaderBytes), header.begin());
    PoemInput input;
    input.flags = header[0];
    for (std::size_t i = 0; i < 8; ++i)
        input.seed |= static_cast<std::uint64_t>(header[1 + i]) << (8 * i);
    for (std::size_t i = 0; i < input.values.w.size(); ++i)
        input.values.w[i] = valueOfByte(header[kValueBytesAt + i]);
    input.values.w13 = static_cast<float>(valueOfByte(header[kValueBytesAt + 12]));

    const std::u16string text =
        size > kHeaderBytes ? fuzz::textFromBytes(data + kHeaderBytes, size - kHeaderBytes) : std::u16string();
    std::size_t list = 0;
    for (const char16_t c : text) {
        if (c == kListSeparator) {
            if (++list == kWordLists)
                break;
        } else {
            input.lists[list] += c;
        }
    }
    return input;
}

bool isHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

bool hasLoneSurrogate(std::u16string_view text)
{
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (isHighSurrogate(text[at]) && at + 1 < text.size() && isLowSurrogate(text[at + 1]))
            ++at;
        else if (isHighSurrogate(text[at]) || isLowSurrogate(text[at]))
            return true;
    }
    return false;
}

std::u16string markerOf(std::size_t code)
{
    return {static_cast<char16_t>(kMarkerBase + code), kMarkerEnd};
}

bool isMarker(char16_t c)
{
    return c >= kMarkerBase && c < kMarkerBase + kMarkerCodes;
}

// The state with every list slot, used or not, replaced by its marker.
GeneratorState markedCopy(const GeneratorState& state)
{
    GeneratorState marked = state;
    for (std::size_t k = 0; k < kNounClasses; ++k) {
        for (std::size_t i = 0; i < kNounSlots; ++i) {
            marked.ActorList[k][i] = markerOf(k * kNounSlots + i);
            marked.ObjectList[k][i] = markerOf(kObjectCodesAt + k * kNounSlots + i);
        }
    }
    for (std::size_t i = 0; i < kPlainSlots; ++i) {
        marked.VerbList[i] = markerOf(kVerbCodesAt + i);
        marked.AdjectiveList[i] = markerOf(kAdjectiveCodesAt + i);
    }
    return marked;
}

struct Slot {
    const std::u16string* entry;
    std::int16_t last;
    std::size_t index;
    bool isVerb;
};

Slot slotOf(const GeneratorState& state, char16_t marker)
{
    const std::size_t code = static_cast<std::size_t>(marker - kMarkerBase);
    if (code < kObjectCodesAt) {
        const std::size_t k = code / kNounSlots, i = code % kNounSlots;
        return {&state.ActorList[k][i], state.ActorCounts[k], i, false};
    }
    if (code < kVerbCodesAt) {
        const std::size_t k = (code - kObjectCodesAt) / kNounSlots, i = (code - kObjectCodesAt) % kNounSlots;
        return {&state.ObjectList[k][i], state.ObjectCounts[k], i, false};
    }
    if (code < kAdjectiveCodesAt)
        return {&state.VerbList[code - kVerbCodesAt], state.VerbLast, code - kVerbCodesAt, true};
    return {&state.AdjectiveList[code - kAdjectiveCodesAt], state.AdjectiveLast, code - kAdjectiveCodesAt, false};
}

std::vector<std::u16string_view> tablePieces(const GeneratorState& state)
{
    std::vector<std::u16string_view> pieces(std::begin(kEndings), std::end(kEndings));
    pieces.push_back(u" ");
    pieces.push_back(kLineBreak);
    for (const std::u16string& c : state.Conjunctions)
        pieces.push_back(c);
    for (const auto& column : state.Articles)
        pieces.insert(pieces.end(), column.begin(), column.end());
    for (const auto& number : state.Copulas)
        pieces.insert(pieces.end(), number.begin(), number.end());
    for (const std::u16string& p : state.Punctuation)
        pieces.push_back(p);
    return pieces;
}

// True when the marked body splits into markers and table words, the only
// markers being whole ones or a verb's marker without its end mark. Left out
// of coverage: its comparisons would only steer the fuzzer into the check
// itself, and tracing them made it the bulk of every run. (The corpus replay
// is built by compilers that know no such sanitizer.)
#if defined(__clang__)
#define VERSOMAT_NO_COVERAGE __attribute__((no_sanitize("coverage")))
#else
#define VERSOMAT_NO_COVERAGE
#endif
VERSOMAT_NO_COVERAGE bool splitsIntoPieces(std::u16string_view body, const GeneratorState& marked)
{
    const std::vector<std::u16string_view> pieces = tablePieces(marked);
    std::vector<char> reachable(body.size() + 1, false);
    reachable[0] = true;
    for (std::size_t at = 0; at < body.size(); ++at) {
        if (!reachable[at])
            continue;
        if (isMarker(body[at])) {
            if (at + 1 < body.size() && body[at + 1] == kMarkerEnd)
                reachable[at + 2] = true;
            else if (slotOf(marked, body[at]).isVerb)
                reachable[at + 1] = true;
            continue;
        }
        const char16_t* here = body.data() + at;
        const std::size_t left = body.size() - at;
        for (const std::u16string_view piece : pieces) {
            const std::size_t n = piece.size();
            if (n > left)
                continue;
            std::size_t same = 0;
            while (same < n && here[same] == piece.data()[same])
                ++same;
            if (same == n)
                reachable[at + n] = true;
        }
    }
    return reachable[body.size()];
}

// Resolving stops here: a longer text is cut by the generator anyway, and
// entries of thousands of characters repeated for every line would make each
// check cost megabytes.
constexpr std::size_t kResolveLimit = kMaxPoemLength + 2 * kMaxPoemLines + 2;

// The real body the marked one stands for: each marker replaced by its
// entry, a verb cut short where its marker was; only its first
// kResolveLimit characters when it is longer.
std::u16string resolveMarkers(std::u16string_view body, const GeneratorState& real)
{
    std::u16string resolved;
    for (std::size_t at = 0; at < body.size() && resolved.size() < kResolveLimit; ++at) {
        if (!isMarker(body[at])) {
            resolved += body[at];
            continue;
        }
        const Slot slot = slotOf(real, body[at]);
        check(slot.last >= 0 && slot.index <= static_cast<std::size_t>(slot.last),
              "a pick reached a slot above the list's last index");
        if (at + 1 < body.size() && body[at + 1] == kMarkerEnd) {
            resolved += *slot.entry;
            ++at;
        } else if (!slot.entry->empty()) {
            // A plural verb loses its last whole character, both units of a
            // surrogate pair.
            std::u16string_view verb = *slot.entry;
            verb.remove_suffix(
                verb.size() >= 2 && isHighSurrogate(verb[verb.size() - 2]) && isLowSurrogate(verb.back()) ? 2 : 1);
            resolved += verb;
        } else if (!resolved.empty()) {
            // No verb at all: the blank before it is what goes.
            resolved.pop_back();
        }
    }
    return resolved;
}

std::size_t longestPiece(const GeneratorState& state)
{
    std::size_t longest = 0;
    for (const std::u16string_view piece : tablePieces(state))
        longest = std::max(longest, piece.size());
    const auto consider = [&](const std::u16string& entry) { longest = std::max(longest, entry.size()); };
    for (std::size_t k = 0; k < kNounClasses; ++k) {
        std::for_each(state.ActorList[k].begin(), state.ActorList[k].begin() + state.ActorCounts[k] + 1, consider);
        std::for_each(state.ObjectList[k].begin(), state.ObjectList[k].begin() + state.ObjectCounts[k] + 1, consider);
    }
    std::for_each(state.VerbList.begin(), state.VerbList.begin() + state.VerbLast + 1, consider);
    std::for_each(state.AdjectiveList.begin(), state.AdjectiveList.begin() + state.AdjectiveLast + 1, consider);
    return longest;
}

std::size_t countLineBreaks(std::u16string_view text)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(kLineBreak); at != std::u16string_view::npos; at = text.find(kLineBreak, at + 2))
        ++count;
    return count;
}

// The poem must be its heading and its entries put in their places; where
// those words would carry it past its length limit, it ends before the line
// break that precedes the first character beyond the limit.
void checkAgainstResolved(std::u16string_view poem, std::u16string_view heading, std::u16string_view resolved)
{
    std::u16string full(heading);
    full += resolved;
    std::size_t words = 0;
    std::size_t lastBreak = 0;
    for (std::size_t at = 0; at < full.size(); ++at) {
        if (std::u16string_view(full).substr(at, 2) == kLineBreak) {
            lastBreak = at++;
            continue;
        }
        if (++words > kMaxPoemLength) {
            check(poem == std::u16string_view(full).substr(0, lastBreak),
                  "a poem at the length limit does not end after its last whole line");
            return;
        }
    }
    check(full.size() < heading.size() + kResolveLimit, "resolving stopped before the length limit");
    check(poem == full, "poem differs from its entries put in their places");
}

std::u16string expectedHeading(const GeneratorState& state, std::int16_t number)
{
    std::u16string heading = state.TitlePrefix;
    heading += kHeadingWord;
    for (const char c : std::to_string(number))
        heading += static_cast<char16_t>(c);
    heading += kLineBreak;
    return heading;
}

bool allAccepted(const GeneratorState& state)
{
    return std::all_of(state.ReadyFlags.begin(), state.ReadyFlags.end(), [](std::int16_t f) { return f != 0; });
}

void checkOnePress(GeneratorState& state, RandomSource& random, const std::array<std::u16string, kWordLists>& input)
{
    const std::int16_t number = state.PoemCounter;
    RandomSource markedRandom = random;
    GeneratorState marked = markedCopy(state);
    const std::u16string poem = composePoemOrRefusal(state, random);

    if (!allAccepted(state)) {
        check(poem == kMissingDataMessage, "refusal is not the missing-data message");
        check(state.PoemCounter == number, "a refusal raised the counter");
        check(random.next() == markedRandom.next(), "a refusal took a draw");
        return;
    }
    const std::int16_t expectedNext = number < std::numeric_limits<std::int16_t>::max() ? number + 1 : number;
    check(state.PoemCounter == expectedNext, "the counter did not advance by one up to its limit");

    check(!hasLoneSurrogate(poem) || std::any_of(input.begin(), input.end(), hasLoneSurrogate),
          "poem holds half a character that no list text held");

    const std::u16string heading = expectedHeading(state, number);
    // A poem cut in its first line is its heading alone.
    check(poem.starts_with(std::u16string_view(heading).substr(0, heading.size() - kLineBreak.size())),
          "heading does not name the poem's number");
    const std::u16string_view body = std::u16string_view(poem).substr(std::min(heading.size(), poem.size()));

    const std::size_t longest = longestPiece(state);
    const std::size_t bound =
        std::min(kMaxPoemLines * kPiecesPerLine * longest, kMaxPoemLength) + (kMaxPoemLines - 1) * kLineBreak.size();
    check(body.size() <= bound, "poem longer than its lines and repetitions allow");

    const std::u16string markedPoem = composePoemOrRefusal(marked, markedRandom);
    check(random.next() == markedRandom.next(), "the draws depend on what the entries say");
    check(markedPoem.starts_with(heading), "marked poem has another heading");
    const std::u16string_view markedBody = std::u16string_view(markedPoem).substr(heading.size());

    const std::size_t lineBreaks = countLineBreaks(markedBody);
    check(lineBreaks + 1 <= static_cast<std::size_t>(kMaxPoemLines), "more than 26 lines");
    check(!markedBody.ends_with(kLineBreak), "line break after the last line");
    check(splitsIntoPieces(markedBody, marked), "poem holds text that is neither a list entry nor a table word");
    checkAgainstResolved(poem, heading, resolveMarkers(markedBody, state));
}

} // namespace
} // namespace versomat

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace versomat;
    constexpr std::uint8_t kRandomStart = 1 << 4;
    constexpr std::uint8_t kCounterNearLimit = 1 << 5;
    constexpr int kPressesShift = 6;

    const PoemInput input = parseInput(data, size);
    GeneratorState state;
    RandomSource random;
    ensureTables(state);
    applyProbabilityValues(state, input.values);
    for (std::size_t i = 0; i < kWordLists; ++i) {
        if ((input.flags & (1u << i)) == 0)
            acceptWordList(state, kAllWordLists[i], input.lists[i]);
    }
    if (input.flags & kRandomStart) {
        startRandomly(state, random);
        check(state.TitlePrefix == kRandomStartPrefix, "random start left no prefix");
    }
    // The clock's seed would make a crash impossible to replay.
    random.reseed(input.seed);
    if (input.flags & kCounterNearLimit)
        state.PoemCounter = std::numeric_limits<std::int16_t>::max() - 1;

    const int presses = 1 + (input.flags >> kPressesShift);
    for (int i = 0; i < presses; ++i)
        checkOnePress(state, random, input.lists);
    return 0;
}
