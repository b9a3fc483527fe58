#include "gui/main_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "app/messages.h"
#include "gui/page_widget.h"
#include "gui/parameter_dialog.h"
#include "gui/preview_view.h"
#include "gui/tab_strip.h"
#include "gui_test_support.h"
#include "platform/gbk.h"
#include "platform/temp_dir.h"
#include "settings/parameter_dialogs.h"

namespace tirrel::gui {
namespace {

using testing::DecodeQr;
using testing::WindowUnderTest;

std::string Gbk(const char* utf8) {
    return Utf8ToGbk(utf8).value();
}

QLineEdit* LineField(MainDialog& w, PageTemplate page, int id) {
    PageWidget* p = w.pageWidget(page);
    return p ? qobject_cast<QLineEdit*>(p->Field(id)) : nullptr;
}

QPlainTextEdit* TextField(MainDialog& w, PageTemplate page, int id) {
    PageWidget* p = w.pageWidget(page);
    return p ? qobject_cast<QPlainTextEdit*>(p->Field(id)) : nullptr;
}

// Types `text` one character at a time, as a keyboard (or an input method) would deliver it;
// QTest's own key clicks know only ASCII keys.
void Type(QWidget* field, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &release);
    }
}

void ClickTab(MainDialog& w, int index) {
    QTest::mouseClick(w.tabStrip(), Qt::LeftButton, {}, w.tabStrip()->TabRect(index).center());
}

TEST(MainDialog, TypingPaintsASymbolThatReadsBackAsThePayload) {
    WindowUnderTest t;
    MainDialog& w = *t.window;
    QLineEdit* name = LineField(w, kCardPage, 1012);
    QLineEdit* mobile = LineField(w, kCardPage, 1020);
    ASSERT_TRUE(name && mobile);
    EXPECT_EQ(w.focusWidget(), name);  // the business card page takes the focus in its name field

    Type(name, QString::fromUtf8("张三"));
    QTest::keyClicks(mobile, "13800000000");
    const std::string expected =
        std::string("\x11\x10", 2) + "CARD:N:" + Gbk("张三") + ";M:13800000000;;";
    EXPECT_EQ(w.core().payload(), expected);
    ASSERT_TRUE(w.core().PreviewPainted());
    EXPECT_EQ(DecodeQr(w.previewView()->grab().toImage()), expected);

    // Another zoom step redraws smaller modules, still the same symbol.
    w.trackBar()->setValue(6);
    EXPECT_EQ(w.core().zoomStep(), 6);
    EXPECT_EQ(DecodeQr(w.previewView()->grab().toImage()), expected);
}

TEST(MainDialog, ClickingATabClearsThePageLeftAndTheProgramsTextIsNotAnEdit) {
    WindowUnderTest t;
    MainDialog& w = *t.window;
    QTest::keyClicks(LineField(w, kCardPage, 1012), "Li");
    ASSERT_FALSE(w.core().payload().empty());

    ClickTab(w, 2);  // 短信
    EXPECT_EQ(w.tabStrip()->selected(), 2);
    EXPECT_EQ(w.core().currentTab(), 2);
    EXPECT_TRUE(w.pageWidget(kSmsPage)->isVisible());
    EXPECT_FALSE(w.pageWidget(kCardPage)->isVisible());
    EXPECT_EQ(LineField(w, kCardPage, 1012)->text(), "");
    EXPECT_EQ(w.core().page(kCardPage).FieldText(1012), "");
    EXPECT_TRUE(w.core().payload().empty());
    EXPECT_FALSE(w.core().PreviewPainted());

    // Moving the selection with the keyboard switches the page as well.
    QTest::keyClicks(LineField(w, kSmsPage, 1015), "10086");
    w.tabStrip()->setFocus();
    QTest::keyClick(w.tabStrip(), Qt::Key_Right);
    EXPECT_EQ(w.core().currentTab(), 3);
    EXPECT_TRUE(w.pageWidget(kTextPage)->isVisible());
    EXPECT_EQ(LineField(w, kSmsPage, 1015)->text(), "");
}

