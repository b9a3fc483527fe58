#include "encoder/error_correction.h"

#include <array>
#include <cstring>

#include "encoder/tables.h"

namespace tirrel::encoder {
namespace {

constexpr int kMaxDegree = 30;

// exp is doubled so that exp[log a + log b] needs no modulo.
struct FieldTables {
    std::array<uint8_t, 512> exp{};
    std::array<int, 256> log{};
};

constexpr FieldTables MakeFieldTables() {
    FieldTables t;
    int x = 1;
    for (int i = 0; i < 255; ++i) {
        t.exp[i] = uint8_t(x);
        t.exp[i + 255] = uint8_t(x);
        t.log[x] = i;
        x <<= 1;
        if (x & 0x100) x ^= 0x11D;
    }
    t.exp[510] = t.exp[0];
    t.exp[511] = t.exp[1];
    return t;
}

constexpr FieldTables kField = MakeFieldTables();

// For each degree, the generator polynomial (without its leading 1, highest power first)
// multiplied by every field element: the division step is then one table row XORed in.
using ProductRows = std::array<std::array<uint8_t, kMaxDegree>, 256>;

std::vector<ProductRows> MakeProductRows() {
    std::vector<ProductRows> all(kMaxDegree + 1);
    for (int degree = 1; degree <= kMaxDegree; ++degree) {
        uint8_t coef[kMaxDegree] = {};
        coef[degree - 1] = 1;
        uint8_t root = 1;
        for (int i = 0; i < degree; ++i) {
            for (int j = 0; j < degree; ++j) {
                coef[j] = GfMultiply(coef[j], root);
                if (j + 1 < degree) coef[j] ^= coef[j + 1];
            }
            root = GfMultiply(root, 0x02);
        }
        for (int factor = 0; factor < 256; ++factor)
            for (int j = 0; j < degree; ++j)
                all[size_t(degree)][size_t(factor)][size_t(j)] =
                    GfMultiply(coef[j], uint8_t(factor));
    }
    return all;
}

const ProductRows& ProductRowsOf(int degree) {
    static const std::vector<ProductRows> kRows = MakeProductRows();
    return kRows[size_t(degree)];
}

}  // namespace

uint8_t GfMultiply(uint8_t a, uint8_t b) {
    if (a == 0 || b == 0) return 0;
    return kField.exp[kField.log[a] + kField.log[b]];
}

std::vector<uint8_t> ReedSolomonRemainder(const uint8_t* data, int length, int degree) {
    const ProductRows& rows = ProductRowsOf(degree);
    uint8_t rem[kMaxDegree + 1] = {};
    for (int i = 0; i < length; ++i) {
        const std::array<uint8_t, kMaxDegree>& row = rows[data[i] ^ rem[0]];
        for (int k = 0; k < kMaxDegree; ++k)
            rem[k] = rem[k + 1] ^ row[size_t(k)];
    }
    return std::vector<uint8_t>(rem, rem + degree);
}

std::vector<int> BlockDataLengths(int version, Level level) {
    const int blocks = BlockCount(version, level);
    const int data = DataCodewords(version, level);
    const int long_blocks = data % blocks;
    std::vector<int> lengths(size_t(blocks), data / blocks);
    for (int b = blocks - long_blocks; b < blocks; ++b)
        lengths[size_t(b)] += 1;
    return lengths;
}

std::vector<uint8_t> AddErrorCorrection(const std::vector<uint8_t>& data, int version,
                                        Level level) {
    const std::vector<int> lengths = BlockDataLengths(version, level);
    const int degree = EccCodewordsPerBlock(version, level);
    const size_t blocks = lengths.size();

    std::vector<size_t> starts(blocks);
    std::vector<std::vector<uint8_t>> ecc(blocks);
    size_t at = 0;
    for (size_t b = 0; b < blocks; ++b) {
        starts[b] = at;
        ecc[b] = ReedSolomonRemainder(data.data() + at, lengths[b], degree);
        at += size_t(lengths[b]);
    }

    std::vector<uint8_t> out;
    out.reserve(size_t(TotalCodewords(version)));
    const int longest = lengths.back();
    for (int col = 0; col < longest; ++col)
        for (size_t b = 0; b < blocks; ++b)
            if (col < lengths[b]) out.push_back(data[starts[b] + size_t(col)]);
    for (int col = 0; col < degree; ++col)
        for (size_t b = 0; b < blocks; ++b)
            out.push_back(ecc[b][size_t(col)]);
    return out;
}

}  // namespace tirrel::encoder
