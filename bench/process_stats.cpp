#include "process_stats.h"

#include <sys/resource.h>

#include <fstream>
#include <string>

namespace dorvane::bench {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double peakResidentMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;  // kB
    }
    // Without /proc: ru_maxrss, which cannot be reset.
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void resetPeakResident() {
    // "5" resets the high-water mark of the resident set to its current size.
    std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace dorvane::bench
