#include "http/curl_easy.h"

#include <mutex>

namespace smsdock {

CurlEasy::CurlEasy() {
    static std::once_flag globalInit;
    std::call_once(globalInit, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    handle_.reset(curl_easy_init());
}

}  // namespace smsdock
