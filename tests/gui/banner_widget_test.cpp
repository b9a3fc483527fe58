#include "gui/banner_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QUrl>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace tirrel::gui {
namespace {

QApplication& App() {
    // No display in test runs, whatever the runner passes on.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_banner";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

std::vector<std::uint8_t> ReadBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray data = f.readAll();
    return std::vector<std::uint8_t>(data.begin(), data.end());
}

const QString kSwfPath = QStringLiteral(TIRREL_SOURCE_DIR "/resources/736-60.swf");

TEST(SwfHeader, OurBannerMovieDescribesOne736By60Frame) {
    const std::vector<std::uint8_t> bytes = ReadBytes(kSwfPath);
    const auto h = ParseSwfHeader(bytes);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->file_length, bytes.size());
    EXPECT_EQ(h->x_max - h->x_min, 736 * 20);
    EXPECT_EQ(h->y_max - h->y_min, 60 * 20);
    EXPECT_EQ(h->FramePixels(), QSize(736, 60));
    EXPECT_EQ(h->frame_count, 1);
    EXPECT_EQ(h->frame_rate, 12 << 8);
    ASSERT_TRUE(h->background);
    EXPECT_EQ(*h->background, QColor(0x2d, 0x6c, 0xa2));
}

TEST(SwfHeader, TruncatedAndHostileFilesAreReadSafely) {
    const std::vector<std::uint8_t> bytes = ReadBytes(kSwfPath);
    ASSERT_FALSE(bytes.empty());
    // Every prefix: no header before the frame counts, no colour before its tag is whole.
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + n);
        const auto h = ParseSwfHeader(cut);
        EXPECT_EQ(h.has_value(), n >= 21) << n;
        if (h) {
            EXPECT_EQ(h->background.has_value(), n >= 26) << n;
        }
    }
    std::vector<std::uint8_t> v = bytes;
    v[0] = 'C';  // compressed: not something we can read
    EXPECT_FALSE(ParseSwfHeader(v));
    v = bytes;
    v[8] = 0xff;  // 31-bit fields that run past the end
    v.resize(24);
    EXPECT_FALSE(ParseSwfHeader(v));
    v = bytes;
    v[21] = 0xff, v[22] = 0xff;  // a long tag whose length lies
    v.insert(v.begin() + 23, {0xff, 0xff, 0xff, 0xff});
    v[4] = 0xff, v[5] = 0xff, v[6] = 0xff, v[7] = 0xff;
    const auto h = ParseSwfHeader(v);
    ASSERT_TRUE(h);
    EXPECT_FALSE(h->background);
    v = bytes;
    v[10] &= 0xf0;  // x_max (bits 20 to 34) 0: an empty frame
    v[11] = 0;
    v[12] &= 0x1f;
    EXPECT_FALSE(ParseSwfHeader(v));
}

// A 1 x 1 GIF with two frames (red, then blue) that loops.
const unsigned char kTwoFrameGif[] = {
    'G', 'I',  'F',  '8',  '9',  'a',  1,    0,    1,    0,    0x80, 0,   0,   0xff, 0,
    0,   0,    0,    0xff, 0x21, 0xff, 0x0b, 'N',  'E',  'T',  'S',  'C', 'A', 'P',  'E',
    '2', '.',  '0',  3,    1,    0,    0,    0,    0x21, 0xf9, 4,    0,   10,  0,    0,
    0,   0x2c, 0,    0,    0,    0,    1,    0,    1,    0,    0,    2,   2,   0x44, 0x01,
    0,   0x21, 0xf9, 4,    0,    10,   0,    0,    0,    0x2c, 0,    0,   0,   0,    1,
    0,   1,    0,    0,    2,    2,    0x4c, 0x01, 0,    0x3b};

class BannerViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        ASSERT_TRUE(dir_.isValid());
    }
    QString Write(const QString& name, const QByteArray& data) {
        const QString path = dir_.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        return path;
    }
    QString WriteImage(const QString& name, QSize size, QColor colour, const char* format) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(image.save(path, format));
        return path;
    }
    static QImage Grab(BannerView& view) { return view.grab().toImage(); }

    QTemporaryDir dir_;
};

TEST_F(BannerViewTest, HasTheBannerAreaSize) {
    BannerView view;
    EXPECT_EQ(view.size(), QSize(804, 66));
    EXPECT_EQ(view.shown(), BannerView::Shown::kNothing);
}

