// Writes the local banner movie "736-60.swf": an uncompressed SWF with one 736 x 60 pixel
// frame, a background colour and nothing else.
//   c++ -std=c++20 make_banner_swf.cpp -o make_banner_swf && ./make_banner_swf 736-60.swf
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void Le16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(v & 0xff);
    out.push_back((v >> 8) & 0xff);
}

// The frame RECT: field width 15 (enough for 14720 twips), then xmin xmax ymin ymax, most
// significant bit first, padded to a whole byte.
void Rect(std::vector<std::uint8_t>& out, unsigned width_twips, unsigned height_twips) {
    const unsigned bits = 15;
    std::vector<bool> stream;
    auto put = [&](unsigned value, unsigned count) {
        for (unsigned i = count; i-- > 0;)
            stream.push_back((value >> i) & 1u);
    };
    put(bits, 5);
    for (unsigned f : {0u, width_twips, 0u, height_twips})
        put(f, bits);
    while (stream.size() % 8 != 0)
        stream.push_back(false);
    for (std::size_t i = 0; i < stream.size(); i += 8) {
        std::uint8_t byte = 0;
        for (std::size_t j = 0; j < 8; ++j)
            byte = static_cast<std::uint8_t>(byte << 1 | stream[i + j]);
        out.push_back(byte);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.swf\n", argv[0]);
        return 2;
    }
    std::vector<std::uint8_t> swf = {'F', 'W', 'S', 10, 0, 0, 0, 0};
    Rect(swf, 736 * 20, 60 * 20);
    Le16(swf, 12 << 8);       // 12 frames per second, 8.8 fixed point
    Le16(swf, 1);             // one frame
    Le16(swf, (9 << 6) | 3);  // SetBackgroundColor
    swf.insert(swf.end(), {0x2d, 0x6c, 0xa2});
    Le16(swf, 1 << 6);  // ShowFrame
    Le16(swf, 0);       // End
    const std::uint32_t length = static_cast<std::uint32_t>(swf.size());
    for (int i = 0; i < 4; ++i)
        swf[4 + i] = (length >> (8 * i)) & 0xff;

    std::FILE* f = std::fopen(argv[1], "wb");
    if (f == nullptr) return 1;
    const bool ok = std::fwrite(swf.data(), 1, swf.size(), f) == swf.size();
    return std::fclose(f) == 0 && ok ? 0 : 1;
}
