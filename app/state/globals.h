#pragma once

// The five program-wide values. The window thread and the start-up worker may both read and
// write them at any time, also while the program ends: the integers are atomics, and each text
// sits behind its own lock and is handed out as a copy, so no thread ever reads a text that
// another is replacing or releasing.

#include <atomic>
#include <cstdint>
#include <mutex>

#include "text/text.h"

namespace smsdock {

class SharedText {
  public:
    Text Get() const;
    void Set(Text text);
    // Frees the text; afterwards it reads as empty, as a text that was never written does.
    void Release();

  private:
    mutable std::mutex mutex_;
    Text text_;
};

// Page count of the platform last switched to.
extern std::atomic<std::int32_t> PageCount;
// The number whose messages were listed last.
extern SharedText CurrentNumber;
// The latest version named by the notice document.
extern SharedText LatestVersion;
// The advert timer's period from the notice document, milliseconds.
extern std::atomic<std::int32_t> TimerPeriod;
// The link opened by a press on the notice picture.
extern SharedText JumpLink;

// The exit handler: frees CurrentNumber, LatestVersion and JumpLink, in that order.
void ReleaseGlobals();

}  // namespace smsdock
