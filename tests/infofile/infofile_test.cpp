#include "infofile/infofile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/atomic_file.h"
#include "platform/gbk.h"
#include "platform/temp_dir.h"

namespace tirrel {
namespace {

using testing::TempDir;

std::string Gbk(std::string_view utf8) {
    return Utf8ToGbk(utf8).value();
}

std::string Slurp(const std::string& path) {
    std::string bytes;
    (void)ReadWholeFile(path, bytes);  // no file reads as nothing
    return bytes;
}

TEST(Version, NamesTheThreeDialects) {
    EXPECT_EQ(VersionValue(100), "0110");
    EXPECT_EQ(VersionValue(101), "0120");
    EXPECT_EQ(VersionValue(102), "1110");
    EXPECT_EQ(VersionValue(103), "");
    EXPECT_EQ(DialectOfVersion("0110"), 100);
    EXPECT_EQ(DialectOfVersion("0120"), 101);
    EXPECT_EQ(DialectOfVersion("1110"), 102);
    EXPECT_EQ(DialectOfVersion("1110 "), std::nullopt);
    EXPECT_EQ(DialectOfVersion(""), std::nullopt);
}

TEST(DecodeRecord, TakesTheRecordApart) {
    DecodedRecord r = DecodeRecord("\x01\x10" + Gbk("CARD:N:张三;COR:甲%;乙;URL:a%:b;;"));
    EXPECT_EQ(r.type, "CARD");
    EXPECT_EQ(r.fields, (InfoEntries{{"N", Gbk("张三")}, {"COR", Gbk("甲;乙")}, {"URL", "a:b"}}));

    // The company field leaves ":" unescaped; "%%" is one "%".
    DecodedRecord c = DecodeRecord(
        "\x11\x10"
        "CARD:COR:k:v 50%%;;");
    EXPECT_EQ(c.fields, (InfoEntries{{"COR", "k:v 50%"}}));
}

TEST(DecodeRecord, StopsSafelyAtTheEndOfShortOrBrokenPayloads) {
    EXPECT_EQ(DecodeRecord("").type, "");
    EXPECT_EQ(DecodeRecord("\x01").type, "");
    EXPECT_EQ(DecodeRecord("\x01\x10").type, "");
    DecodedRecord no_colon = DecodeRecord(
        "\x01\x10"
        "CARD");
    EXPECT_EQ(no_colon.type, "CARD");
    EXPECT_TRUE(no_colon.fields.empty());
    EXPECT_TRUE(DecodeRecord("\x01\x10"
                             "CARD:")
                    .fields.empty());
    EXPECT_TRUE(DecodeRecord("\x01\x10"
                             "CARD:N")
                    .fields.empty());
    EXPECT_EQ(DecodeRecord("\x01\x10"
                           "CARD:N:ab%")
                  .fields,
              (InfoEntries{{"N", "ab"}}));
    EXPECT_EQ(DecodeRecord("\x01\x10"
                           "CARD:N:ab;TIL")
                  .fields,
              (InfoEntries{{"N", "ab"}}));
    EXPECT_EQ(DecodeRecord("\x01\x10"
                           "CARD:N:a;M:b")
                  .fields,
              (InfoEntries{{"N", "a"}, {"M", "b"}}));
    // An escaped ";" never ends the value, even right before the end.
    EXPECT_EQ(DecodeRecord("\x01\x10"
                           "SMS:TXT:%;")
                  .fields,
              (InfoEntries{{"TXT", ";"}}));
}

TEST(Quoting, OnlyWhereALineCouldNotCarryTheValue) {
    EXPECT_EQ(QuoteValue("  a;b:c% \\"), "  a;b:c% \\");
    EXPECT_EQ(QuoteValue("a\"b\""), "a\"b\"");
    EXPECT_EQ(QuoteValue("\"x"), "\"\\\"x\"");
    EXPECT_EQ(QuoteValue("1\r\n2\\"), "\"1\\r\\n2\\\\\"");
    // 淺 is 9C 5C: inside a quoted value its second byte is doubled like any backslash.
    EXPECT_EQ(QuoteValue("\n\x9C\x5C"), "\"\\n\x9C\x5C\x5C\"");
    EXPECT_EQ(UnquoteValue("\"\\n\x9C\x5C\x5C\""), "\n\x9C\x5C");
    EXPECT_EQ(UnquoteValue("\"a\\tb\\\""), "a\\tb\\");  // unknown escape, lone end backslash
    EXPECT_EQ(UnquoteValue("\""), "\"");
    EXPECT_EQ(UnquoteValue("a\"b\""), "a\"b\"");
}

TEST(WriteInformationRecord, MatchesTheWorkedExample) {
    TempDir dir;
    const std::string path = dir.File("card.sig");
    std::string payload = "\x01\x10" + Gbk("CARD:N:张三;COR:甲%;乙;URL:a%:b;;");
    ASSERT_EQ(WriteInformationRecord(path, 100, false, payload), 0);
    EXPECT_EQ(Slurp(path), Gbk("[APP]\r\nVERSION=0110\r\nTYPE=CARD\r\nN=张三\r\nCOR=甲;乙\r\n"
                               "URL=a:b\r\n"));
}

TEST(WriteInformationRecord, SecondSaveReplacesTheSectionAndKeepsOthers) {
    TempDir dir;
    const std::string path = dir.File("x.sig");
    ASSERT_EQ(WriteFileAtomically(path, "[Before]\r\nA=1\r\n[app]\r\nOLD=1\r\n[After]\r\nB=2\r\n"),
              0);
    ASSERT_EQ(WriteInformationRecord(path, 102, false, "\x11\x10MAIL:TO:x;SUB:y;;"), 0);
    ASSERT_EQ(WriteInformationRecord(path, 101, false, "\x01\x20MAIL:TO:z;;"), 0);
    EXPECT_EQ(Slurp(path),
              "[Before]\r\nA=1\r\n[After]\r\nB=2\r\n[APP]\r\nVERSION=0120\r\nTYPE=MAIL\r\n"
              "TO=z\r\n");
}

TEST(WriteInformationRecord, CustomTextIsStoredWhole) {
    TempDir dir;
    const std::string path = dir.File("c.sig");
    ASSERT_EQ(WriteInformationRecord(path, 102, true, "x"), 0);
    EXPECT_EQ(Slurp(path), "[APP]\r\nVERSION=1110\r\nTYPE=CUSTOM\r\nTEXT=x\r\n");
    auto doc = InformationDocument::Load(path);
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->Value("TEXT"), "x");

