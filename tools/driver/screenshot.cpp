// Screenshots: the screen (or a window's part of it) copied with GDI into a DIB and
// written as PNG. The PNG writer is self-contained: deflate with the fixed Huffman
// code and only two kinds of match, "same as the pixel before" and "same as the row
// above", which is what makes screens of a user interface small.
#include "driver/driver.h"

#include <cstring>

namespace qdriver {
namespace {

uint32_t Crc32(const uint8_t *data, size_t size, uint32_t crc = 0) {
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const std::vector<uint8_t> &data) {
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t> *out) : out_(out) {}
    // Plain values go least significant bit first.
    void Bits(uint32_t value, int count) {
        for (int i = 0; i < count; ++i) Bit((value >> i) & 1);
    }
    // Huffman codes go most significant bit first.
    void Code(uint32_t code, int length) {
        for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1);
    }
    void Flush() {
        if (used_) out_->push_back(current_);
        current_ = 0;
        used_ = 0;
    }

private:
    void Bit(uint32_t bit) {
        current_ |= static_cast<uint8_t>(bit << used_);
        if (++used_ == 8) Flush();
    }
    std::vector<uint8_t> *out_;
    uint8_t current_ = 0;
    int used_ = 0;
};

// Literal/length symbol in the fixed Huffman code.
void Symbol(BitWriter &bits, int symbol) {
    if (symbol < 144) bits.Code(0x30 + symbol, 8);
    else if (symbol < 256) bits.Code(0x190 + symbol - 144, 9);
    else if (symbol < 280) bits.Code(symbol - 256, 7);
    else bits.Code(0xC0 + symbol - 280, 8);
}

const int kLengthBase[29] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31,
                             35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const int kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2,
                              3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const int kDistanceBase[30] = {1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257, 385,
                               513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const int kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7,
                                8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void Match(BitWriter &bits, int length, int distance) {
    int l = 28;
    while (kLengthBase[l] > length) --l;
    Symbol(bits, 257 + l);
    bits.Bits(length - kLengthBase[l], kLengthExtra[l]);
    int d = 29;
    while (kDistanceBase[d] > distance) --d;
    bits.Code(d, 5);
    bits.Bits(distance - kDistanceBase[d], kDistanceExtra[d]);
}

// zlib stream of `data` (one fixed-Huffman block).
std::vector<uint8_t> Deflate(const std::vector<uint8_t> &data, size_t stride) {
    std::vector<uint8_t> out = {0x78, 0x01};
    BitWriter bits(&out);
    bits.Bits(1, 1);  // final block
    bits.Bits(1, 2);  // fixed Huffman code
    const int distances[2] = {3, static_cast<int>(stride)};
    size_t i = 0;
    while (i < data.size()) {
        int bestLength = 0, bestDistance = 0;
        for (int distance : distances) {
            if (distance > 32768 || static_cast<size_t>(distance) > i) continue;
            size_t limit = std::min<size_t>(258, data.size() - i);
            size_t length = 0;
            while (length < limit && data[i + length] == data[i + length - distance]) ++length;
            if (static_cast<int>(length) > bestLength) {
                bestLength = static_cast<int>(length);
                bestDistance = distance;
            }
        }
        if (bestLength >= 3) {
            Match(bits, bestLength, bestDistance);
            i += bestLength;
        } else {
            Symbol(bits, data[i]);
            ++i;
        }
    }
    Symbol(bits, 256);
    bits.Flush();
    uint32_t adler = Adler32(data);
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(adler >> shift));
    return out;
}

void Put32(std::vector<uint8_t> &out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void Chunk(std::vector<uint8_t> &png, const char *type, const std::vector<uint8_t> &data) {
    Put32(png, static_cast<uint32_t>(data.size()));
    size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    Put32(png, Crc32(png.data() + start, png.size() - start));
}

}  // namespace

uint32_t Image::At(int x, int y) const {
    const uint8_t *p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return (static_cast<uint32_t>(p[0]) << 16) | (p[1] << 8) | p[2];
}

bool CaptureScreen(Image *image, const RECT *area) {
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT cut = screen;
    if (area && !IntersectRect(&cut, area, &screen)) return false;
    int width = cut.right - cut.left, height = cut.bottom - cut.top;
    if (width <= 0 || height <= 0) return false;

    HDC screenDc = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screenDc);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP dib = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = dib && bits;
    if (ok) {
        HGDIOBJ old = SelectObject(memory, dib);
        ok = BitBlt(memory, 0, 0, width, height, screenDc, cut.left, cut.top, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memory, old);
    }
    if (ok) {
        size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
        image->width = width;
        image->height = height;
        image->rgb.resize(static_cast<size_t>(width) * height * 3);
        for (int y = 0; y < height; ++y) {
            const uint8_t *from = static_cast<const uint8_t *>(bits) + rowBytes * y;
            uint8_t *to = &image->rgb[static_cast<size_t>(y) * width * 3];
            for (int x = 0; x < width; ++x) {  // BGR -> RGB
                to[3 * x] = from[3 * x + 2];
                to[3 * x + 1] = from[3 * x + 1];
                to[3 * x + 2] = from[3 * x];
            }
        }
    }
    if (dib) DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screenDc);
    return ok;
}

bool CaptureWindow(Image *image, HWND window) {
    RECT rect = WindowRect(window);
    return CaptureScreen(image, &rect);
}

bool WritePng(const Image &image, const std::string &path) {
    if (image.width <= 0 || image.height <= 0) return false;
    size_t stride = static_cast<size_t>(image.width) * 3 + 1;
    std::vector<uint8_t> raw;
    raw.reserve(stride * image.height);
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);  // filter: none
        const uint8_t *row = &image.rgb[static_cast<size_t>(y) * image.width * 3];
        raw.insert(raw.end(), row, row + image.width * 3);
    }
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    Put32(header, static_cast<uint32_t>(image.width));
    Put32(header, static_cast<uint32_t>(image.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter choice, no interlace
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", Deflate(raw, stride));
    Chunk(png, "IEND", {});
    return WriteBytes(path, std::string(png.begin(), png.end()));
}

std::string SaveScreenshot(const std::string &name, HWND window, Image *image) {
    Image local;
    Image &shot = image ? *image : local;
    bool ok = window ? CaptureWindow(&shot, window) : CaptureScreen(&shot);
    if (!ok) return "";
    std::string path = ScreensFolder() + name;
    return WritePng(shot, path) ? path : "";
}

int CountPixels(const Image &image, uint32_t rgb, const RECT *area) {
    RECT all = {0, 0, image.width, image.height};
    RECT cut = all;
    if (area && !IntersectRect(&cut, area, &all)) return 0;
    int count = 0;
    for (int y = cut.top; y < cut.bottom; ++y) {
        for (int x = cut.left; x < cut.right; ++x) count += image.At(x, y) == rgb;
    }
    return count;
}

}  // namespace qdriver
