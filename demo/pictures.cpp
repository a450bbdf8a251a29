#include "demo/pictures.h"

#include <array>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include <jpeglib.h>
#include <zlib.h>

namespace smsdock::demo {
namespace {

struct Rgb {
    std::uint8_t r, g, b;
};

// An RGB raster with the few drawing operations the two pictures need.
class Canvas {
  public:
    Canvas(int width, int height)
        : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height) * 3) {}

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<std::uint8_t>& pixels() const { return pixels_; }

    void Set(int x, int y, Rgb c) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
        const std::size_t at = (static_cast<std::size_t>(y) * width_ + x) * 3;
        pixels_[at] = c.r;
        pixels_[at + 1] = c.g;
        pixels_[at + 2] = c.b;
    }

    void VerticalGradient(Rgb top, Rgb bottom) {
        for (int y = 0; y < height_; ++y) {
            const int t = height_ > 1 ? y * 255 / (height_ - 1) : 0;
            const Rgb c{Blend(top.r, bottom.r, t), Blend(top.g, bottom.g, t),
                        Blend(top.b, bottom.b, t)};
            for (int x = 0; x < width_; ++x)
                Set(x, y, c);
        }
    }

    // A rectangle with corners rounded by radius.
    void RoundedRect(int x0, int y0, int w, int h, int radius, Rgb c) {
        for (int y = y0; y < y0 + h; ++y) {
            for (int x = x0; x < x0 + w; ++x) {
                const int dx = x < x0 + radius        ? x0 + radius - x
                               : x >= x0 + w - radius ? x - (x0 + w - radius - 1)
                                                      : 0;
                const int dy = y < y0 + radius        ? y0 + radius - y
                               : y >= y0 + h - radius ? y - (y0 + h - radius - 1)
                                                      : 0;
                if (dx * dx + dy * dy <= radius * radius) Set(x, y, c);
            }
        }
    }

    void Disc(int cx, int cy, int radius, Rgb c) {
        RoundedRect(cx - radius, cy - radius, 2 * radius + 1, 2 * radius + 1, radius, c);
    }

    // Text in the 5x7 font below, each font pixel drawn as a scale x scale square.
    void Text(std::string_view text, int x, int y, int scale, Rgb c) {
        for (char ch : text) {
            const auto& glyph = Glyph(ch);
            for (int row = 0; row < 7; ++row) {
                for (int col = 0; col < 5; ++col) {
                    if (!(glyph[row] & (0x10 >> col))) continue;
                    for (int sy = 0; sy < scale; ++sy) {
                        for (int sx = 0; sx < scale; ++sx) {
                            Set(x + col * scale + sx, y + row * scale + sy, c);
                        }
                    }
                }
            }
            x += 6 * scale;
        }
    }

    void CentredText(std::string_view text, int y, int scale, Rgb c) {
        const int w = static_cast<int>(text.size()) * 6 * scale - scale;
        Text(text, (width_ - w) / 2, y, scale, c);
    }

  private:
    static std::uint8_t Blend(std::uint8_t a, std::uint8_t b, int t) {
        return static_cast<std::uint8_t>((a * (255 - t) + b * t) / 255);
    }

    using GlyphRows = std::array<std::uint8_t, 7>;

    static const GlyphRows& Glyph(char ch) {
        static const GlyphRows kLetters[26] = {
            {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E},
            {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}, {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C},
            {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}, {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10},
            {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}, {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},
            {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C},
            {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}, {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F},
            {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}, {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11},
            {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10},
            {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}, {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11},
            {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}, {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04},
            {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04},
            {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}, {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11},
            {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F},
        };
        static const GlyphRows kDigits[10] = {
            {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
            {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
            {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
            {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
            {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
        };
        static const GlyphRows kBlank{};
        static const GlyphRows kDot{0, 0, 0, 0, 0, 0x0C, 0x0C};
        static const GlyphRows kBang{0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04};
        if (ch >= 'A' && ch <= 'Z') return kLetters[ch - 'A'];
        if (ch >= 'a' && ch <= 'z') return kLetters[ch - 'a'];
        if (ch >= '0' && ch <= '9') return kDigits[ch - '0'];
        if (ch == '.') return kDot;
        if (ch == '!') return kBang;
        return kBlank;
    }

    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};

// Background colour pairs; the seed picks one.
constexpr Rgb kPalettes[][2] = {
    {{0x00, 0x96, 0x88}, {0x1E, 0x9F, 0xFF}},
    {{0xFF, 0x57, 0x22}, {0xFF, 0xB8, 0x00}},
    {{0x39, 0x3D, 0x49}, {0x00, 0x96, 0x88}},
    {{0x6A, 0x1B, 0x9A}, {0xEC, 0x40, 0x7A}},
};
constexpr Rgb kWhite{0xFF, 0xFF, 0xFF};

const Rgb* PaletteFor(std::uint64_t seed, int shift) {
    return kPalettes[(seed + static_cast<std::uint64_t>(shift)) % std::size(kPalettes)];
}

void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 24));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

void AppendChunk(std::vector<std::uint8_t>& out, const char (&type)[5],
                 const std::vector<std::uint8_t>& data) {
    AppendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    // The CRC covers the type and the data.
    const uLong crc =
        crc32(crc32(0L, Z_NULL, 0), out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
    AppendBigEndian(out, static_cast<std::uint32_t>(crc));
}

// An 8-bit RGB PNG: every row with filter type 0, all of it in one IDAT chunk.
std::vector<std::uint8_t> EncodePng(const Canvas& canvas) {
    const std::size_t rowBytes = static_cast<std::size_t>(canvas.width()) * 3;
    std::vector<std::uint8_t> raw;
    raw.reserve((rowBytes + 1) * canvas.height());
    for (int y = 0; y < canvas.height(); ++y) {
        raw.push_back(0);
        const auto* row = canvas.pixels().data() + y * rowBytes;
        raw.insert(raw.end(), row, row + rowBytes);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        throw std::runtime_error("zlib could not compress the picture");
    }
    packed.resize(packedSize);

    std::vector<std::uint8_t> header;
    AppendBigEndian(header, static_cast<std::uint32_t>(canvas.width()));
    AppendBigEndian(header, static_cast<std::uint32_t>(canvas.height()));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // depth 8, RGB, deflate, no filter, no interlace

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", packed);
    AppendChunk(png, "IEND", {});
    return png;
}

// libjpeg reports errors through error_exit, which must not return; it jumps back to the
// encoder instead of ending the process as the default handler would.
struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->jump, 1);
}

// Owns the compressor and the memory buffer libjpeg writes into.
struct JpegCompressor {
    jpeg_compress_struct info{};
    JpegErrorManager error{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    ~JpegCompressor() {
        jpeg_destroy_compress(&info);
        std::free(buffer);
    }
};

std::vector<std::uint8_t> EncodeJpeg(const Canvas& canvas, int quality) {
    JpegCompressor jpeg;
    jpeg.info.err = jpeg_std_error(&jpeg.error.base);
    jpeg.error.base.error_exit = OnJpegError;
    // Everything libjpeg may jump out of sits below, with no C++ object of its own.
    if (setjmp(jpeg.error.jump)) throw std::runtime_error("libjpeg could not encode the picture");
    jpeg_create_compress(&jpeg.info);
    jpeg_mem_dest(&jpeg.info, &jpeg.buffer, &jpeg.size);
    jpeg.info.image_width = static_cast<JDIMENSION>(canvas.width());
    jpeg.info.image_height = static_cast<JDIMENSION>(canvas.height());
    jpeg.info.input_components = 3;
    jpeg.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&jpeg.info);
    jpeg_set_quality(&jpeg.info, quality, TRUE);
    jpeg_start_compress(&jpeg.info, TRUE);
    const std::size_t rowBytes = static_cast<std::size_t>(canvas.width()) * 3;
    while (jpeg.info.next_scanline < jpeg.info.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(canvas.pixels().data() + jpeg.info.next_scanline * rowBytes);
        jpeg_write_scanlines(&jpeg.info, &row, 1);
    }
    jpeg_finish_compress(&jpeg.info);
    return std::vector<std::uint8_t>(jpeg.buffer, jpeg.buffer + jpeg.size);
}

// A speech bubble with three dots: the picture's "message" mark.
void Bubble(Canvas& canvas, int x, int y, int w, int h, Rgb dots) {
    canvas.RoundedRect(x, y, w, h, h / 4, kWhite);
    for (int i = 0; i < h / 6; ++i) {  // the tail, bottom left
        for (int j = 0; j <= i; ++j)
            canvas.Set(x + h / 4 + j, y + h + h / 6 - 1 - i, kWhite);
    }
    const int r = h / 10;
    for (int i = -1; i <= 1; ++i)
        canvas.Disc(x + w / 2 + i * 3 * r, y + h / 2, r, dots);
}

}  // namespace

