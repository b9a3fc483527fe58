#include "settings/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/hostile_files.h"
#include "platform/temp_dir.h"

namespace tirrel {
namespace {

using testing::TempDir;

class SettingsFile : public ::testing::Test {
protected:
    void Store(const std::string& bytes) { ASSERT_EQ(WriteFileAtomically(path_, bytes), 0); }
    Settings ReadWith(const std::string& lines) {
        Store("[Sembrano]\r\n" + lines);
        return ReadSettings(path_);
    }
    std::string Contents() {
        std::string bytes;
        (void)ReadWholeFile(path_, bytes);  // no file reads as nothing
        return bytes;
    }

    TempDir dir_;
    std::string path_ = dir_.File("Sembrano.ini");
};

TEST_F(SettingsFile, MissingFileGivesDefaultsAndNoUid) {
    Settings s = ReadSettings(path_);
    EXPECT_EQ(s.CodeVersion, 0);
    EXPECT_EQ(s.ECCLevel, 0);
    EXPECT_EQ(s.CellPitch, 4);
    EXPECT_EQ(s.QuiteZone, 4);
    EXPECT_EQ(s.Default, 1);
    EXPECT_EQ(s.UID, "0");
    EXPECT_FALSE(s.UidPresent);
    EXPECT_EQ(s.UpdateUrl, "");
}

TEST_F(SettingsFile, RangesOfTheSymbolSettings) {
    EXPECT_EQ(ReadWith("CodeVersion=10\r\n").CodeVersion, 10);
    EXPECT_EQ(ReadWith("CodeVersion=11\r\n").CodeVersion, 0);
    EXPECT_EQ(ReadWith("CodeVersion=-3\r\n").CodeVersion, 0);
    EXPECT_EQ(ReadWith("ECCLevel=4\r\n").ECCLevel, 4);
    EXPECT_EQ(ReadWith("ECCLevel=5\r\n").ECCLevel, 0);
    EXPECT_EQ(ReadWith("Default=9\r\n").Default, 9);  // the track bar corrects it
    EXPECT_EQ(ReadWith("ChineseMode=1\r\n").ChineseMode, 1);
    EXPECT_EQ(ReadWith("ChineseMode=2\r\n").ChineseMode, 0);
    EXPECT_EQ(ReadWith("ChineseMode=-1\r\n").ChineseMode, 0);
}

TEST_F(SettingsFile, BitmapSettingsAcceptWhatTheDialogStores) {
    EXPECT_EQ(ReadWith("CellPitch=20\r\n").CellPitch, 20);
    EXPECT_EQ(ReadWith("CellPitch=1\r\n").CellPitch, 1);
    EXPECT_EQ(ReadWith("CellPitch=0\r\n").CellPitch, 4);
    EXPECT_EQ(ReadWith("CellPitch=21\r\n").CellPitch, 4);
    EXPECT_EQ(ReadWith("QuiteZone=30\r\n").QuiteZone, 30);
    EXPECT_EQ(ReadWith("QuiteZone=0\r\n").QuiteZone, 0);
    EXPECT_EQ(ReadWith("QuiteZone=31\r\n").QuiteZone, 4);
    EXPECT_EQ(ReadWith("QuiteZone=-1\r\n").QuiteZone, 4);
    EXPECT_EQ(ReadWith("CellPitch=x\r\n").CellPitch, 4);  // no digits reads 0
}

TEST_F(SettingsFile, OnlyFifteenDigitsAreAUid) {
    struct Case {
        std::string_view stored;
        bool present;
    };
    const Case cases[] = {
        {"385415536129977", true},
        {"0123", false},
        {"012345678901234", false},  // a leading zero
        {"9", false},
        {"", false},
        {"38541553612997", false},    // 14
        {"3854155361299770", false},  // 16
        {"12345678901234567890", false},
        {"3854155361\r9977", false},  // a bare CR would end the request header
        {"38541553612997a", false},
        {" 385415536129977", false},
    };
    for (const Case& c : cases) {
        const Settings s = ReadWith("UID=" + std::string(c.stored) + "\r\n");
        EXPECT_EQ(s.UidPresent, c.present) << c.stored;
        EXPECT_EQ(s.UID, c.present ? std::string(c.stored) : "0") << c.stored;
    }
}

TEST_F(SettingsFile, UpdateUrlIsReadButNeverWritten) {
    Settings s = ReadWith("UpdateUrl=http://127.0.0.1:8080/x\r\n");
    EXPECT_EQ(s.UpdateUrl, "http://127.0.0.1:8080/x");
    Store("");
    s.UpdateUrl = "http://elsewhere/";
    ASSERT_TRUE(WriteSettings(path_, s));
    EXPECT_EQ(Contents().find("UpdateUrl"), std::string::npos);
}

TEST_F(SettingsFile, NewFileHoldsTheDefaultLines) {
    Settings s;
    s.UID = "385415536129977";
    ASSERT_TRUE(WriteSettings(path_, s));
    EXPECT_EQ(Contents(),
              "[Sembrano]\r\nCodeVersion=0\r\nECCLevel=0\r\nCellPitch=4\r\nQuiteZone=4\r\n"
              "Default=1\r\nUID=385415536129977\r\nChineseMode=0\r\n");
    s.ChineseMode = 1;
    ASSERT_TRUE(WriteSettings(path_, s));
    EXPECT_EQ(ReadSettings(path_).ChineseMode, 1);
}

TEST_F(SettingsFile, ExistingFileIsEditedInPlace) {
    Store(
        "; kept\r\n[Other]\r\nA=1\r\n[sembrano]\r\nDefault=3\r\nExtra=yes\r\n"
        "CodeVersion=2\r\n\r\n[Tail]\r\nB=2\r\n");
    Settings s = ReadSettings(path_);
    EXPECT_EQ(s.Default, 3);
    EXPECT_EQ(s.CodeVersion, 2);
    s.CodeVersion = 7;
    s.CellPitch = 15;
    ASSERT_TRUE(WriteSettings(path_, s));
    EXPECT_EQ(Contents(),
              "; kept\r\n[Other]\r\nA=1\r\n[sembrano]\r\nDefault=3\r\nExtra=yes\r\n"
              "CodeVersion=7\r\nECCLevel=0\r\nCellPitch=15\r\nQuiteZone=4\r\nUID=0\r\nChineseMode="
              "0\r\n\r\n"
              "[Tail]\r\nB=2\r\n");
    EXPECT_EQ(ReadSettings(path_).CellPitch, 15);
}

TEST_F(SettingsFile, FailedWriteIsReportedAndKeepsTheOldFile) {
    Store("[Sembrano]\r\nCodeVersion=3\r\n");
    Settings s;
    s.UID = std::string(200, '7');
    {
        testing::FileSizeLimit limit(16);
        EXPECT_EQ(WriteSettings(path_, s).error, EFBIG);
    }
    EXPECT_EQ(Contents(), "[Sembrano]\r\nCodeVersion=3\r\n");
    EXPECT_EQ(WriteSettings(dir_.File("no/folder/Sembrano.ini"), s).error, ENOENT);
}

// A settings file that is a FIFO, a device, a folder or far too large is neither read (the
// defaults hold, no UID) nor ever written over.
class HostileSettingsFile : public ::testing::TestWithParam<testing::HostileCase> {};

TEST_P(HostileSettingsFile, GivesDefaultsAndIsNeverWrittenOver) {
    TempDir dir;
    const std::string path = dir.File("Sembrano.ini");
    testing::HostileFile file(GetParam().kind, path,
                              "[Sembrano]\r\nCodeVersion=5\r\nUID=385415536129977\r\n");
    if (!file.made()) GTEST_SKIP() << "not permitted here";
    const Settings s = ReadSettings(path);
    EXPECT_EQ(s.CodeVersion, 0);
    EXPECT_FALSE(s.UidPresent);
    const SettingsWriteResult written = WriteSettings(path, s);
    EXPECT_FALSE(written);
    EXPECT_FALSE(written.read.ok());  // refused as read, not a failed write
    EXPECT_TRUE(file.Unchanged());
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostileSettingsFile, ::testing::ValuesIn(testing::kHostileCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsPath, IsInTheCurrentDirectory) {
    EXPECT_EQ(SettingsFilePath(), CurrentDirectoryFile("Sembrano.ini"));
    EXPECT_TRUE(SettingsFilePath().ends_with("/Sembrano.ini"));
}

TEST(MakeUid, PermutesTheDigitsByTheSeededGenerator) {
    // t = 0, i = 0: state 2531011, r = 38, k = 8 -> the '1' and the '9' change places.
    std::vector<int64_t> reads;
    std::string uid = MakeUid([&reads] {
        reads.push_back(0);
        return int64_t{0};
    });
    EXPECT_EQ(reads.size(), 15u);  // the clock is read anew for every position
    EXPECT_EQ(uid, "385415536129977");
    EXPECT_EQ(MakeUid([] { return int64_t{1700000000}; }), "174962553817359");

    std::string sorted_uid = uid;
    std::string sorted_base = "123456789513579";
    std::sort(sorted_uid.begin(), sorted_uid.end());
    std::sort(sorted_base.begin(), sorted_base.end());
    EXPECT_EQ(sorted_uid, sorted_base);
}

TEST(MakeUid, SameSecondSameUidAndATickChangesIt) {
    EXPECT_EQ(MakeUid([] { return int64_t{1234567}; }), MakeUid([] { return int64_t{1234567}; }));
    // A clock that ticks during the run seeds later positions differently.
    int64_t t = 1234567;
    std::string ticking = MakeUid([&t] { return t++; });
    EXPECT_NE(ticking, MakeUid([] { return int64_t{1234567}; }));
    EXPECT_EQ(MakeUid(SystemClockSeconds).size(), 15u);
}

}  // namespace
}  // namespace tirrel
