// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "platform/runtimeerror.h"

#include <cmath>
#include <cstdint>

namespace platform {

// The game's integers are signed 16-bit; arithmetic that leaves -32768..32767 is an Overflow.
inline int16_t toInt16(double value) {
    if (!(value >= INT16_MIN && value <= INT16_MAX))
        throw RuntimeError(ErrorNumber::Overflow);
    return int16_t(value);
}

inline int16_t add16(int16_t a, int16_t b) {
    return toInt16(double(a) + double(b));
}
inline int16_t sub16(int16_t a, int16_t b) {
    return toInt16(double(a) - double(b));
}

// A draw from n choices: floor(r * n), for r in [0, 1).
inline int16_t draw(double r, int16_t n) {
    return toInt16(std::floor(r * n));
}

// Element index of a fixed table; any other index is SubscriptOutOfRange.
template <class Table> auto& element(Table& table, int16_t index) {
    if (index < 0 || std::size_t(index) >= table.size())
        throw RuntimeError(ErrorNumber::SubscriptOutOfRange);
    return table[std::size_t(index)];
}

} // namespace platform
