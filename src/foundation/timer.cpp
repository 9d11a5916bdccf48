#include "timer.h"

#include <sys/resource.h>

namespace lorvan {
namespace {

long long cpu_usec() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto usec = [](const timeval& t) {
    return static_cast<long long>(t.tv_sec) * 1000000 + t.tv_usec;
  };
  return usec(usage.ru_utime) + usec(usage.ru_stime);
}

}  // namespace

void Timer::start() { start_usec_ = cpu_usec(); }

double Timer::net_sec() const { return static_cast<double>(cpu_usec() - start_usec_) / 1e6; }

}  // namespace lorvan
