#include "encoder/error_correction.h"

#include <gtest/gtest.h>

#include "encoder/tables.h"

namespace tirrel::encoder {
namespace {

TEST(ReedSolomon, WorkedExampleHelloWorld1M) {
    // The data codewords of "HELLO WORLD" at 1-M and their ten error-correction codewords,
    // as the standard's worked examples give them.
    const std::vector<uint8_t> data = {32, 91, 11,  120, 209, 114, 220, 77,
                                       67, 64, 236, 17,  236, 17,  236, 17};
    EXPECT_EQ(ReedSolomonRemainder(data.data(), int(data.size()), 10),
              (std::vector<uint8_t>{196, 35, 39, 119, 235, 215, 231, 226, 93, 23}));
}

TEST(ReedSolomon, CodewordIsDivisibleByTheGenerator) {
    // Appending the remainder makes a code word: evaluating at every root gives zero.
    std::vector<uint8_t> msg;
    for (int i = 0; i < 40; ++i)
        msg.push_back(uint8_t(i * 37 + 11));
    for (int degree : {7, 18, 30}) {
        std::vector<uint8_t> word = msg;
        const std::vector<uint8_t> ecc = ReedSolomonRemainder(msg.data(), int(msg.size()), degree);
        word.insert(word.end(), ecc.begin(), ecc.end());
        uint8_t root = 1;
        for (int r = 0; r < degree; ++r) {
            uint8_t acc = 0;
            for (uint8_t c : word)
                acc = GfMultiply(acc, root) ^ c;
            EXPECT_EQ(acc, 0) << "degree " << degree << " root " << r;
            root = GfMultiply(root, 2);
        }
    }
}

TEST(Blocks, Version5QuartileHasTwoShortAndTwoLongBlocks) {
    EXPECT_EQ(BlockDataLengths(5, Level::kQ), (std::vector<int>{15, 15, 16, 16}));
    EXPECT_EQ(EccCodewordsPerBlock(5, Level::kQ), 18);
    std::vector<uint8_t> data(62);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = uint8_t(i);
    const std::vector<uint8_t> all = AddErrorCorrection(data, 5, Level::kQ);
    ASSERT_EQ(all.size(), size_t(TotalCodewords(5)));
    // Column by column: blocks start at 0, 15, 30 and 46.
    EXPECT_EQ((std::vector<uint8_t>(all.begin(), all.begin() + 8)),
              (std::vector<uint8_t>{0, 15, 30, 46, 1, 16, 31, 47}));
    // The long blocks' last codewords follow the fifteen common columns.
    EXPECT_EQ(all[60], 45);
    EXPECT_EQ(all[61], 61);
    // Then the error-correction codewords, interleaved the same way.
    const std::vector<uint8_t> ecc0 = ReedSolomonRemainder(data.data(), 15, 18);
    const std::vector<uint8_t> ecc3 = ReedSolomonRemainder(data.data() + 46, 16, 18);
    EXPECT_EQ(all[62], ecc0[0]);
    EXPECT_EQ(all[65], ecc3[0]);
    EXPECT_EQ(all[62 + 4 * 17 + 3], ecc3[17]);
}

TEST(Tables, DataCodewordsOfKnownSymbols) {
    EXPECT_EQ(DataCodewords(1, Level::kL), 19);
    EXPECT_EQ(DataCodewords(1, Level::kH), 9);
    EXPECT_EQ(DataCodewords(10, Level::kL), 274);
    EXPECT_EQ(DataCodewords(10, Level::kH), 122);
    EXPECT_EQ(DataCodewords(40, Level::kL), 2956);
    EXPECT_EQ(DataCodewords(40, Level::kH), 1276);
    for (int v = kMinVersion; v <= kMaxVersion; ++v)
        for (Level level : kLevels) {
            // Blocks never differ by more than one data codeword.
            const std::vector<int> lengths = BlockDataLengths(v, level);
            EXPECT_LE(lengths.back() - lengths.front(), 1);
        }
}

}  // namespace
}  // namespace tirrel::encoder
