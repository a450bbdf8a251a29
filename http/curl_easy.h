#pragma once

// Owners of the libcurl handles one exchange uses. Internal to http/.

#include <curl/curl.h>

#include <memory>

namespace smsdock {

// One easy handle, cleaned up when the owner goes. libcurl's global set-up runs once, before
// the first handle is made, whichever thread makes it.
class CurlEasy {
  public:
    CurlEasy();
    CurlEasy(const CurlEasy&) = delete;
    CurlEasy& operator=(const CurlEasy&) = delete;

    // Null when libcurl could not make a handle.
    CURL* get() const { return handle_.get(); }
    explicit operator bool() const { return handle_ != nullptr; }

  private:
    struct Cleanup {
        void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
    };
    std::unique_ptr<CURL, Cleanup> handle_;
};

// A list of header lines, freed with the owner.
class CurlSlist {
  public:
    CurlSlist() = default;
    CurlSlist(const CurlSlist&) = delete;
    CurlSlist& operator=(const CurlSlist&) = delete;
    ~CurlSlist() { curl_slist_free_all(head_); }

    // Appends a copy of line; false when memory ran out (the list stays as it was).
    bool Append(const char* line) {
        curl_slist* grown = curl_slist_append(head_, line);
        if (!grown) return false;
        head_ = grown;
        return true;
    }
    curl_slist* get() const { return head_; }

  private:
    curl_slist* head_ = nullptr;
};

}  // namespace smsdock
