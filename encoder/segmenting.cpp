#include "encoder/segmenting.h"

#include "encoder/tables.h"

namespace tirrel::encoder {
namespace {

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsAlphanumeric(unsigned char c) {
    return AlphanumericValue(c) >= 0;
}

unsigned char ByteAt(std::string_view text, size_t p) {
    return p < text.size() ? static_cast<unsigned char>(text[p]) : 0;
}

size_t DigitRunEnd(std::string_view text, size_t p) {
    while (p < text.size() && IsDigit(ByteAt(text, p)))
        ++p;
    return p;
}

size_t AlphanumericRunEnd(std::string_view text, size_t p) {
    while (p < text.size() && IsAlphanumeric(ByteAt(text, p)))
        ++p;
    return p;
}

// One splitter run: the payload, the widths that price a mode switch, and the output.
struct Splitter {
    std::string_view text;
    int num_width;
    int an_width;
    bool chinese;
    std::vector<Segment>& out;

    Mode At(size_t p) const {
        const Mode mode = ModeAt(text, p);
        return mode == Mode::kChinese && !chinese ? Mode::kByte : mode;
    }

    size_t Append(Mode mode, size_t p, size_t n) {
        out.push_back(Segment{mode, std::string(text.substr(p, n))});
        return n;
    }

    size_t EatChinese(size_t p) {
        size_t q = p;
        while (q < text.size() && At(q) == Mode::kChinese)
            q += 2;
        return Append(Mode::kChinese, p, q - p);
    }

    // Always takes at least the byte at p: at p itself the switch tests do not apply,
    // otherwise a digit run before an alphanumeric and a high byte would yield an empty
    // segment and the split would never advance.
    size_t EatByte(size_t p) {
        size_t q = p;
        while (q < text.size()) {
            const Mode mode = At(q);
            if (mode == Mode::kChinese) break;
            if (mode == Mode::kNumeric) {
                const size_t r = DigitRunEnd(text, q);
                const int dif =
                    8 * int(q - p) + NumericBits(int(r - q)) + 4 + num_width - 8 * int(r - p);
                if (q != p && dif < 0) break;
                q = r;
            } else if (mode == Mode::kAlphanumeric) {
                const size_t r = AlphanumericRunEnd(text, q);
                const int dif =
                    8 * int(q - p) + AlphanumericBits(int(r - q)) + 4 + an_width - 8 * int(r - p);
                if (q != p && dif < 0) break;
                q = r;
            } else {
                ++q;
            }
        }
        return Append(Mode::kByte, p, q - p);
    }

    size_t EatAlphanumeric(size_t p) {
        size_t q = p;
        while (q < text.size() && IsAlphanumeric(ByteAt(text, q))) {
            if (IsDigit(ByteAt(text, q))) {
                const size_t r = DigitRunEnd(text, q);
                if (AlphanumericBits(int(q - p)) + NumericBits(int(r - q)) + 4 + num_width -
                        AlphanumericBits(int(r - p)) <
                    0)
                    break;
                q = r;
            } else {
                ++q;
            }
        }
        const int run = int(q - p);
        if (ByteAt(text, q) >= 0x80) {
            const int dif = AlphanumericBits(run) + 4 + an_width + 8 - 8 * (run + 1);
            if (dif > 0) return EatByte(p);
        }
        return Append(Mode::kAlphanumeric, p, size_t(run));
    }

    size_t EatNumeric(size_t p) {
        const int run = int(DigitRunEnd(text, p) - p);
        const unsigned char b = ByteAt(text, p + size_t(run));
        if (b >= 0x80) {
            const int dif = NumericBits(run) + 4 + num_width + 8 - 8 * (run + 1);
            if (dif > 0) return EatByte(p);
        } else if (IsAlphanumeric(b)) {
            const int dif = NumericBits(run) + 4 + num_width + 6 - AlphanumericBits(run + 1);
            if (dif > 0) return EatAlphanumeric(p);
        }
        return Append(Mode::kNumeric, p, size_t(run));
    }

