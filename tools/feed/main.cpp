// sorano-feed: the local stand-in for the chart and quote services.
//   sorano-feed [--port N] [--brands FILE] [--csv DIR] [--today YYYY-MM-DD] [--version-text TEXT]
//               [--latency MS] [--status CODE] [--truncate BYTES] [--garble] [--stall MS] [--fault-path
//               PREFIX]
// --port 0 picks a free port. The port is printed on stdout as "port <n>" once the server listens.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "core/fs/resource_path.h"
#include "core/text/numbers.h"
#include "feed_server.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) {
  g_stop = 1;
}

void Usage() {
  std::fprintf(stderr,
               "usage: sorano-feed [--port N] [--brands FILE] [--csv DIR] [--today YYYY-MM-DD]\n"
               "                   [--version-text TEXT] [--latency MS] [--status CODE] [--truncate BYTES]\n"
               "                   [--garble] [--stall MS] [--fault-path PREFIX]\n"
               "Serves on 127.0.0.1 (default port 47150; 0 = a free port, printed on stdout).\n");
}

}  // namespace

int main(int argc, char** argv) {
  using sorano::LeadingInt;
  sorano::feed::FeedOptions options;
  // The shipped brand list unless --brands names another.
  options.brandsFile = sorano::ShippedResourcePath("default.dat");
  int port = 47150;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "sorano-feed: %s needs a value\n", a.c_str());
        std::exit(2);
      }
      return argv[++i];
    };
    if (a == "--port") {
      const std::string v = value();
      port = LeadingInt(v);
      if (port < 0 || port > 65535 || v.empty()) {
        std::fprintf(stderr, "sorano-feed: bad port %s\n", v.c_str());
        return 2;
      }
    } else if (a == "--brands") {
      options.brandsFile = value();
    } else if (a == "--csv") {
      options.csvFolder = value();
    } else if (a == "--today") {
      const std::string v = value();
      const int y = LeadingInt(v), m = v.size() >= 7 ? LeadingInt(v.substr(5)) : 0,
                d = v.size() >= 10 ? LeadingInt(v.substr(8)) : 0;
      const std::chrono::year_month_day ymd{std::chrono::year{y},
                                            std::chrono::month{static_cast<unsigned>(m)},
                                            std::chrono::day{static_cast<unsigned>(d)}};
      if (y < 1983 || y > 9999 || !ymd.ok()) {
        std::fprintf(stderr, "sorano-feed: bad date %s (YYYY-MM-DD)\n", v.c_str());
        return 2;
      }
      options.today = y * 10000 + m * 100 + d;
    } else if (a == "--version-text") {
      options.versionText = value();
    } else if (a == "--latency") {
      options.faults.latencyMs = LeadingInt(value());
    } else if (a == "--status") {
      options.faults.status = LeadingInt(value());
    } else if (a == "--truncate") {
      options.faults.truncateAt = LeadingInt(value());
    } else if (a == "--garble") {
      options.faults.garble = true;
    } else if (a == "--stall") {
      options.faults.stallMs = LeadingInt(value());
    } else if (a == "--fault-path") {
      options.faults.pathPrefix = value();
    } else if (a == "--help" || a == "-h") {
      Usage();
      return 0;
    } else {
      std::fprintf(stderr, "sorano-feed: unknown option %s\n", a.c_str());
      Usage();
      return 2;
    }
  }
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  std::signal(SIGPIPE, SIG_IGN);
  sorano::feed::FeedServer server(options);
  const int bound = server.Start(port);
  if (bound < 0) {
    std::fprintf(stderr, "sorano-feed: cannot listen on 127.0.0.1:%d\n", port);
    return 1;
  }
  std::printf("port %d\n", bound);
  std::fflush(stdout);
  while (!g_stop) pause();
  server.Stop();
  return 0;
}
