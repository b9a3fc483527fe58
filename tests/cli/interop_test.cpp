// Other readers against our symbols: zxing-cpp (through decode) and zbar's zbarimg, when it is
// installed. In 8-bit mode both read exactly the payload bytes; in the Chinese mode zxing-cpp
// does, and what zbar reads is only reported.
#include <gtest/gtest.h>

#include <cstdio>

#include "cli/cli_runner.h"

namespace tirrel {
namespace {

struct Record {
    const char* dialect;
    const char* tab;
    std::vector<std::string> fields;
};

const std::vector<Record> kRecords = {
    {"100",
     "0",
     {"N=张伟", "COR=中国移动通信集团", "ADR=北京市西城区金融大街29号", "M=13800138000"}},
    {"100", "3", {"SUB=通知", "TXT=会议改在三楼会议室，下午两点开始。"}},
    {"101", "0", {"N=李娜", "DIV=市场部", "ADR=上海市浦东新区世纪大道100号", "TEL=021-58881234"}},
    {"101", "3", {"SUB=地址", "TXT=广州市天河区体育西路191号"}},
    {"102", "0", {"N=王芳", "TIL=经理", "ADR=深圳市南山区科技园南区", "EM=wang.fang@example.cn"}},
    {"102", "3", {"SUB=留言", "TXT=请于周五前回复，谢谢！"}},
};

std::string Unhex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += char(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

// What zbarimg reads from the image as raw bytes; nothing when it reads no symbol.
std::string ZbarRead(const std::string& png, const testing::TempDir& dir) {
    const std::string out = dir.File("zbar.out");
    const std::string cmd =
        "zbarimg --raw -q -Sbinary " + Quote(png) + " >" + Quote(out) + " 2>/dev/null";
    std::string bytes;
    if (std::system(cmd.c_str()) != 0 || !ReadWholeFile(out, bytes)) return {};
    return bytes;
}

TEST(Interop, ByteModeReadsEverywhereAndTheChineseModeWithZxing) {
    testing::TempDir dir;
    const bool haveZbar = std::system("command -v zbarimg >/dev/null 2>&1") == 0;
    int zbarRead[2] = {0, 0};
    for (const Record& record : kRecords) {
        for (int mode = 0; mode < 2; ++mode) {
            const std::string png = dir.File("symbol.png");
            std::vector<std::string> args = {"make", "--dialect", record.dialect, "--tab",
                                             record.tab};
            args.insert(args.end(), record.fields.begin(), record.fields.end());
            args.insert(args.end(),
                        {"--chinese", mode == 0 ? "hanzi" : "bytes", "--payload-hex", "-o", png});
            const CliRun made = RunCli(args, dir);
            ASSERT_EQ(made.exit_code, 0) << made.err;
            const std::string payload = Unhex(made.out.substr(0, made.out.size() - 1));
            const CliRun zxing = RunCli({"decode", "--hex", png}, dir);
            EXPECT_EQ(zxing.out.substr(0, zxing.out.find('\n')),
                      "hex: " + made.out.substr(0, made.out.size() - 1))
                << record.dialect << "/" << record.tab << " mode " << mode;
            if (!haveZbar) continue;
            const bool read = ZbarRead(png, dir) == payload;
            zbarRead[mode] += read;
            if (mode == 1) {
                EXPECT_TRUE(read) << record.dialect << "/" << record.tab;
            }
        }
    }
    if (!haveZbar) GTEST_SKIP() << "zbarimg is not installed";
    std::printf("zbar read %d of %zu in the Chinese mode, %d of %zu as 8-bit bytes\n", zbarRead[0],
                kRecords.size(), zbarRead[1], kRecords.size());
}

}  // namespace
}  // namespace tirrel
