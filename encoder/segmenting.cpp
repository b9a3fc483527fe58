#include "encoder/segmenting.h"

#include "encoder/tables.h"

namespace tirrel::encoder {
namespace {

bool is_digit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool is_alphanumeric(unsigned char c) {
    return alphanumeric_value(c) >= 0;
}

unsigned char byte_at(std::string_view text, size_t p) {
    return p < text.size() ? static_cast<unsigned char>(text[p]) : 0;
}

size_t digit_run_end(std::string_view text, size_t p) {
    while (p < text.size() && is_digit(byte_at(text, p)))
        ++p;
    return p;
}

size_t alphanumeric_run_end(std::string_view text, size_t p) {
    while (p < text.size() && is_alphanumeric(byte_at(text, p)))
        ++p;
    return p;
}

// One splitter run: the payload, the widths that price a mode switch, and the output.
struct Splitter {
    std::string_view text;
    int num_width;
    int an_width;
    std::vector<Segment>& out;

    size_t append(Mode mode, size_t p, size_t n) {
        out.push_back(Segment{mode, std::string(text.substr(p, n))});
        return n;
    }

    size_t eat_chinese(size_t p) {
        size_t q = p;
        while (q < text.size() && mode_at(text, q) == Mode::kChinese)
            q += 2;
        return append(Mode::kChinese, p, q - p);
    }

    // Always takes at least the byte at p: at p itself the switch tests do not apply,
    // otherwise a digit run before an alphanumeric and a high byte would yield an empty
    // segment and the split would never advance.
    size_t eat_byte(size_t p) {
        size_t q = p;
        while (q < text.size()) {
            const Mode mode = mode_at(text, q);
            if (mode == Mode::kChinese) break;
            if (mode == Mode::kNumeric) {
                const size_t r = digit_run_end(text, q);
                const int dif =
                    8 * int(q - p) + numeric_bits(int(r - q)) + 4 + num_width - 8 * int(r - p);
                if (q != p && dif < 0) break;
                q = r;
            } else if (mode == Mode::kAlphanumeric) {
                const size_t r = alphanumeric_run_end(text, q);
                const int dif =
                    8 * int(q - p) + alphanumeric_bits(int(r - q)) + 4 + an_width - 8 * int(r - p);
                if (q != p && dif < 0) break;
                q = r;
            } else {
                ++q;
            }
        }
        return append(Mode::kByte, p, q - p);
    }

    size_t eat_alphanumeric(size_t p) {
        size_t q = p;
        while (q < text.size() && is_alphanumeric(byte_at(text, q))) {
            if (is_digit(byte_at(text, q))) {
                const size_t r = digit_run_end(text, q);
                if (alphanumeric_bits(int(q - p)) + numeric_bits(int(r - q)) + 4 + num_width -
                        alphanumeric_bits(int(r - p)) <
                    0)
                    break;
                q = r;
            } else {
                ++q;
            }
        }
        const int run = int(q - p);
        if (byte_at(text, q) >= 0x80) {
            const int dif = alphanumeric_bits(run) + 4 + an_width + 8 - 8 * (run + 1);
            if (dif > 0) return eat_byte(p);
        }
        return append(Mode::kAlphanumeric, p, size_t(run));
    }

    size_t eat_numeric(size_t p) {
        const int run = int(digit_run_end(text, p) - p);
        const unsigned char b = byte_at(text, p + size_t(run));
        if (b >= 0x80) {
            const int dif = numeric_bits(run) + 4 + num_width + 8 - 8 * (run + 1);
            if (dif > 0) return eat_byte(p);
        } else if (is_alphanumeric(b)) {
            const int dif = numeric_bits(run) + 4 + num_width + 6 - alphanumeric_bits(run + 1);
            if (dif > 0) return eat_alphanumeric(p);
        }
        return append(Mode::kNumeric, p, size_t(run));
    }

    void run() {
        size_t p = 0;
        while (p < text.size()) {
            switch (mode_at(text, p)) {
                case Mode::kNumeric:
                    p += eat_numeric(p);
                    break;
                case Mode::kAlphanumeric:
                    p += eat_alphanumeric(p);
                    break;
                case Mode::kChinese:
                    p += eat_chinese(p);
                    break;
                case Mode::kByte:
                    p += eat_byte(p);
                    break;
            }
        }
    }
};

int estimated_bits(const Segment& s, int version) {
    const int n = int(s.bytes.size());
    int payload = 0;
    switch (s.mode) {
        case Mode::kNumeric:
            payload = numeric_bits(n);
            break;
        case Mode::kAlphanumeric:
            payload = alphanumeric_bits(n);
            break;
        case Mode::kByte:
            payload = 8 * n;
            break;
        case Mode::kChinese:
            payload = 13 * (n / 2);
            break;
    }
    const int width = count_width(s.mode, version);
    const int headers = (payload + (1 << width) - 1) >> width;
    return payload + (width + 4) * headers;
}

}  // namespace

int count_width(Mode mode, int version) {
    static constexpr int kWidths[4][3] = {{10, 12, 14}, {9, 11, 13}, {8, 16, 16}, {8, 10, 12}};
    const int group = version <= 9 ? 0 : version <= 26 ? 1 : 2;
    return kWidths[static_cast<int>(mode)][group];
}

int numeric_bits(int n) {
    return 10 * (n / 3) + (n % 3 == 1 ? 4 : 0) + (n % 3 == 2 ? 7 : 0);
}

int alphanumeric_bits(int n) {
    return 11 * (n / 2) + 6 * (n % 2);
}

int alphanumeric_value(unsigned char c) {
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

Mode mode_at(std::string_view text, size_t p) {
    const unsigned char first = byte_at(text, p);
    if (is_digit(first)) return Mode::kNumeric;
    if (first < 0x80 && is_alphanumeric(first)) return Mode::kAlphanumeric;
    const unsigned char second = byte_at(text, p + 1);
    if (second == 0) return Mode::kByte;
    const unsigned code = first * 256u + second;
    const bool in_gb2312 = (code >= 0xA1A1 && code <= 0xAAFE) || (code >= 0xB0A1 && code <= 0xFAFE);
    if (in_gb2312 && second >= 0xA1 && second <= 0xFE) return Mode::kChinese;
    return Mode::kByte;
}

std::vector<Segment> split_segments(std::string_view payload, int version) {
    std::vector<Segment> segments;
    Splitter{payload, count_width(Mode::kNumeric, version),
             count_width(Mode::kAlphanumeric, version), segments}
        .run();
    return segments;
}

int estimate_version(const std::vector<Segment>& segments, int level) {
    int widths_of = 0;
    for (;;) {
        long bits = 0;
        for (const Segment& s : segments)
            bits += estimated_bits(s, widths_of);
        if (bits > 8L * total_codewords(kMaxVersion)) return -1;
        const int found = smallest_version_holding(int((bits + 7) / 8), level);
        if (found <= widths_of) return found;
        widths_of = found;
    }
}

}  // namespace tirrel::encoder
