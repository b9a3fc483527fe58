// What a desktop user meets around the window: the command line, dropped files, Qt's own
// dialogs in Chinese, and tabs that join their page.
#include <gtest/gtest.h>

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <fstream>

#include "gui/main_dialog.h"
#include "gui/page_widget.h"
#include "gui/startup.h"
#include "gui/tab_strip.h"
#include "gui_test_support.h"
#include "platform/temp_dir.h"

namespace tirrel::gui {
namespace {

TEST(WindowPolish, TheCommandLineNamesOneInformationFile) {
    struct Case {
        QStringList arguments;
        QString file;
        std::optional<int> exitCode;
    } cases[] = {
        {{}, {}, std::nullopt},      {{"card.sig"}, "card.sig", std::nullopt},
        {{"-"}, "-", std::nullopt},  {{"--help"}, {}, 0},
        {{"a.sig", "-h"}, {}, 0},    {{"--bogus"}, {}, 2},
        {{"a.sig", "b.sig"}, {}, 2},
    };
    for (const Case& c : cases) {
        const StartArguments start = ParseStartArguments(c.arguments);
        EXPECT_EQ(start.informationFile, c.file) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(start.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(start.answer.contains("usage: tirrel"), c.exitCode.has_value());
    }
}

TEST(WindowPolish, QtsOwnDialogsSpeakChinese) {
    QApplication& app = testing::App();
    InstallQtTranslations(app);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("取消"));
}

TEST(WindowPolish, AFileDroppedOnTheWindowLoadsAsAnInformationFile) {
    tirrel::testing::TempDir dir;
    std::ofstream(dir.File("mail.sig"), std::ios::binary) << "[APP]\r\nTYPE=MAIL\r\nTO=x@y\r\n";
    testing::WindowUnderTest t;
    MainDialog& w = *t.window;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.File("mail.sig")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&w, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&w, &drop);
    EXPECT_TRUE(t.messages.isEmpty());
    EXPECT_EQ(w.core().currentPage()->id(), kMailPage);
    EXPECT_NE(w.core().payload().find("x@y"), std::string::npos);
}

// Under a selected tab of either row the page's own colour starts right at the tab's foot.
TEST(WindowPolish, ASelectedTabOnEitherRowJoinsThePage) {
    testing::App();
    TabStrip strip;
    strip.resize(300, 200);
    QStringList labels;
    for (int i = 0; i < 12; ++i)
        labels << QString::fromUtf8("标签%1").arg(i);
    strip.SetTabs(labels);
    const int last = strip.count() - 1;
    ASSERT_GT(strip.TabRect(last).top(), strip.TabRect(0).top());  // two rows
    for (int selected : {0, last}) {
        strip.SetSelected(selected);
        const QImage image = strip.grab().toImage();
        const int pageTop = strip.TabRect(last).bottom() + 1;
        const QColor page = image.pixelColor(strip.width() - 10, pageTop + 25);
        const int x = strip.TabRect(selected).center().x();
        for (int y = pageTop + 4; y < pageTop + 40; ++y) {
            ASSERT_EQ(image.pixelColor(x, y), page) << "tab " << selected << " y " << y;
        }
    }
}

}  // namespace
}  // namespace tirrel::gui
