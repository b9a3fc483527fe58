// tirrel-cli batch and decode and the standard streams, end to end.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "cli/cli_runner.h"

namespace tirrel {
namespace {

namespace fs = std::filesystem;

class BatchCommand : public ::testing::Test {
protected:
    CliRun Cli(const std::vector<std::string>& args) { return RunCli(args, dir_); }

    // Every file below `folder`, by its path relative to it, with its bytes.
    std::map<std::string, std::string> Files(const std::string& folder) const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(folder)) {
            std::string bytes;
            if (e.is_regular_file() && ReadWholeFile(e.path().string(), bytes))
                files[fs::relative(e.path(), folder).string()] = bytes;
        }
        return files;
    }

    testing::TempDir dir_;
};

// The awkward shapes of real spreadsheets: a byte-order mark, CR LF, a quoted comma, quote and
// line break, a blank line, rows that fail in the middle, no final line feed.
const char kCards[] =
    "\xEF\xBB\xBFN,M,ADR\r\n"
    "张三,13800000000,\"北京,海淀\r\n一号\"\r\n"
    "\r\n"
    "李四,139,\"say \"\"hi\"\"\"\r\n"
    "王五,1,😀\r\n"
    "赵六,2\r\n"
    "张三,3,x";

TEST_F(BatchCommand, EveryRowGivesTheFileMakeGivesOrItsError) {
    ASSERT_EQ(WriteFileAtomically(dir_.File("cards.csv"), kCards), 0);
    const CliRun r = Cli({"batch", dir_.File("cards.csv"), "--dialect", "102", "--tab", "0", "-o",
                          dir_.File("out"), "--name", "{N}", "--save-sig"});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.err.find("row 3: column 3 ADR: GBK cannot hold '😀'\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("row 4: 2 fields where the header has 3\n"), std::string::npos);
    EXPECT_NE(r.err.find("3 written, 2 failed"), std::string::npos);

    struct Row {
        std::string name;
        std::vector<std::string> fields;
    };
    const std::vector<Row> rows = {
        {"张三", {"N=张三", "M=13800000000", "ADR=北京,海淀\r\n一号"}},
        {"李四", {"N=李四", "M=139", "ADR=say \"hi\""}},
        {"张三-2", {"N=张三", "M=3", "ADR=x"}},
    };
    std::set<std::string> expected;
    for (const Row& row : rows) {
        std::vector<std::string> make = {"make", "--dialect", "102", "--tab", "0"};
        make.insert(make.end(), row.fields.begin(), row.fields.end());
        make.insert(make.end(), {"-o", dir_.File("made.png"), "--save-sig", dir_.File("made.sig"),
                                 "--payload-hex"});
        const CliRun made = Cli(make);
        ASSERT_EQ(made.exit_code, 0) << made.err;
        std::string png, sig, batchPng, batchSig;
        ASSERT_TRUE(ReadWholeFile(dir_.File("made.png"), png));
        ASSERT_TRUE(ReadWholeFile(dir_.File("made.sig"), sig));
        ASSERT_TRUE(ReadWholeFile(dir_.File("out/" + row.name + ".png"), batchPng)) << row.name;
        ASSERT_TRUE(ReadWholeFile(dir_.File("out/" + row.name + ".sig"), batchSig));
        EXPECT_EQ(batchPng, png) << row.name;
        EXPECT_EQ(batchSig, sig) << row.name;
        // zxing-cpp reads back the payload make printed.
        const CliRun decoded = Cli({"decode", dir_.File("out/" + row.name + ".png"), "--hex"});
        EXPECT_EQ(decoded.out.substr(0, decoded.out.find('\n') + 1), "hex: " + made.out);
        expected.insert({row.name + ".png", row.name + ".sig"});
    }
    std::set<std::string> names;
    for (const auto& [name, bytes] : Files(dir_.File("out")))
        names.insert(name);
    EXPECT_EQ(names, expected);
}

TEST_F(BatchCommand, TheFilesDoNotDependOnTheThreadsAndNoNameLeavesTheFolder) {
    std::string table = "N\n../../escaped\n/etc/passwd\n.\n..\n.hidden\na\\b\n";
    for (int i = 0; i < 40; ++i)
        table += "名" + std::to_string(i % 7) + "\n";
    ASSERT_EQ(WriteFileAtomically(dir_.File("t.tsv"), table), 0);
    std::map<std::string, std::string> first;
    for (const std::string jobs : {"1", "4"}) {
        const std::string out = dir_.File("in/j" + jobs);
        const CliRun r = Cli({"batch", dir_.File("t.tsv"), "--dialect", "101", "--tab", "0", "-o",
                              out, "-j", jobs, "--name", "../{N}/{row}"});
        EXPECT_EQ(r.exit_code, 0) << r.err;
        const std::map<std::string, std::string> files = Files(out);
        EXPECT_EQ(files.size(), 46u);
        for (const auto& [name, bytes] : files)
            EXPECT_EQ(name.find('/'), std::string::npos) << name;
        if (first.empty())
            first = files;
        else
            EXPECT_EQ(files, first);
    }
    // Nothing beside the two output folders.
    EXPECT_EQ(Files(dir_.File("in")).size(), 2 * first.size());
    EXPECT_TRUE(first.count("_._.._.._escaped_1.png")) << first.begin()->first;
}

TEST_F(BatchCommand, HeadersAndOptionsAreRefusedBeforeAnyOutput) {
    ASSERT_EQ(WriteFileAtomically(dir_.File("bad.csv"), "N,XYZ\na,b\n"), 0);
    ASSERT_EQ(WriteFileAtomically(dir_.File("ok.csv"), "N\na\n"), 0);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{dir_.File("bad.csv")}, "column 2 'XYZ': the page has no such field"},
        {{dir_.File("ok.csv"), "--name", "{M}"}, "{M} is neither {row} nor a column"},
        {{dir_.File("ok.csv"), "-j", "x"}, "-j: takes a whole number"},
        {{dir_.File("ok.csv"), "--encoding", "latin1"}, "--encoding: takes utf8 or gbk"},
        {{dir_.File("ok.csv"), "--bogus"}, "--bogus"},
    };
    for (const auto& [extra, message] : cases) {
        std::vector<std::string> args = {"batch", "--dialect", "102",           "--tab",
                                         "0",     "-o",        dir_.File("out")};
        args.insert(args.end(), extra.begin(), extra.end());
        const CliRun r = Cli(args);
        EXPECT_EQ(r.exit_code, 2) << message;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;  // one line
        EXPECT_FALSE(fs::exists(dir_.File("out")));
    }
}

