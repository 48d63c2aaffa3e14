#include "core/net/curl_library.h"

#include "core/fs/shared_library.h"

namespace sorano {

namespace {

const CurlLibrary* Load() {
  static CurlLibrary curl;
  // The library's soname, in the flavours Debian builds it in.
  const SharedLibrary lib = SharedLibrary::Open({"libcurl.so.4", "libcurl-gnutls.so.4", "libcurl-nss.so.4"});
  if (!lib) return nullptr;
  CURLcode (*globalInit)(long) = nullptr;
  const bool resolved = lib.Resolve("curl_global_init", globalInit) &&
                        lib.Resolve("curl_easy_init", curl.easy_init) &&
                        lib.Resolve("curl_easy_setopt", curl.easy_setopt) &&
                        lib.Resolve("curl_easy_getinfo", curl.easy_getinfo) &&
                        lib.Resolve("curl_easy_cleanup", curl.easy_cleanup) &&
                        lib.Resolve("curl_multi_init", curl.multi_init) &&
                        lib.Resolve("curl_multi_add_handle", curl.multi_add_handle) &&
                        lib.Resolve("curl_multi_remove_handle", curl.multi_remove_handle) &&
                        lib.Resolve("curl_multi_perform", curl.multi_perform) &&
                        lib.Resolve("curl_multi_info_read", curl.multi_info_read) &&
                        lib.Resolve("curl_multi_poll", curl.multi_poll) &&
                        lib.Resolve("curl_multi_cleanup", curl.multi_cleanup) &&
                        lib.Resolve("curl_slist_append", curl.slist_append) &&
                        lib.Resolve("curl_slist_free_all", curl.slist_free_all) &&
                        lib.Resolve("curl_version_info", curl.version_info);
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
