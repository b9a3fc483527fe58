#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/encode_symbol.h"
#include "cli/cli_runner.h"
#include "platform/atomic_file.h"
#include "platform/temp_dir.h"

namespace tirrel {
namespace {

class EncodeCommand : public ::testing::Test {
protected:
    CliRun Cli(const std::vector<std::string>& args) { return RunCli(args, dir_); }

    static std::string MatrixText(std::string_view gbk, int version, int level) {
        EncodedSymbolPtr s = EncodeSymbol(gbk, version, level);
        std::string text;
        for (int i = 0; s && i < s->width; ++i) {
            for (int j = 0; j < s->width; ++j)
                text += s->modules[size_t(i * s->width + j)] ? '1' : '0';
            text += '\n';
        }
        return text;
    }

    testing::TempDir dir_;
};

const char kVersionMessage[] = "版本号错误，请重新设置版本";

TEST_F(EncodeCommand, MatrixOfAKnownPayload) {
    const CliRun r = Cli({"encode", "--level", "M", "--hex", "48454c4c4f", "--matrix"});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.out, MatrixText("HELLO", 0, 1));
    // 21 rows of 21 digits, the top row starting with the finder's seven dark modules.
    EXPECT_EQ(r.out.size(), size_t(21 * 22));
    EXPECT_EQ(r.out.substr(0, 8), "11111110");
    EXPECT_TRUE(r.err.empty());
}

TEST_F(EncodeCommand, TextIsConvertedToGbkAndLevelsMap) {
    const CliRun r = Cli({"encode", "--version", "2", "--level", "4", "张三", "--matrix"});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.out, MatrixText("\xD5\xC5\xC8\xFD", 2, 0));
    const std::string path = dir_.File("payload.bin");
    ASSERT_EQ(WriteFileAtomically(path,
                                  "\x01\x10"
                                  "CARD:N:\xD5\xC5;;"),
              0);
    const CliRun f = Cli({"encode", "--file", path, "--level", "h", "--matrix"});
    EXPECT_EQ(f.exit_code, 0) << f.err;
    EXPECT_EQ(f.out, MatrixText("\x01\x10"
                                "CARD:N:\xD5\xC5;;",
                                0, 3));
}

TEST_F(EncodeCommand, VerboseTellsTheSegmentsEachChoiceMakes) {
    // 张三 in the Chinese mode: 4 + 4 + 8 + 2 x 13 = 42 bits, as bytes 4 + 8 + 32 = 44;
    // 12345: 4 + 10 + 10 + 7 = 31.
    const std::string chinese = "分段（字节）：汉字 4 · 数字 5\n数据位 73 / 152\n";
    const struct {
        std::vector<std::string> options;
        int exitCode;
        std::string report;
    } cases[] = {
        {{}, 0, "版本 1 · L · 掩模 0\n" + chinese},
        {{"--segmentation", "optimal"}, 0, "版本 1 · L · 掩模 0\n" + chinese},
        {{"--chinese", "bytes"},
         0,
         "版本 1 · L · 掩模 2\n分段（字节）：8位 9\n数据位 84 / 152\n"},  // 4 + 8 + 9 x 8 bits
        {{"--version", "1", "--level", "H"},
         1,
         "版本 1 · H · 超出 1 字节\n分段（字节）：汉字 4 · 数字 5\n数据位 73 / 72\n" +
             std::string(kVersionMessage) + "\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"encode", "张三12345", "--matrix", "--verbose"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliRun r = Cli(args);
        EXPECT_EQ(r.exit_code, c.exitCode);
        EXPECT_EQ(r.err, c.report);
    }
}

TEST_F(EncodeCommand, RefusalsExitWithOne) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"encode", "--version", "11", "A", "--matrix"},
          {"encode", "--version", "-1", "A", "--matrix"},
          {"encode", "--version", "1", "--level", "H", std::string(40, 'a'), "--matrix"},
          {"encode", "--version", "1", "--level", "2", "张张张张张张张", "--matrix"}}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.exit_code, 1) << args[2];
        EXPECT_EQ(r.err, std::string(kVersionMessage) + "\n");
        EXPECT_TRUE(r.out.empty());
    }
    const CliRun empty = Cli({"encode", "--hex", "", "--matrix"});
    EXPECT_EQ(empty.exit_code, 1);
    EXPECT_NE(empty.err.find("empty"), std::string::npos);
}

