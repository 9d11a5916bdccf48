// Timer: measures the CPU time (user plus system) used by this process.
//
// start() records the process's resource usage; net_sec() returns the CPU
// seconds used since then, with microsecond resolution.  A Timer is started
// when it is made.  It is a plain value and owns nothing.
#ifndef LORVAN_INCLUDE_TIMER_H_
#define LORVAN_INCLUDE_TIMER_H_

namespace lorvan {

class Timer {
 public:
  Timer() { start(); }
  void start();
  double net_sec() const;

 private:
  long long start_usec_ = 0;  // user + system CPU microseconds at start()
};

}  // namespace lorvan

#endif  // LORVAN_INCLUDE_TIMER_H_
