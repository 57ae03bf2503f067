#include "prtg/curl_library.h"

#include <dlfcn.h>

namespace vigil {
namespace {

template <typename Function>
bool Find(void* library, const char* name, Function*& function) {
  function = reinterpret_cast<Function*>(dlsym(library, name));
  return function != nullptr;
}

const CurlLibrary* Load() {
  void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return nullptr;
  static CurlLibrary curl;
  CURLcode (*global_init)(long) = nullptr;
  const bool found = Find(library, "curl_global_init", global_init) &&
                     Find(library, "curl_easy_init", curl.easy_init) &&
                     Find(library, "curl_easy_cleanup", curl.easy_cleanup) &&
                     Find(library, "curl_easy_setopt", curl.easy_setopt) &&
                     Find(library, "curl_easy_perform", curl.easy_perform) &&
                     Find(library, "curl_easy_getinfo", curl.easy_getinfo) &&
                     Find(library, "curl_easy_strerror", curl.easy_strerror);
  if (!found) {
    dlclose(library);
    return nullptr;
  }
  if (global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return nullptr;
  return &curl;  // kept loaded: libcurl is not made to be unloaded
}

}  // namespace

const CurlLibrary* LoadCurl() {
  static const CurlLibrary* const curl = Load();
  return curl;
}

}  // namespace vigil