TEST_F(EncodeCommand, BadUsageAndBadInputExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {"encode", "--hex", "414", "--matrix"},       // odd hex
        {"encode", "--hex", "41zz", "--matrix"},      // not hex
        {"encode", "--hex", "410042", "--matrix"},    // zero byte
        {"encode", "--level", "X", "A", "--matrix"},  // unknown level
        {"encode", "--level", "5", "A", "--matrix"},
        {"encode", "--version", "two", "A", "--matrix"},  // bad number
        {"encode", "--file", dir_.File("none"), "--matrix"},
        {"encode", "A"},  // no output mode
        {"encode", "A", "--matrix", "-o", dir_.File("x.bmp")},
        {"encode", "A", "B", "--matrix"},                  // two payloads
        {"encode", "A", "--matrix", "--cell-pitch", "4"},  // pitch without a bitmap
        {"encode", "\xff", "--matrix"},                    // not UTF-8
        {"encode", "😀", "--matrix"},                       // not in GBK
        {"encode", "--version"},
        {"encode", "A", "-o", dir_.File("x.bmp"), "--cell-pitch", "2147483648"},  // beyond int
        {"encode", "A", "-o", dir_.File("x.bmp"), "--quiet-zone", "-2147483649"},
        {"frobnicate"},
        {},
    };
    for (const std::vector<std::string>& args : cases) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.exit_code, 2) << (args.size() > 1 ? args[1] + " " + args[2] : "");
        EXPECT_FALSE(r.err.empty());
        EXPECT_TRUE(r.out.empty());
    }
}

TEST_F(EncodeCommand, BitmapOutput) {
    const std::string path = dir_.File("symbol.bmp");
    const CliRun r = Cli({"encode", "HELLO", "-o", path});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes.size(), 40422u);  // 21 modules, pitch 4, quiet zone 4
    EXPECT_EQ(bytes.substr(0, 2), "BM");

    const std::string padded = dir_.File("padded.bmp");
    EXPECT_EQ(
        Cli({"encode", "HELLO", "-o", padded, "--cell-pitch", "5", "--quiet-zone", "4"}).exit_code,
        0);
    ASSERT_TRUE(ReadWholeFile(padded, bytes));
    EXPECT_EQ(bytes.size(), 63274u);
}

// The extension picks the format, --format overrides it, terminal text may go to stdout,
// and nothing is written under a name whose format is unknown.
TEST_F(EncodeCommand, TheOutputFormatFollowsTheExtensionOrFormat) {
    const std::string png = "\x89PNG", block = "\xE2\x96\x88";
    struct Case {
        std::vector<std::string> args;  // after the command and payload; "@" prefixes a file
        int exit;
        std::string file;    // where the image goes; empty: stdout
        std::string starts;  // its first bytes; empty: nothing written
    };
    const std::vector<Case> cases = {
        {{"-o", "@a.bmp"}, 0, "a.bmp", "BM"},
        {{"-o", "@a.PNG"}, 0, "a.PNG", png},
        {{"-o", "@a.Svg", "--fg", "1e3a8a", "--bg", "#FFFFFF00"}, 0, "a.Svg", "<?xml"},
        {{"-o", "@a.pdf", "--size-mm", "25.4"}, 0, "a.pdf", "%PDF-"},
        {{"-o", "@a.eps"}, 0, "a.eps", "%!PS-Adobe-3.0 EPSF-3.0"},
        {{"-o", "@a.txt", "--quiet-zone", "2"}, 0, "a.txt", block},
        {{"-o", "@b.bmp", "--format", "png"}, 0, "b.bmp", png},
        {{"-o", "@b.xyz", "--format", "ASCII"}, 0, "b.xyz", "    "},
        {{"--format", "utf8"}, 0, "", block},
        {{"-o", "@c.xyz"}, 2, "c.xyz", ""},
        {{"-o", "@noextension"}, 2, "noextension", ""},
        {{"-o", "@c.png", "--format", "gif"}, 2, "c.png", ""},
        {{"--format", "svg"}, 2, "", ""},
        {{"-o", "@d.txt", "--fg", "000000"}, 2, "d.txt", ""},
        {{"-o", "@d.png", "--size-mm", "40"}, 2, "d.png", ""},
        {{"-o", "@d.pdf", "--cell-pitch", "4"}, 2, "d.pdf", ""},
        {{"-o", "@d.pdf", "--size-mm", "0"}, 2, "d.pdf", ""},
        {{"-o", "@e.png", "--fg", "12345"}, 2, "e.png", ""},
        {{"-o", "@e.png", "--bg", "fffffg"}, 2, "e.png", ""},
    };
    for (const std::string command : {"encode", "make"}) {
        for (const Case& c : cases) {
            std::vector<std::string> args = {command};
            if (command == "encode")
                args.push_back("HELLO");
            else
                args.insert(args.end(), {"--dialect", "102", "--tab", "8", "TEXT=a"});
            for (const std::string& a : c.args)
                args.push_back(a[0] == '@' ? dir_.File(command + a.substr(1)) : a);
            const CliRun r = Cli(args);
            const std::string where = command + " " + c.args[0] + " " + c.args[1];
            EXPECT_EQ(r.exit_code, c.exit) << where << ": " << r.err;
            std::string bytes = r.out;
            if (!c.file.empty() && !ReadWholeFile(dir_.File(command + c.file), bytes)) bytes = "";
            EXPECT_EQ(bytes.substr(0, c.starts.size()), c.starts) << where;
            if (c.starts.empty()) {
                EXPECT_TRUE(bytes.empty()) << where;
            }
        }
    }
    const CliRun alike =
        Cli({"encode", "HELLO", "-o", dir_.File("f.png"), "--fg", "777777", "--bg", "999999"});
    EXPECT_EQ(alike.exit_code, 0);
    EXPECT_NE(alike.err.find("warning"), std::string::npos);
}

