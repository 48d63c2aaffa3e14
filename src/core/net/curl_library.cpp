#include "core/net/curl_library.h"

#include <dlfcn.h>

#include <initializer_list>

namespace sorano {

namespace {

template <class F>
bool Resolve(void* lib, const char* name, F& f) {
  f = reinterpret_cast<F>(dlsym(lib, name));
  return f != nullptr;
}

const CurlLibrary* Load() {
  static CurlLibrary curl;
  // The library's soname, in the flavours Debian builds it in.
  void* lib = nullptr;
  for (const char* name : {"libcurl.so.4", "libcurl-gnutls.so.4", "libcurl-nss.so.4"}) {
    lib = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (lib != nullptr) break;
  }
  if (lib == nullptr) return nullptr;
  CURLcode (*globalInit)(long) = nullptr;
  const bool resolved = Resolve(lib, "curl_global_init", globalInit) &&
                        Resolve(lib, "curl_easy_init", curl.easy_init) &&
                        Resolve(lib, "curl_easy_setopt", curl.easy_setopt) &&
                        Resolve(lib, "curl_easy_getinfo", curl.easy_getinfo) &&
                        Resolve(lib, "curl_easy_cleanup", curl.easy_cleanup) &&
                        Resolve(lib, "curl_multi_init", curl.multi_init) &&
                        Resolve(lib, "curl_multi_add_handle", curl.multi_add_handle) &&
                        Resolve(lib, "curl_multi_remove_handle", curl.multi_remove_handle) &&
                        Resolve(lib, "curl_multi_perform", curl.multi_perform) &&
                        Resolve(lib, "curl_multi_info_read", curl.multi_info_read) &&
                        Resolve(lib, "curl_multi_poll", curl.multi_poll) &&
                        Resolve(lib, "curl_multi_cleanup", curl.multi_cleanup) &&
                        Resolve(lib, "curl_slist_append", curl.slist_append) &&
                        Resolve(lib, "curl_slist_free_all", curl.slist_free_all) &&
                        Resolve(lib, "curl_version_info", curl.version_info);
  // The library stays loaded for the rest of the run, also when it turned out unusable.
  if (!resolved || globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) return nullptr;
  return &curl;
}

}  // namespace

const CurlLibrary* Curl() {
  static const CurlLibrary* const curl = Load();
  return curl;
}

}  // namespace sorano
