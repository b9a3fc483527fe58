#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/atomic_file.h"
#include "platform/gbk.h"
#include "platform/temp_dir.h"

namespace tirrel {
namespace {

using testing::TempDir;

TEST(Gbk, ConvertsBothWaysAndRefusesWhatGbkLacks) {
    EXPECT_EQ(Utf8ToGbk("张三"), "\xD5\xC5\xC8\xFD");
    EXPECT_EQ(Utf8ToGbk("淺"), "\x9C\x5C");
    EXPECT_EQ(GbkToUtf8("\xD5\xC5\xC8\xFD"), "张三");
    EXPECT_EQ(Utf8ToGbk("\xF0\x9F\x98\x80"), std::nullopt);  // an emoji
    EXPECT_EQ(Utf8ToGbk("\xC3"), std::nullopt);              // cut UTF-8
}

TEST(Gbk, TellsValidBytesAndNamesWhatItCannotHold) {
    struct Case {
        std::string_view gbk;
        bool valid;
    };
    const Case gbkCases[] = {
        {"", true},          {"ab\xD5\xC5", true}, {"\x81\x40", true},
        {"\xD5", false},     {"a\xD5", false},     {"\xD5\x7F", false},
        {"\x81\xFF", false}, {"\xFF", false},      {"\xA2\xA0", false},
    };
    for (const Case& c : gbkCases)
        EXPECT_EQ(IsValidGbk(c.gbk), c.valid) << ::testing::PrintToString(c.gbk);

    struct Refusal {
        std::string_view utf8, first;
    };
    const Refusal refusals[] = {
        {"张三abc", ""},
        {"a\xF0\x9F\x98\x80"
         "b\xF0\x9F\x98\x81",
         "\xF0\x9F\x98\x80"},       // emoji
        {"张\xE2\x82", "\xE2"},     // cut sequence
        {"a\xC0\xAFz", "\xC0"},     // overlong
        {"a\xED\xA0\x80", "\xED"},  // surrogate
    };
    for (const Refusal& r : refusals)
        EXPECT_EQ(FirstCharacterGbkCannotHold(r.utf8), r.first) << ::testing::PrintToString(r.utf8);
}

TEST(AtomicFile, ReplacesWholeFileAndLeavesNoTemporary) {
    TempDir dir;
    const std::string path = dir.File("f.bin");
    ASSERT_EQ(WriteFileAtomically(path, "first version"), 0);
    ASSERT_EQ(WriteFileAtomically(path, std::string("2\0nd", 4)), 0);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, std::string("2\0nd", 4));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
    EXPECT_EQ(WriteFileAtomically(dir.File("no/such/folder"), "x"), -1);
    EXPECT_FALSE(ReadWholeFile(dir.File("missing"), bytes));
}

}  // namespace
}  // namespace tirrel
