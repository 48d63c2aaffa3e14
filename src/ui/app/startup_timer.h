#pragma once
// The start-up measurement. With the environment variable SORANO_MEASURE_STARTUP set, the program notes
// when each step of its start ends and, once the first chart frame is on the screen, writes the steps'
// times to stderr and ends without saving anything:
//
//   startup ms: launch 9.1/8.0, qt 21.4/20.9, settings 1.2/1.2, brand table 0.9/0.9, series 2.0/2.0,
//   window 30.5/29.8, first paint 40.2/31.0, total 105.3/93.8
//
// Each figure is wall-clock time / CPU time of the main thread (the one that starts the program and
// paints): on a busy machine the CPU time still says what the step costs. The variable's value is the
// launch time in nanoseconds since the epoch (`date +%s%N` in the script that starts the program), so
// the time before main() counts too ("launch"); any other value counts from main(), and "launch" is
// then left out.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace sorano {

class StartupTimer {
 public:
  // An active timer when SORANO_MEASURE_STARTUP is set, starting now (or at the launch it names).
  static std::optional<StartupTimer> FromEnvironment();

  // The step that ends now took the time since the previous mark.
  void Mark(std::string step);
  std::string Report() const;

 private:
  using Clock = std::chrono::system_clock;  // the launch time comes from another process's clock
  struct Step {
    std::string name;
    Clock::time_point end;
    double cpuEnd = 0;  // CPU seconds of the main thread
  };
  Clock::time_point start_;
  double cpuStart_ = 0;
  std::vector<Step> steps_;
};

}  // namespace sorano
