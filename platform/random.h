// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <cstdint>
#include <deque>
#include <random>

namespace platform {

// The game's random generator: Rnd() yields values uniform in [0, 1); Randomize() re-seeds it
// from the clock. Tests feed a scripted sequence of values to fix the draws of a page.
class Random {
public:
    Random();

    void Randomize();
    double Rnd();

    // The next values Rnd() returns, before it goes back to the generator.
    void feed(std::initializer_list<double> values) { script_.insert(script_.end(), values); }
    std::size_t scriptLeft() const { return script_.size(); }

private:
    std::mt19937_64 engine_;
    std::deque<double> script_;
};

} // namespace platform
