// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Versomat developers
#pragma once

#include <cstdint>
#include <string>

#include "controls/window_session.h"

namespace versomat {

// Where and how long the binding's last result is: bytes, or UTF-16 units for
// a click's answer. Read by the page's script as two 32-bit numbers before
// its next call.
struct Result {
    std::uintptr_t data = 0;
    std::uint32_t length = 0;
};
extern Result lastResult;
extern std::string resultBytes;

// A click's answer as JSON in UTF-16, left as the last result.
const Result* answerResult(const ClickAnswer& answer);

} // namespace versomat
