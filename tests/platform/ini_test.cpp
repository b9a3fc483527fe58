#include "platform/ini.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace tirrel {
namespace {

TEST(IniDocument, ReadsNamesCaseInsensitivelyAndValuesRaw) {
    IniDocument doc = IniDocument::Parse(
        "\xEF\xBB\xBF[Main]\nName = \xD5\xC5\xC8\xFD  \r\n  Other=x=y\n[second]\nName=2\n");
    EXPECT_EQ(doc.Get("main", "NAME"), " \xD5\xC5\xC8\xFD  ");
    EXPECT_EQ(doc.Get("MAIN", "other"), "x=y");
    EXPECT_EQ(doc.Get("Second", "name"), "2");
    EXPECT_EQ(doc.Get("Main", "missing"), std::nullopt);
    EXPECT_EQ(doc.Get("absent", "Name"), std::nullopt);
}

TEST(IniDocument, KeysBeforeAnySectionAndCommentsAreNotFound) {
    IniDocument doc = IniDocument::Parse("Loose=1\n;Hidden=2\n[S]\n;Hidden=3\nKept=4\n");
    EXPECT_EQ(doc.Get("", "Loose"), std::nullopt);
    EXPECT_EQ(doc.Get("S", "Loose"), std::nullopt);
    EXPECT_EQ(doc.Get("S", ";Hidden"), std::nullopt);
    EXPECT_EQ(doc.Get("S", "Hidden"), std::nullopt);
    EXPECT_EQ(doc.Get("S", "Kept"), "4");
}

TEST(IniDocument, SetReplacesInPlaceAndAppendsAfterLastKey) {
    IniDocument doc =
        IniDocument::Parse("; top comment\n[A]\nOne=1\nTwo=2\n\n\n[B]\nthree=3\nodd line\n");
    ASSERT_EQ(doc.Set("a", "ONE", "uno"), 0);
    ASSERT_EQ(doc.Set("A", "Four", "4"), 0);
    ASSERT_EQ(doc.Set("B", "Five", "5"), 0);
    ASSERT_EQ(doc.Set("C", "Six", "6"), 0);
    EXPECT_EQ(doc.Serialize(),
              "; top comment\r\n[A]\r\nOne=uno\r\nTwo=2\r\nFour=4\r\n\r\n\r\n"
              "[B]\r\nthree=3\r\nFive=5\r\nodd line\r\n[C]\r\nSix=6\r\n");
}

TEST(IniDocument, SetRefusesWhatWouldNotReadBack) {
    IniDocument doc;
    EXPECT_EQ(doc.Set("S", "K", "two\r\nlines"), -1);
    EXPECT_EQ(doc.Set("S", "K=", "v"), -1);
    EXPECT_EQ(doc.Set("S", "", "v"), -1);
    EXPECT_EQ(doc.Set("S]", "K", "v"), -1);
    EXPECT_EQ(doc.Set("S", ";K", "v"), -1);
    EXPECT_EQ(doc.Serialize(), "");
    ASSERT_EQ(doc.Set("S", "K", "\"quoted\" = ; [x]"), 0);
    EXPECT_EQ(IniDocument::Parse(doc.Serialize()).Get("S", "K"), "\"quoted\" = ; [x]");
}

TEST(IniDocument, DeleteSectionRemovesEveryCopyAndKeepsTheRest) {
    IniDocument doc = IniDocument::Parse("[APP]\nA=1\n[Other]\nB=2\n[app]\nC=3\n; c\n[Last]\nD=4");
    doc.DeleteSection("App");
    EXPECT_EQ(doc.Serialize(), "[Other]\r\nB=2\r\n[Last]\r\nD=4\r\n");
}

TEST(IniDocument, MalformedInputParsesWithoutHarm) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 131 + 7) & 0xFF);
    garbage += std::string("\0[\0]=\0\n", 7);
    IniDocument doc = IniDocument::Parse(garbage);
    EXPECT_EQ(doc.Serialize().size() >= garbage.size() - 64, true);

    std::string huge = "[S]\nK=" + std::string(1 << 20, 'x') + "\nL=1";
    IniDocument big = IniDocument::Parse(huge);
    EXPECT_EQ(big.Get("S", "K")->size(), size_t{1} << 20);
    EXPECT_EQ(big.Get("S", "L"), "1");

    IniDocument half = IniDocument::Parse("[Unclosed\nK=1\n[\n=novalue\n");
    EXPECT_EQ(half.Get("Unclosed", "K"), std::nullopt);
    EXPECT_EQ(half.Get("", ""), std::nullopt);
}

TEST(CutGbk, NeverSplitsADoubleByteCharacter) {
    const std::string text = "a\xD5\xC5\xC8\xFD";  // a张三
    EXPECT_EQ(CutGbk(text, 0), "");
    EXPECT_EQ(CutGbk(text, 1), "a");
    EXPECT_EQ(CutGbk(text, 2), "a");
    EXPECT_EQ(CutGbk(text, 3), "a\xD5\xC5");
    EXPECT_EQ(CutGbk(text, 4), "a\xD5\xC5");
    EXPECT_EQ(CutGbk(text, 99), text);
    // 淺 carries a backslash as its second byte; it goes along with its lead byte.
    EXPECT_EQ(CutGbk("\x9C\x5C", 1), "");
    // A lone lead byte at the end stands for itself.
    EXPECT_EQ(CutGbk("ab\x81", 3), "ab\x81");
}

TEST(ParseProfileInt, TakesLeadingDigitsAndClamps) {
    EXPECT_EQ(ParseProfileInt("12abc"), 12);
    EXPECT_EQ(ParseProfileInt("-3"), -3);
    EXPECT_EQ(ParseProfileInt("+7"), 7);
    EXPECT_EQ(ParseProfileInt(" 5"), 5);
    EXPECT_EQ(ParseProfileInt("x5"), 0);
    EXPECT_EQ(ParseProfileInt(""), 0);
    EXPECT_EQ(ParseProfileInt("-"), 0);
    EXPECT_EQ(ParseProfileInt("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseProfileInt("-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(ParseProfileInt("-2147483648"), INT_MIN);
}

}  // namespace
}  // namespace tirrel