    const std::string text = "a;b:c%%\r\nline 2 \"q\"";
    ASSERT_EQ(WriteInformationRecord(path, 102, true, text), 0);
    EXPECT_EQ(InformationDocument::Load(path)->Value("text"), text);
}

TEST(WriteInformationRecord, FailedSaveLeavesTheOldFile) {
    TempDir dir;
    const std::string path = dir.File("x.sig");
    const std::string old = "[APP]\r\nVERSION=0110\r\nTYPE=SMS\r\nTXT=old\r\n";
    ASSERT_EQ(WriteFileAtomically(path, old), 0);
    {
        testing::FileSizeLimit limit(16);
        EXPECT_EQ(WriteInformationRecord(path, 102, false,
                                         "\x11\x10"
                                         "DTXT:TXT:new text;;"),
                  -1);
    }
    EXPECT_EQ(Slurp(path), old);
    if (::geteuid() != 0) {  // a read-only folder does not stop root
        ASSERT_EQ(::chmod(dir.path().c_str(), 0500), 0);
        EXPECT_EQ(WriteInformationRecord(path, 102, false,
                                         "\x11\x10"
                                         "DTXT:TXT:new;;"),
                  -1);
        ::chmod(dir.path().c_str(), 0700);
        EXPECT_EQ(Slurp(path), old);
    }
    EXPECT_EQ(WriteInformationRecord(dir.File("no/such/x.sig"), 102, true, "x"), -1);
}

TEST(RoundTrip, EveryAwkwardValueComesBackUnchanged) {
    const std::string values[] = {"a;b:c%",
                                  "%;",
                                  "   ",
                                  Gbk("中文，标点。"),
                                  "one\r\ntwo",
                                  "lf\nonly",
                                  "\"leading",
                                  "\"both\"",
                                  "trailing\\",
                                  Gbk("淺"),
                                  Gbk("淺\n淺\""),
                                  "=x=",
                                  "\\\"",
                                  "\t tab",
                                  "[not a section]"};
    TempDir dir;
    const std::string path = dir.File("r.sig");
    for (const std::string& v : values) {
        std::string escaped;
        for (char c : v) {
            if (c == '%' || c == ';' || c == ':') escaped += '%';
            escaped += c;
        }
        ASSERT_EQ(WriteInformationRecord(path, 102, false,
                                         "\x11\x10"
                                         "DTXT:TXT:" +
                                             escaped + ";;"),
                  0);
        auto doc = InformationDocument::Load(path);
        ASSERT_TRUE(doc);
        EXPECT_EQ(doc->Value("TXT"), v) << GbkToUtf8(v);
        EXPECT_EQ(doc->Type(), "DTXT");
        EXPECT_EQ(doc->Version(), "1110");
    }
}

TEST(InformationDocument, ReadingRules) {
    auto doc = InformationDocument::FromBytes("[app]\ntype=card\nN=" + std::string(1700, 'x') +
                                              "\nZIP=" + std::string(1662, 'y') + Gbk("张") +
                                              "\nQ=\"\\\"\"\n");
    EXPECT_EQ(doc.Type(), "card");  // case is kept: no row will match it
    EXPECT_EQ(doc.Version(), "");
    EXPECT_EQ(doc.Value("N").size(), 1663u);
    EXPECT_EQ(doc.Value("ZIP"), std::string(1662, 'y'));  // never half a character
    EXPECT_EQ(doc.Value("Q"), "\"");
    EXPECT_EQ(doc.Value("missing"), "");
    EXPECT_EQ(InformationDocument::FromBytes("[APP]\nVERSION=0110\n").Type(), "Error");
    EXPECT_EQ(InformationDocument::FromBytes("[APP]\nTYPE=\n").Type(), "");
    EXPECT_FALSE(InformationDocument::Load("/nonexistent/folder/x.sig"));
}

TEST(InformationDocument, MalformedFilesReadNothing) {
    std::string garbage;
    for (int i = 0; i < 65536; ++i)
        garbage += static_cast<char>((i * 7919 + 13) >> 3);
    garbage[100] = '\0';
    const std::string inputs[] = {
        garbage,
        "[APP]\n" + std::string(1 << 20, 'A'),
        "VERSION=0110\nTYPE=CARD\nN=x\n",  // no section
        std::string("[APP\0]\nTYPE=CARD\n", 18),
    };
    for (const std::string& bytes : inputs) {
        InformationDocument doc = InformationDocument::FromBytes(bytes);
        EXPECT_EQ(doc.Version(), "");
        EXPECT_EQ(doc.Type(), "Error");
        EXPECT_FALSE(PlanLoad(doc, 102).row);
    }
}

}  // namespace
}  // namespace tirrel
