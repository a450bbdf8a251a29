#include "app/state/globals.h"

#include <utility>

namespace smsdock {

std::atomic<std::int32_t> PageCount{0};
SharedText CurrentNumber;
SharedText LatestVersion;
std::atomic<std::int32_t> TimerPeriod{0};
SharedText JumpLink;

Text SharedText::Get() const {
    std::lock_guard lock(mutex_);
    return text_;
}

void SharedText::Set(Text text) {
    {
        std::lock_guard lock(mutex_);
        std::swap(text_, text);
    }
    // `text` now holds the previous value, freed here outside the lock.
}

void SharedText::Release() {
    Set(Text());
}

void ReleaseGlobals() {
    CurrentNumber.Release();
    LatestVersion.Release();
    JumpLink.Release();
}

}  // namespace smsdock
