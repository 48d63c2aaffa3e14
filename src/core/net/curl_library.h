#pragma once
// libcurl, loaded with its TLS libraries when the program makes its first request instead of at every
// start: loading them and running their initialisers costs some 20 ms of CPU, and nothing goes out on
// the network before the first chart frame anyway. The client calls libcurl through these pointers.
#include <curl/curl.h>

namespace sorano {

struct CurlLibrary {
  CURL* (*easy_init)();
  CURLcode (*easy_setopt)(CURL*, CURLoption, ...);
  CURLcode (*easy_getinfo)(CURL*, CURLINFO, ...);
  void (*easy_cleanup)(CURL*);
  CURLM* (*multi_init)();
  CURLMcode (*multi_add_handle)(CURLM*, CURL*);
  CURLMcode (*multi_remove_handle)(CURLM*, CURL*);
  CURLMcode (*multi_perform)(CURLM*, int*);
  CURLMsg* (*multi_info_read)(CURLM*, int*);
  CURLMcode (*multi_poll)(CURLM*, curl_waitfd[], unsigned int, int, int*);
  CURLMcode (*multi_cleanup)(CURLM*);
  curl_slist* (*slist_append)(curl_slist*, const char*);
  void (*slist_free_all)(curl_slist*);
  curl_version_info_data* (*version_info)(CURLversion);
};

// The library, loaded and globally initialised at the first call (from any thread); null when it
// cannot be loaded or initialised, and then every request fails.
const CurlLibrary* Curl();

}  // namespace sorano
