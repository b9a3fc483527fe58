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
