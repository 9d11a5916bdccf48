#include "timer.h"

#include <gtest/gtest.h>

#include <chrono>

namespace lorvan {
namespace {

// Burns CPU until the timer has seen `seconds` of it, or a wall-clock limit
// passes (so a broken timer fails instead of hanging).
double spin(const Timer& t, double seconds) {
  auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  volatile unsigned sink = 0;
  while (t.net_sec() < seconds && std::chrono::steady_clock::now() < give_up) {
    for (int i = 0; i < 100000; ++i) sink = sink + i;
  }
  return t.net_sec();
}

TEST(Timer, MeasuresCpuTimeSinceStart) {
  Timer t;
  EXPECT_GE(t.net_sec(), 0.0);
  EXPECT_GE(spin(t, 0.05), 0.05);
  double before = t.net_sec();
  t.start();
  EXPECT_LT(t.net_sec(), before);
}

}  // namespace
}  // namespace lorvan