TEST_F(EncodeCommand, OversizedBitmapsAreRefusedAsUsageBeforeAnythingIsWritten) {
    const std::string path = dir_.File("big.bmp");
    ASSERT_EQ(WriteFileAtomically(path, "old"), 0);
    const std::vector<std::vector<std::string>> sizes = {
        {"--cell-pitch", "41032148", "--quiet-zone", "1377166898"},  // wraps a 32-bit stride
        {"--cell-pitch", "2000000000", "--quiet-zone", "0"},
        {"--cell-pitch", "2147483647", "--quiet-zone", "2147483647"},
        {"--cell-pitch", "3121", "--quiet-zone", "0"},  // 65,541 pixels a side
        {"--cell-pitch", "451", "--quiet-zone", "0"},   // 9,471 a side: over 256 MiB of pixels
    };
    for (const std::vector<std::string>& size : sizes) {
        for (std::vector<std::string> args :
             {std::vector<std::string>{"encode", "HELLO"},
              {"make", "--dialect", "102", "--tab", "8", "TEXT=a"}}) {
            args.insert(args.end(), {"--version", "1", "-o", path});
            args.insert(args.end(), size.begin(), size.end());
            const CliRun r = Cli(args);
            EXPECT_EQ(r.exit_code, 2) << args[0] << " " << size[1];
            EXPECT_EQ(r.err,
                      "tirrel-cli: the bitmap would be too large: lower --cell-pitch or "
                      "--quiet-zone\n");
        }
    }
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, "old");
}

TEST_F(EncodeCommand, NoFileIsLeftOnFailure) {
    const std::string path = dir_.File("out.bmp");
    EXPECT_EQ(Cli({"encode", "--version", "11", "A", "-o", path}).exit_code, 1);
    EXPECT_EQ(Cli({"encode", "A", "-o", path, "--cell-pitch", "0"}).exit_code, 2);
    EXPECT_EQ(Cli({"encode", "A", "-o", path, "--quiet-zone", "-1"}).exit_code, 2);
    EXPECT_FALSE(FileExists(path));
    const CliRun missing = Cli({"encode", "A", "-o", dir_.File("missing/out.bmp")});
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_FALSE(FileExists(dir_.File("missing/out.bmp")));
    // A refused encode leaves an existing file as it was.
    ASSERT_EQ(WriteFileAtomically(path, "old"), 0);
    EXPECT_EQ(Cli({"encode", "--version", "1", std::string(100, 'a'), "-o", path}).exit_code, 1);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, "old");
}

}  // namespace
}  // namespace tirrel
