#include "ui/app/startup_timer.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace sorano {

namespace {

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);  // the thread that starts the program
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

}  // namespace

std::optional<StartupTimer> StartupTimer::FromEnvironment() {
  const char* value = std::getenv("SORANO_MEASURE_STARTUP");
  if (value == nullptr || *value == '\0') return std::nullopt;
  StartupTimer timer;
  const Clock::time_point now = Clock::now();
  timer.start_ = now;
  timer.cpuStart_ = CpuSeconds();
  long long ns = 0;
  const char* end = value + std::strlen(value);
  const auto [p, ec] = std::from_chars(value, end, ns);
  const Clock::time_point launch{std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(ns))};
  // A launch time only counts when it names a moment of the last minute before now.
  if (ec == std::errc() && p == end && launch <= now && now - launch < std::chrono::minutes(1)) {
    timer.start_ = launch;
    timer.steps_.push_back({"launch", now, timer.cpuStart_});
    timer.cpuStart_ = 0;  // the thread's CPU time counts from the start of the process
  }
  return timer;
}

void StartupTimer::Mark(std::string step) {
  steps_.push_back({std::move(step), Clock::now(), CpuSeconds()});
}

std::string StartupTimer::Report() const {
  std::string out = "startup ms:";
  Clock::time_point from = start_;
  double cpuFrom = cpuStart_;
  char buf[96];
  auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
  for (const Step& s : steps_) {
    std::snprintf(buf, sizeof buf, " %s %.1f/%.1f,", s.name.c_str(), ms(s.end - from),
                  (s.cpuEnd - cpuFrom) * 1000);
    out += buf;
    from = s.end;
    cpuFrom = s.cpuEnd;
  }
  std::snprintf(buf, sizeof buf, " total %.1f/%.1f", ms(from - start_), (cpuFrom - cpuStart_) * 1000);
  return out + buf;
}

}  // namespace sorano
