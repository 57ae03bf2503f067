// libcurl, loaded on the first download: only orbs that reach a server pay
// for it and for the TLS libraries it pulls in, about a mebibyte of
// relocated data in every process that maps them.
#ifndef VIGIL_PRTG_CURL_LIBRARY_H_
#define VIGIL_PRTG_CURL_LIBRARY_H_

#include <curl/curl.h>

namespace vigil {

// Called through these pointers, libcurl's compile-time argument checks
// are gone: every option value must be a long, a curl_off_t or a pointer,
// exactly as libcurl documents it.
struct CurlLibrary {
  CURL* (*easy_init)();
  void (*easy_cleanup)(CURL*);
  CURLcode (*easy_setopt)(CURL*, CURLoption, ...);
  CURLcode (*easy_perform)(CURL*);
  CURLcode (*easy_getinfo)(CURL*, CURLINFO, ...);
  const char* (*easy_strerror)(CURLcode);
};

// The library, loaded and initialised once; nullptr when it cannot be.
const CurlLibrary* LoadCurl();

}  // namespace vigil

#endif  // VIGIL_PRTG_CURL_LIBRARY_H_