TEST(MainDialog, ChoosingACarrierRebuildsTabsAndSetsTheUrlFields) {
    WindowUnderTest t;
    MainDialog& w = *t.window;
    EXPECT_TRUE(w.radio(kRadioUnicom)->isChecked());
    EXPECT_EQ(w.tabStrip()->count(), 9);
    EXPECT_EQ(w.tabStrip()->label(8), QString::fromUtf8("自定义"));

    QTest::mouseClick(w.radio(kRadioMobileV2), Qt::LeftButton);
    EXPECT_EQ(w.core().checkedRadio(), kRadioMobileV2);
    EXPECT_EQ(w.tabStrip()->count(), 7);
    EXPECT_FALSE(LineField(w, kCardPage, kUrlFieldId)->isEnabled());
    EXPECT_FALSE(LineField(w, kWapServicePage, kUrlFieldId)->isEnabled());
    EXPECT_EQ(w.pageWidget(kCustomPage), nullptr);

    QTest::mouseClick(w.radio(kRadioMobileV1), Qt::LeftButton);
    EXPECT_EQ(w.tabStrip()->count(), 9);
    EXPECT_TRUE(LineField(w, kCardPage, kUrlFieldId)->isEnabled());
    EXPECT_NE(w.pageWidget(kPhonePage), nullptr);

    // Every tab is on screen and answers a click, however many rows it takes.
    for (int i = 0; i < w.tabStrip()->count(); ++i) {
        EXPECT_TRUE(w.tabStrip()->rect().contains(w.tabStrip()->TabRect(i))) << i;
    }

    // The carrier already in use rebuilds its pages empty.
    QTest::mouseClick(w.radio(kRadioUnicom), Qt::LeftButton);
    QTest::keyClicks(LineField(w, kCardPage, 1012), "Wang");
    QTest::mouseClick(w.radio(kRadioUnicom), Qt::LeftButton);
    EXPECT_EQ(w.tabStrip()->count(), 9);
    EXPECT_TRUE(LineField(w, kWapServicePage, kUrlFieldId)->isEnabled());
    EXPECT_EQ(LineField(w, kCardPage, 1012)->text(), "");
    EXPECT_TRUE(w.core().payload().empty());
}

TEST(MainDialog, EnterAndEscInAPageDoNothingButPastedLineBreaksReachThePayloadAsCrLf) {
    WindowUnderTest t;
    MainDialog& w = *t.window;
    ClickTab(w, 3);  // 文本
    QPlainTextEdit* body = TextField(w, kTextPage, 1016);
    ASSERT_TRUE(body);
    QTest::keyClicks(body, "ab");
    QTest::keyClick(body, Qt::Key_Return);
    QTest::keyClick(body, Qt::Key_Enter);
    QTest::keyClick(body, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(body, Qt::Key_Escape);
    QTest::keyClick(LineField(w, kTextPage, 1015), Qt::Key_Escape);
    EXPECT_EQ(body->toPlainText(), "ab");
    EXPECT_TRUE(w.isVisible());  // no default button, no closing

    QApplication::clipboard()->setText("x\ny");
    body->paste();
    EXPECT_EQ(body->toPlainText(), "abx\ny");
    EXPECT_EQ(w.core().page(kTextPage).FieldText(1016), "abx\r\ny");

    // Text the program sets (clearing) shows up without turning into an edit.
    QTest::mouseClick(w.radio(kRadioUnicom), Qt::LeftButton);
    EXPECT_EQ(TextField(w, kTextPage, 1016)->toPlainText(), "");
}

TEST(MainDialog, EnterOnTheSliderACheckBoxOrARadioKeepsEveryField) {
    WindowUnderTest t;
    MainDialog& w = *t.window;
    QLineEdit* name = LineField(w, kCardPage, 1012);
    QTest::keyClicks(name, "Li");
    const std::string payload = w.core().payload();
    QWidget* defaultSize = nullptr;
    for (QCheckBox* box : w.findChildren<QCheckBox*>())
        defaultSize = box;
    ASSERT_TRUE(defaultSize);
    for (QWidget* focus : {static_cast<QWidget*>(w.trackBar()), defaultSize,
                           static_cast<QWidget*>(w.radio(kRadioMobileV1))}) {
        focus->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(focus, key);
            EXPECT_EQ(name->text(), "Li") << focus->metaObject()->className();
            EXPECT_EQ(w.core().payload(), payload);
        }
    }
    for (QPushButton* button : w.findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isDefault() || button->autoDefault()) << button->text().toStdString();
    }
    EXPECT_TRUE(w.isVisible());
}

TEST(MainDialog, ACharacterGbkCannotHoldIsRefusedAtTheFieldAndAPasteSaysWhich) {
    WindowUnderTest t;
    MainDialog& w = *t.window;
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString refusal = QString::fromUtf8("“😀”无法用GBK编码，未输入");
    QLineEdit* name = LineField(w, kCardPage, 1012);
    QTest::keyClicks(name, "ab");
    name->setCursorPosition(1);
    QApplication::clipboard()->setText(QString::fromUtf8("x") + emoji + QString::fromUtf8("€"));
    name->paste();
    EXPECT_EQ(name->text(), "ab");
    EXPECT_EQ(name->cursorPosition(), 1);
    EXPECT_EQ(w.core().page(kCardPage).FieldText(1012), "ab");
    QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, emoji);
    QApplication::sendEvent(name, &key);  // a key only beeps
    EXPECT_EQ(name->text(), "ab");
    QCoreApplication::processEvents();
    EXPECT_EQ(t.messages, QStringList{refusal});

    ClickTab(w, 3);
    QPlainTextEdit* body = TextField(w, kTextPage, 1016);
    Type(body, QString::fromUtf8("正文"));
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, emoji);
    QApplication::sendEvent(body, &typed);
    QCoreApplication::processEvents();
    EXPECT_EQ(t.messages, QStringList{refusal});
    QApplication::clipboard()->setText(emoji);
    body->paste();
    EXPECT_EQ(body->toPlainText(), QString::fromUtf8("正文"));
    EXPECT_EQ(w.core().page(kTextPage).FieldText(1016), Gbk("正文"));
    QCoreApplication::processEvents();
    EXPECT_EQ(t.messages, (QStringList{refusal, refusal}));
}

