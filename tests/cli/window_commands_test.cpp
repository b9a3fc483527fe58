// tirrel-cli make and load, end to end: a headless window driven as a user drives it.
#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "platform/gbk.h"

namespace tirrel {
namespace {

const std::string kVersionMessage = "版本号错误，请重新设置版本";

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes)
        out += {digits[c >> 4], digits[c & 15]};
    return out;
}

class WindowCommands : public ::testing::Test {
protected:
    CliRun Cli(const std::vector<std::string>& args) { return RunCli(args, dir_); }
    testing::TempDir dir_;
};

TEST_F(WindowCommands, MakeTypesFieldsIntoTheTabOfTheDialect) {
    CliRun r = Cli({"make", "--dialect", "101", "--tab", "0", "N=张三", "COR=北京:一", "M=123",
                    "EM=a:b", "--payload-hex"});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.out, Hex(std::string("\x01\x20", 2) +
                         *Utf8ToGbk("CARD:N:张三;COR:北京:一;M:123;EM:a%:b;;")) +
                         "\n");
    // The custom page's text, and the same payload through encode gives the same matrix.
    CliRun custom = Cli({"make", "--dialect", "102", "--tab", "8", "TEXT=abc;d", "--matrix"});
    CliRun encode = Cli({"encode", "abc;d", "--matrix"});
    EXPECT_EQ(custom.exit_code, 0) << custom.err;
    EXPECT_EQ(custom.out, encode.out);
    // Nothing typed: an empty line.
    CliRun empty = Cli({"make", "--dialect", "100", "--tab", "4", "--payload-hex"});
    EXPECT_EQ(empty.exit_code, 0);
    EXPECT_EQ(empty.out, "\n");
}

TEST_F(WindowCommands, MakeRefusesWhatTheWindowWouldNotTake) {
    for (const std::vector<std::string>& args : {
             std::vector<std::string>{"make", "--dialect", "101", "--tab", "0",
                                      "URL=x"},                    // disabled
             {"make", "--dialect", "102", "--tab", "9", "N=x"},    // no tab 9
             {"make", "--dialect", "101", "--tab", "7"},           // 7 tabs
             {"make", "--dialect", "102", "--tab", "0", "TXT=x"},  // no such key
             {"make", "--dialect", "102", "--tab", "0", "N=😀"},    // not GBK
             {"make", "--dialect", "103", "--tab", "0"},
             {"make", "--tab", "0"},
         }) {
        CliRun r = Cli(args);
        EXPECT_EQ(r.exit_code, 2) << args.back();
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
}

TEST_F(WindowCommands, AnUnencodablePayloadIsStillPrintedButExitsWithOne) {
    CliRun r = Cli({"make", "--dialect", "102", "--tab", "3", "TXT=" + std::string(100, 'a'),
                    "--version", "2", "--level", "H", "--payload-hex", "--matrix"});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.out,
              Hex(std::string("\x11\x10", 2) + "DTXT:TXT:" + std::string(100, 'a') + ";;") + "\n");
    EXPECT_EQ(r.err, kVersionMessage + "\n");  // once, for the final payload only
}

TEST_F(WindowCommands, SavedInformationFilesLoadBackToTheSamePayloadAndSymbol) {
    const std::string sig = dir_.File("wad.sig");
    CliRun made = Cli({"make", "--dialect", "102", "--tab", "5", "BN=Weather", "INTR=Daily: sun",
                       "URL=/w?a=1;b=2", "--payload-hex", "--matrix", "--save-sig", sig});
    ASSERT_EQ(made.exit_code, 0) << made.err;
    CliRun loaded = Cli({"load", sig, "--payload-hex", "--matrix"});
    EXPECT_EQ(loaded.exit_code, 0) << loaded.err;
    EXPECT_EQ(loaded.out, made.out);
    std::string file;
    ASSERT_TRUE(ReadWholeFile(sig, file));
    EXPECT_EQ(file,
              "[APP]\r\nVERSION=1110\r\nTYPE=WAD\r\nINTR=Daily: sun\r\nBN=Weather\r\n"
              "URL=/w?a=1;b=2\r\n");
}

TEST_F(WindowCommands, LoadRefusesABadFileWithNothingOnStdout) {
    const std::string phone = dir_.File("phone.sig");
    ASSERT_EQ(WriteFileAtomically(phone, "[APP]\r\nVERSION=1110\r\nTYPE=PHONE\r\nSUB=x\r\n"), 0);
    for (const std::string& file : {phone, dir_.File("missing.sig")}) {
        CliRun r = Cli({"load", file, "--payload-hex"});
        EXPECT_EQ(r.exit_code, 1);
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(r.err, "读入信息文件出错！\n");
    }
    EXPECT_EQ(Cli({"load", "--matrix"}).exit_code, 2);
}

TEST_F(WindowCommands, MakeWritesTheBitmapWithTheGivenPitchAndZone) {
    const std::string bmp = dir_.File("card.bmp");
    CliRun r = Cli({"make", "--dialect", "102", "--tab", "0", "N=x", "-o", bmp, "--cell-pitch", "5",
                    "--quiet-zone", "4"});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(bmp, bytes));
    EXPECT_EQ(bytes.size(), 63274u);  // 21 modules: 145 x 145 pixels, one pad byte per row
}

// Every field of a business card filled as a real one is: the greedy split is too long for
// version 10-L, the smallest one fits.
const std::vector<std::string> kFullCard = {"N=欧阳建国",
                                            "TIL=高级软件工程师",
                                            "DIV=移动研发中心",
                                            "COR=北京华信科技发展有限公司",
                                            "ADR=北京市海淀区中关村南大街十二号院三号楼五层",
                                            "ZIP=100081",
                                            "TEL=010-62345678",
                                            "M=13912345678",
                                            "FAX=010-62345679",
                                            "EM=ouyang.jg@huaxin-tech.com",
                                            "URL=http://www.huaxin-tech.com/team/ouyang.html"};

TEST_F(WindowCommands, AFullCardFitsAndReadsBackToItsPayload) {
    std::vector<std::string> args = {"make", "--dialect", "102", "--tab", "0"};
    args.insert(args.end(), kFullCard.begin(), kFullCard.end());
    const std::string png = dir_.File("card.png");
    args.insert(args.end(), {"--payload-hex", "-o", png});
    CliRun made = Cli(args);
    ASSERT_EQ(made.exit_code, 0) << made.err;
    EXPECT_EQ(made.out.size(), 2 * 268 + 1);
    CliRun read = Cli({"decode", "--hex", png});
    ASSERT_EQ(read.exit_code, 0) << read.err;
    EXPECT_EQ(read.out.substr(0, read.out.find('\n')), "hex: " + made.out.substr(0, 2 * 268));
}

}  // namespace
}  // namespace tirrel