std::vector<std::uint8_t> NoticePicturePng(std::uint64_t seed) {
    const Rgb* palette = PaletteFor(seed, 0);
    Canvas canvas(kNoticePictureWidth, kNoticePictureHeight);
    canvas.VerticalGradient(palette[0], palette[1]);
    Bubble(canvas, 90, 22, 80, 50, palette[0]);
    canvas.CentredText("SMSDOCK", 96, 4, kWhite);
    canvas.CentredText("DEMO NOTICE", 144, 2, kWhite);
    canvas.CentredText("260 X 220", 176, 2, kWhite);
    return EncodePng(canvas);
}

std::vector<std::uint8_t> AdvertPictureJpeg(std::uint64_t seed) {
    const Rgb* palette = PaletteFor(seed, 1);
    Canvas canvas(kAdvertPictureWidth, kAdvertPictureHeight);
    canvas.VerticalGradient(palette[0], palette[1]);
    Bubble(canvas, 40, 56, 120, 76, palette[0]);
    canvas.Text("SMSDOCK DEMO AD", 196, 48, 4, kWhite);
    canvas.Text("CODES IN SECONDS!", 196, 104, 3, kWhite);
    canvas.Text("608 X 200", 196, 148, 2, kWhite);
    return EncodeJpeg(canvas, 88);
}

}  // namespace smsdock::demo
