// SPDX-License-Identifier: Apache-2.0
#include "platform/random.h"

#include <chrono>

namespace platform {

Random::Random() {
    Randomize();
}

// Mixes the clock into the current state instead of replacing it, so two re-seeds within the
// same clock tick still lead to different pages.
void Random::Randomize() {
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    std::seed_seq seed{uint64_t(now), uint64_t(now) >> 32, engine_(), engine_() >> 32};
    engine_.seed(seed);
}

double Random::Rnd() {
    if (!script_.empty()) {
        const double value = script_.front();
        script_.pop_front();
        return value;
    }
    // 53 random bits make a double in [0, 1) with every value equally likely.
    return double(engine_() >> 11) * 0x1.0p-53;
}

} // namespace platform