    void Run() {
        size_t p = 0;
        while (p < text.size()) {
            switch (At(p)) {
                case Mode::kNumeric:
                    p += EatNumeric(p);
                    break;
                case Mode::kAlphanumeric:
                    p += EatAlphanumeric(p);
                    break;
                case Mode::kChinese:
                    p += EatChinese(p);
                    break;
                case Mode::kByte:
                    p += EatByte(p);
                    break;
            }
        }
    }
};

int EstimatedBits(const Segment& s, int version) {
    const int n = int(s.bytes.size());
    int payload = 0;
    switch (s.mode) {
        case Mode::kNumeric:
            payload = NumericBits(n);
            break;
        case Mode::kAlphanumeric:
            payload = AlphanumericBits(n);
            break;
        case Mode::kByte:
            payload = 8 * n;
            break;
        case Mode::kChinese:
            payload = 13 * (n / 2);
            break;
    }
    const int width = CountWidth(s.mode, version);
    const int headers = (payload + (1 << width) - 1) >> width;
    return payload + (width + 4) * headers;
}

}  // namespace

int CountWidth(Mode mode, int version) {
    // clang-format off
    static constexpr int kWidths[4][3] = {
        // versions:          1-9  10-26  27-40
        /* numeric      */ {   10,    12,    14},
        /* alphanumeric */ {    9,    11,    13},
        /* 8-bit        */ {    8,    16,    16},
        /* Chinese      */ {    8,    10,    12},
    };
    // clang-format on
    const int group = version <= 9 ? 0 : version <= 26 ? 1 : 2;
    return kWidths[static_cast<int>(mode)][group];
}

int NumericBits(int n) {
    return 10 * (n / 3) + (n % 3 == 1 ? 4 : 0) + (n % 3 == 2 ? 7 : 0);
}

int AlphanumericBits(int n) {
    return 11 * (n / 2) + 6 * (n % 2);
}

int AlphanumericValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    switch (c) {
        case ' ':
            return 36;
        case '$':
            return 37;
        case '%':
            return 38;
        case '*':
            return 39;
        case '+':
            return 40;
        case '-':
            return 41;
        case '.':
            return 42;
        case '/':
            return 43;
        case ':':
            return 44;
        default:
            return -1;
    }
}

Mode ModeAt(std::string_view text, size_t p) {
    const unsigned char first = ByteAt(text, p);
    if (IsDigit(first)) return Mode::kNumeric;
    if (first < 0x80 && IsAlphanumeric(first)) return Mode::kAlphanumeric;
    const unsigned char second = ByteAt(text, p + 1);
    if (second == 0) return Mode::kByte;
    const unsigned code = first * 256u + second;
    const bool in_gb2312 = (code >= 0xA1A1 && code <= 0xAAFE) || (code >= 0xB0A1 && code <= 0xFAFE);
    if (in_gb2312 && second >= 0xA1 && second <= 0xFE) return Mode::kChinese;
    return Mode::kByte;
}

std::vector<Segment> SplitSegments(std::string_view payload, int version, bool chinese) {
    std::vector<Segment> segments;
    Splitter{payload, CountWidth(Mode::kNumeric, version), CountWidth(Mode::kAlphanumeric, version),
             chinese, segments}
        .Run();
    return segments;
}

int EstimateVersion(const std::vector<Segment>& segments, Level level) {
    int widths_of = 0;
    for (;;) {
        long bits = 0;
        for (const Segment& s : segments)
            bits += EstimatedBits(s, widths_of);
        if (bits > 8L * TotalCodewords(kMaxVersion)) return -1;
        const int found = SmallestVersionHolding(int((bits + 7) / 8), level);
        if (found <= widths_of) return found;
        widths_of = found;
    }
}

}  // namespace tirrel::encoder