TEST(MainDialog, VersionDialogOkRegeneratesAtTheChosenVersionAndWarnsOnce) {
    WindowUnderTest t;
    MainDialog& w = *t.window;
    QTest::keyClicks(LineField(w, kCardPage, 1012), "hello");

    {
        ParameterDialog dialog(VersionDialogSpec(), w.core(), &w);
        EXPECT_EQ(dialog.list(0)->currentText(), QString::fromUtf8("自动"));
        dialog.list(0)->setCurrentIndex(5);
        dialog.list(1)->setCurrentIndex(3);
        dialog.accept();
    }
    EXPECT_EQ(w.core().GetCodeVersion(), 5);
    EXPECT_EQ(w.core().GetECCLevel(), 3);
    EXPECT_EQ(w.core().matrixWidth(), 17 + 4 * 5);
    EXPECT_TRUE(t.messages.isEmpty());

    QTest::keyClicks(LineField(w, kCardPage, 1017), QString(60, QChar('x')));
    t.messages.clear();
    {
        ParameterDialog dialog(VersionDialogSpec(), w.core(), &w);
        dialog.list(0)->setCurrentIndex(1);  // far too small for that address
        dialog.accept();
    }
    EXPECT_EQ(w.core().GetCodeVersion(), 1);
    ASSERT_EQ(t.messages.size(), 1);
    EXPECT_EQ(t.messages[0].toStdString(), kMsgVersionError);
    // What the user typed stays.
    EXPECT_EQ(LineField(w, kCardPage, 1012)->text(), "hello");
}

TEST(MainDialog, ALoadedInformationFileShowsInTheWidgetsWithItsLineBreaks) {
    tirrel::testing::TempDir dir;
    const QString sig = QString::fromStdString(dir.File("note.sig"));
    WindowUnderTest t;
    MainDialog& w = *t.window;
    ClickTab(w, 3);  // 文本
    Type(LineField(w, kTextPage, 1015), QString::fromUtf8("标题"));
    QApplication::clipboard()->setText("x\ny");
    TextField(w, kTextPage, 1016)->paste();
    const std::string payload = w.core().payload();
    t.paths << sig;
    w.core().SaveInformationFile();
    ASSERT_TRUE(QFile::exists(sig));

    QTest::mouseClick(w.radio(kRadioMobileV2), Qt::LeftButton);
    ASSERT_TRUE(w.core().payload().empty());
    t.paths << sig;
    w.core().LoadInformationFile();
    EXPECT_TRUE(t.messages.isEmpty());
    EXPECT_TRUE(w.radio(kRadioUnicom)->isChecked());
    EXPECT_EQ(w.tabStrip()->count(), 9);
    EXPECT_EQ(w.tabStrip()->selected(), 3);
    EXPECT_TRUE(w.pageWidget(kTextPage)->isVisible());
    EXPECT_EQ(LineField(w, kTextPage, 1015)->text(), QString::fromUtf8("标题"));
    EXPECT_EQ(TextField(w, kTextPage, 1016)->toPlainText(), "x\ny");
    EXPECT_EQ(w.core().payload(), payload);
    EXPECT_EQ(DecodeQr(w.previewView()->grab().toImage()), payload);
}

TEST(MainDialog, ClosingTheWindowWritesTheSettingsAndSavingAsksForAPath) {
    tirrel::testing::TempDir dir;
    const std::string ini = dir.File("Sembrano.ini");
    {
        WindowUnderTest t(ini);
        MainDialog& w = *t.window;
        QTest::keyClicks(LineField(w, kCardPage, 1012), "A");
        t.paths.push_back(QString::fromStdString(dir.File("a.bmp")));
        w.core().SaveImage();
        EXPECT_TRUE(QFile::exists(QString::fromStdString(dir.File("a.bmp"))));
        EXPECT_FALSE(QFile::exists(QString::fromStdString(ini)));
        w.close();
        EXPECT_FALSE(w.isVisible());
        EXPECT_TRUE(QFile::exists(QString::fromStdString(ini)));
    }
}

}  // namespace
}  // namespace tirrel::gui
