#pragma once

// The notice picture (PNG) and the advert picture (JPEG) that the notice post points at, drawn
// in code so that nothing binary has to live in the repository. The colours follow the seed.

#include <cstdint>
#include <vector>

namespace smsdock::demo {

inline constexpr int kNoticePictureWidth = 260;
inline constexpr int kNoticePictureHeight = 220;
inline constexpr int kAdvertPictureWidth = 608;
inline constexpr int kAdvertPictureHeight = 200;

std::vector<std::uint8_t> NoticePicturePng(std::uint64_t seed);
std::vector<std::uint8_t> AdvertPictureJpeg(std::uint64_t seed);

}  // namespace smsdock::demo
