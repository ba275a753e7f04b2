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

HostTicks& HostTicks::operator+=(const HostTicks& other) {
    total += other.total;
    stolen += other.stolen;
    return *this;
}

HostTicks hostTicks() {
    // "cpu  user nice system idle iowait irq softirq steal guest guest_nice"; guest time
    // is counted in user and nice already.
    std::ifstream stat("/proc/stat");
    std::string name;
    std::uint64_t fields[8] = {};
    if (!(stat >> name) || name != "cpu") return {};
    for (std::uint64_t& field : fields)
        if (!(stat >> field)) return {};
    HostTicks ticks;
    for (const std::uint64_t field : fields) ticks.total += field;
    ticks.stolen = fields[7];
    return ticks;
}

HostTicks operator-(const HostTicks& later, const HostTicks& earlier) {
    return {later.total - earlier.total, later.stolen - earlier.stolen};
}

double stolenShare(const HostTicks& span) {
    return span.total == 0 ? 0 : double(span.stolen) / double(span.total);
}

}  // namespace dorvane::bench