// Pipes: stdin to a symbol on stdout and back through decode, and the help texts.
TEST_F(BatchCommand, StreamsAndHelp) {
    const std::string cli = Quote(TIRREL_CLI_PATH), sig = Quote(dir_.File("x.sig"));
    const struct {
        std::string command;
        std::string out;
        int exit = 0;
    } cases[] = {
        {"echo 张三 | " + cli + " encode - -o - --format png | " + cli + " decode -",
         "text: 张三\nrecord: none\n", 0},
        {"printf 48454c4c4f | " + cli + " encode --hex - --format bmp -o - | " + cli +
             " decode - --hex",
         "hex: 48454c4c4f\nrecord: none\n", 0},
        {cli + " make --dialect 102 --tab 0 N=x --save-sig " + sig + " && " + cli +
             " load - -o - " + "--format svg --payload-hex <" + sig,
         "", 2},
        {"cat " + sig + " | " + cli + " load - --payload-hex", "1110434152443a4e3a783b3b\n", 0},
        {"head -c 1048577 /dev/zero | " + cli + " encode --file - --matrix 2>&1",
         "tirrel-cli: standard input holds more than 1 MiB\n", 2},
    };
    for (const auto& c : cases) {
        const std::string out = dir_.File("pipe.out");
        const int status = std::system(("(" + c.command + ") >" + Quote(out)).c_str());
        std::string bytes;
        (void)ReadWholeFile(out, bytes);
        EXPECT_EQ(bytes, c.out) << c.command;
        EXPECT_EQ(WEXITSTATUS(status), c.exit) << c.command;
    }
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--version"},
                                                 {"--help"},
                                                 {"batch", "--help"},
                                                 {"decode", "--help"}}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.exit_code, 0) << args[0];
        EXPECT_NE(r.out.find("tirrel-cli"), std::string::npos) << args[0];
    }
}

}  // namespace
}  // namespace tirrel
