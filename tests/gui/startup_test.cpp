#include "gui/startup.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QWidget>
#include <fstream>

#include "app/messages.h"
#include "gui_test_support.h"
#include "platform/temp_dir.h"

namespace tirrel::gui {
namespace {

// Runs in `folder` as the current directory, and goes back afterwards.
class InFolder {
public:
    explicit InFolder(const std::string& folder) : old_(getcwd(nullptr, 0)) {
        EXPECT_EQ(chdir(folder.c_str()), 0);
    }
    ~InFolder() {
        EXPECT_EQ(chdir(old_), 0);
        free(old_);
    }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    char* old_;
};

bool AnyWindowVisible() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible()) return true;
    }
    return false;
}

TEST(Startup, WithoutTheBannerFileTheMessageShowsAndNoWindowOpens) {
    testing::App();
    tirrel::testing::TempDir dir;
    InFolder in(dir.path());
    QStringList shown;
    EXPECT_EQ(RunTirrel({}, [&](const QString& text) { shown << text; }), 1);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].toStdString(), kMsgBannerMissing);
    EXPECT_FALSE(AnyWindowVisible());
    // Nothing was read or written.
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.File("Sembrano.ini"))));
}

TEST(Startup, TheBannerFileIsLookedForInTheCurrentDirectory) {
    testing::App();
    tirrel::testing::TempDir dir;
    std::ofstream(dir.File("736-60.swf")) << "FWS";
    QStringList shown;
    auto record = [&](const QString& text) { shown << text; };
    {
        InFolder in(dir.path());
        EXPECT_TRUE(CheckBannerFile(record));
    }
    tirrel::testing::TempDir elsewhere;
    InFolder in(elsewhere.path());
    EXPECT_FALSE(CheckBannerFile(record));
    EXPECT_EQ(shown.size(), 1);
}

}  // namespace
}  // namespace tirrel::gui