TEST_F(BannerViewTest, OurSwfPaintsItsBackgroundAcrossTheArea) {
    BannerView view;
    view.SetMovie(kSwfPath);
    ASSERT_EQ(view.shown(), BannerView::Shown::kSwfFrame);
    const QImage shot = Grab(view);
    EXPECT_EQ(QColor(shot.pixel(402, 33)), QColor(0x2d, 0x6c, 0xa2));
    EXPECT_EQ(QColor(shot.pixel(50, 20)), QColor(0x2d, 0x6c, 0xa2));
    // The frame line along the left edge differs from the fill.
    EXPECT_NE(QColor(shot.pixel(0, 33)), QColor(0x2d, 0x6c, 0xa2));
}

TEST_F(BannerViewTest, PicturesAreScaledToFitKeepingTheirAspect) {
    BannerView view;
    view.SetMovie(WriteImage("square.png", QSize(100, 100), Qt::red, "PNG"));
    ASSERT_EQ(view.shown(), BannerView::Shown::kPicture);
    QImage shot = Grab(view);
    EXPECT_EQ(QColor(shot.pixel(402, 33)), QColor(Qt::red));
    // A square in a wide strip: 66 x 66 in the middle, nothing red at the sides.
    EXPECT_NE(QColor(shot.pixel(300, 33)), QColor(Qt::red));
    EXPECT_NE(QColor(shot.pixel(500, 33)), QColor(Qt::red));

    view.SetMovie(
        QUrl::fromLocalFile(WriteImage("wide.jpg", QSize(736, 60), Qt::green, "JPEG")).toString());
    ASSERT_EQ(view.shown(), BannerView::Shown::kPicture);
    shot = Grab(view);
    const QColor c(shot.pixel(700, 33));
    EXPECT_LT(c.red(), 40);
    EXPECT_GT(c.green(), 200);
}

TEST_F(BannerViewTest, AnimatedGifPlaysAsAMovie) {
    BannerView view;
    view.SetMovie(Write(
        "two.gif", QByteArray(reinterpret_cast<const char*>(kTwoFrameGif), sizeof kTwoFrameGif)));
    ASSERT_EQ(view.shown(), BannerView::Shown::kAnimation);
    const QColor c(Grab(view).pixel(402, 33));
    EXPECT_TRUE(c == QColor(Qt::red) || c == QColor(Qt::blue)) << c.name().toStdString();
}

TEST_F(BannerViewTest, WhatCannotBeReadShowsNothing) {
    BannerView view;
    const QImage empty = Grab(view);
    const std::vector<std::uint8_t> swf = ReadBytes(kSwfPath);
    const QString inputs[] = {
        dir_.filePath("missing.swf"),
        Write("garbage.swf", QByteArray(300, '\x5a')),
        Write("cut.swf", QByteArray(reinterpret_cast<const char*>(swf.data()), 15)),
        "http://ads.example/736-60.swf",
        "",
    };
    for (const QString& input : inputs) {
        view.SetMovie(kSwfPath);
        ASSERT_EQ(view.shown(), BannerView::Shown::kSwfFrame);
        view.SetMovie(input);
        EXPECT_EQ(view.shown(), BannerView::Shown::kNothing) << input.toStdString();
        EXPECT_EQ(Grab(view), empty) << input.toStdString();
    }
}

// Ends the test run when a call it guards does not return: a hang fails instead of stalling.
class Watchdog {
public:
    explicit Watchdog(std::string what)
        : thread_([this, what = std::move(what)] {
              std::unique_lock lock(mutex_);
              if (!done_cv_.wait_for(lock, std::chrono::seconds(30), [this] { return done_; })) {
                  std::fprintf(stderr, "%s did not return\n", what.c_str());
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        done_cv_.notify_one();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable done_cv_;
    bool done_ = false;
    std::thread thread_;
};

TEST_F(BannerViewTest, AFifoOrADeviceShowsNothingAndNeverBlocks) {
    const QString fifo = dir_.filePath("movie.swf");
    const QString device = dir_.filePath("zero.swf");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0600, makedev(1, 5)) != 0) {
        GTEST_SKIP() << "no permission to make a device node";
    }
    BannerView view;
    for (const QString& input : {fifo, device}) {
        view.SetMovie(kSwfPath);
        {
            Watchdog guard("SetMovie(" + input.toStdString() + ")");
            view.SetMovie(input);
        }
        EXPECT_EQ(view.shown(), BannerView::Shown::kNothing) << input.toStdString();
    }
}

}  // namespace
}  // namespace tirrel::gui
