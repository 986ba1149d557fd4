// SPDX-License-Identifier: Apache-2.0
#pragma once

// What the benchmark drivers share: order statistics of samples, the process's memory, and the
// rows of the table that bench/run prints.

#include <QString>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <string>
#include <vector>

namespace bench {

struct Spread {
    double min = 0, median = 0, max = 0;
};

inline Spread spread(std::vector<double> samples) {
    if (samples.empty())
        return {};
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    const double median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2.0;
    return {samples.front(), median, samples.back()};
}

// A field of /proc/self/status in kB, e.g. "VmRSS".
inline long statusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string wanted = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(wanted, 0) == 0)
            return std::stol(line.substr(wanted.size()));
    }
    return -1;
}

// Bytes the program holds on the heap right now: a leak shows here even where the allocator
// keeps freed pages resident.
inline double heapInUseBytes() {
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd);
}

inline const char* verdict(bool met) {
    return met ? "met" : "**missed**";
}

inline void row(const QString& text) {
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

// "1.23 / 1.45 / 2.01" with the given number of decimals.
inline QString triple(const Spread& s, int decimals) {
    return QStringLiteral("%1 / %2 / %3")
        .arg(s.min, 0, 'f', decimals)
        .arg(s.median, 0, 'f', decimals)
        .arg(s.max, 0, 'f', decimals);
}

} // namespace bench
