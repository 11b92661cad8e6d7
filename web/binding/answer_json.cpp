// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
// Kept apart from the binding so that it alone is compiled for speed: the
// page waits for every answer, which is mostly the poem's text.
#include "web/binding/answer_json.h"

#include "controls/json_string.h"
#include "controls/readable_colour.h"

namespace versomat {

Result lastResult;
std::string resultBytes;

namespace {
std::u16string resultText;
} // namespace

// {"changes": [...], "note": null or {...}, "announcement": "..."}; each
// change leaves out what it does not change.
const Result* answerResult(const ClickAnswer& answer)
{
    std::u16string& json = resultText;
    json.clear();
    const auto field = [&json](std::u16string_view name) {
        json += u",\"";
        json += name;
        json += u"\":";
    };
    const auto ascii = [&json](std::string_view text) {
        for (const char c : text)
            json += static_cast<char16_t>(c);
    };
    const auto number = [&ascii](long value) { ascii(std::to_string(value)); };
    const auto boolean = [&json](bool value) { json += value ? u"true" : u"false"; };
    json += u"{\"changes\":[";
    for (const ControlChange& change : answer.changes) {
        if (&change != answer.changes.data())
            json += u',';
        json += u"{\"control\":";
        number(static_cast<long>(change.control));
        if (change.text) {
            field(u"text");
            appendJsonString(json, *change.text);
        }
        field(u"undoable");
        boolean(change.undoable);
        if (change.background) {
            field(u"background");
            json += u'"';
            ascii(hexColour(*change.background));
            json += u'"';
        }
        if (change.help) {
            field(u"help");
            appendJsonString(json, *change.help);
        }
        if (change.visible) {
            field(u"visible");
            boolean(*change.visible);
        }
        if (change.refused) {
            field(u"refused");
            boolean(*change.refused);
        }
        field(u"selectLine");
        number(change.selectLine);
        json += u'}';
    }
    json += u"]";
    field(u"note");
    if (answer.note) {
        json += u"{\"control\":";
        number(static_cast<long>(answer.note->control));
        field(u"text");
        appendJsonString(json, answer.note->text);
        json += u'}';
    } else {
        json += u"null";
    }
    field(u"announcement");
    appendJsonString(json, answer.announcement);
    json += u'}';
    lastResult = {reinterpret_cast<std::uintptr_t>(json.data()), static_cast<std::uint32_t>(json.size())};
    return &lastResult;
}

} // namespace versomat
