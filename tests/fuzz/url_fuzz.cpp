// SplitUrl on any text. What it accepts must be what libcurl, which makes the connection, reads the
// same way: the request goes to the host and port SplitUrl found, never somewhere else.
#include <arpa/inet.h>
#include <curl/curl.h>

#include <memory>
#include <string>

#include "core/net/http_client.h"
#include "fuzz_support.h"

namespace {

struct UrlFree {
  void operator()(CURLU* u) const { curl_url_cleanup(u); }
};

std::string Part(CURLU* u, CURLUPart part) {
  char* text = nullptr;
  if (curl_url_get(u, part, &text, 0) != CURLUE_OK) return "<none>";
  std::string s(text);
  curl_free(text);
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string url(reinterpret_cast<const char*>(data), size);
  std::string host, path;
  int port = 0, flags = 0;
  if (sorano::SplitUrl(url, host, path, port, flags) != 0) return 0;
  FUZZ_CHECK(!host.empty() && host.size() <= sorano::kHttpMaxUrlPart);
  FUZZ_CHECK(path.starts_with("/") && path.size() <= sorano::kHttpMaxUrlPart);
  FUZZ_CHECK(port >= 1 && port <= 65535);
  const bool secure = (flags & sorano::kHttpFlagSecure) != 0;
  FUZZ_CHECK(url.starts_with(secure ? "https://" : "http://"));

  // The address HttpFetch hands to libcurl.
  const std::string target =
      std::string(secure ? "https://" : "http://") + host + ":" + std::to_string(port) + path;
  std::unique_ptr<CURLU, UrlFree> u(curl_url());
  if (curl_url_set(u.get(), CURLUPART_URL, target.c_str(), 0) != CURLUE_OK) return 0;
  // A host made of numbers is an IPv4 address in one of its short forms ("127.1", "2130706433").
  in_addr ip{};
  FUZZ_CHECK(Part(u.get(), CURLUPART_HOST) == (::inet_aton(host.c_str(), &ip) ? ::inet_ntoa(ip) : host));
  FUZZ_CHECK(Part(u.get(), CURLUPART_PORT) == std::to_string(port));
  return 0;
}
