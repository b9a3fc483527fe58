#include "gui/banner_widget.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QMovie>
#include <QPainter>
#include <QUrl>
#include <string>

#include "platform/file_read.h"

namespace tirrel::gui {
namespace {

constexpr std::uint16_t kTagEnd = 0;
constexpr std::uint16_t kTagSetBackgroundColor = 9;
// Room for a long animated banner; anything larger is not one.
constexpr std::size_t kMaxBannerBytes = std::size_t{4} << 20;

// Reads the frame RECT: 5 bits of field width, then four signed fields of that width.
class BitReader {
public:
    BitReader(std::span<const std::uint8_t> bytes, std::size_t byte_pos)
        : bytes_(bytes), bit_(byte_pos * 8) {}

    std::optional<std::uint32_t> Unsigned(int count) {
        if (bit_ + static_cast<std::size_t>(count) > bytes_.size() * 8) return std::nullopt;
        std::uint32_t v = 0;
        for (int i = 0; i < count; ++i, ++bit_) {
            v = (v << 1) | ((bytes_[bit_ / 8] >> (7 - bit_ % 8)) & 1u);
        }
        return v;
    }

    std::optional<std::int32_t> Signed(int count) {
        const auto u = Unsigned(count);
        if (!u || count == 0) return u ? std::optional<std::int32_t>(0) : std::nullopt;
        const std::uint32_t sign = 1u << (count - 1);
        return static_cast<std::int32_t>(static_cast<std::int64_t>(*u ^ sign) - sign);
    }

    std::size_t NextBytePos() const { return (bit_ + 7) / 8; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t bit_;
};

std::uint32_t Le16(std::span<const std::uint8_t> b, std::size_t at) {
    return b[at] | (b[at + 1] << 8);
}

std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t at) {
    return Le16(b, at) | (Le16(b, at + 2) << 16);
}

bool IsNetworkAddress(const QString& text) {
    const QUrl url(text);
    // One-letter schemes are drive letters, not addresses.
    return url.scheme().size() > 1 && !url.isLocalFile();
}

}  // namespace

std::optional<SwfHeader> ParseSwfHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 9 || bytes[0] != 'F' || bytes[1] != 'W' || bytes[2] != 'S') {
        return std::nullopt;
    }
    SwfHeader h;
    h.version = bytes[3];
    h.file_length = Le32(bytes, 4);

    BitReader bits(bytes, 8);
    const int width = static_cast<int>(*bits.Unsigned(5));
    const auto x_min = bits.Signed(width), x_max = bits.Signed(width);
    const auto y_min = bits.Signed(width), y_max = bits.Signed(width);
    if (!y_max) return std::nullopt;
    h.x_min = *x_min, h.x_max = *x_max, h.y_min = *y_min, h.y_max = *y_max;
    const QSize frame = h.FramePixels();
    if (h.x_max <= h.x_min || h.y_max <= h.y_min || frame.isEmpty()) return std::nullopt;

    std::size_t pos = bits.NextBytePos();
    if (pos + 4 > bytes.size()) return std::nullopt;
    h.frame_rate = static_cast<std::uint16_t>(Le16(bytes, pos));
    h.frame_count = static_cast<std::uint16_t>(Le16(bytes, pos + 2));
    pos += 4;

    // The declared length may lie; the data's own size bounds the scan.
    const std::size_t end = std::min<std::size_t>(bytes.size(), h.file_length);
    while (pos + 2 <= end) {
        const std::uint32_t code_and_length = Le16(bytes, pos);
        const std::uint32_t code = code_and_length >> 6;
        std::uint64_t length = code_and_length & 0x3f;
        pos += 2;
        if (length == 0x3f) {
            if (pos + 4 > end) break;
            length = Le32(bytes, pos);
            pos += 4;
        }
        if (code == kTagEnd || length > end - pos) break;
        if (code == kTagSetBackgroundColor && length >= 3) {
            h.background = QColor(bytes[pos], bytes[pos + 1], bytes[pos + 2]);
        }
        pos += static_cast<std::size_t>(length);
    }
    return h;
}

BannerView::BannerView(QWidget* parent) : QWidget(parent) {
    setFixedSize(kAreaWidth, kAreaHeight);
}

BannerView::~BannerView() = default;

void BannerView::Clear() {
    shown_ = Shown::kNothing;
    content_size_ = QSize();
    picture_ = QImage();
    movie_.reset();
    movie_data_.reset();
}

void BannerView::SetMovie(const QString& path_or_address) {
    Clear();
    QString path = path_or_address;
    if (QUrl url(path_or_address); url.isLocalFile()) path = url.toLocalFile();
    // The path may come from the network: only a regular file of bounded size is read, and
    // reading one never waits (a FIFO or a device is refused before any read).
    std::string bytes;
    if (!path.isEmpty() && !IsNetworkAddress(path_or_address) &&
        ReadFileBounded(QFile::encodeName(path).toStdString(), bytes, kMaxBannerBytes).ok()) {
        const QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
        if (!LoadSwf(data)) LoadPicture(data);
    }
    update();
}

bool BannerView::LoadSwf(const QByteArray& data) {
    const auto header =
        ParseSwfHeader(std::span(reinterpret_cast<const std::uint8_t*>(data.constData()),
                                 static_cast<std::size_t>(data.size())));
    if (!header) return false;
    shown_ = Shown::kSwfFrame;
    content_size_ = header->FramePixels();
    background_ = header->background.value_or(QColor(Qt::white));  // the player's default
    return true;
}

bool BannerView::LoadPicture(const QByteArray& data) {
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(data);
    buffer->open(QIODevice::ReadOnly);
    QImageReader reader(buffer.get());
    if (!reader.canRead()) return false;
    if (reader.supportsAnimation() && reader.imageCount() != 1) {
        buffer->seek(0);
        auto movie = std::make_unique<QMovie>(buffer.get());
        if (movie->isValid()) {
            movie_data_ = std::move(buffer);  // the movie reads its frames from it as it plays
            movie_ = std::move(movie);
            connect(movie_.get(), &QMovie::frameChanged, this, [this] { update(); });
            movie_->start();
            shown_ = Shown::kAnimation;
            content_size_ = movie_->currentImage().size();
            return true;
        }
        buffer->seek(0);
        reader.setDevice(buffer.get());
    }
    picture_ = reader.read();
    if (picture_.isNull()) return false;
    shown_ = Shown::kPicture;
    content_size_ = picture_.size();
    return true;
}

QRect BannerView::FitRect(QSize content) const {
    if (content.isEmpty()) return QRect();
    const QSize fitted = content.scaled(size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

void BannerView::paintEvent(QPaintEvent*) {
    if (shown_ == Shown::kNothing) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    switch (shown_) {
        case Shown::kSwfFrame: {
            const QRect area = FitRect(content_size_);
            painter.fillRect(area, background_);
            painter.setPen(background_.lightness() > 128 ? background_.darker(160)
                                                         : background_.lighter(160));
            painter.drawRect(area.adjusted(0, 0, -1, -1));
            break;
        }
        case Shown::kPicture:
            painter.drawImage(FitRect(picture_.size()), picture_);
            break;
        case Shown::kAnimation: {
            const QImage frame = movie_->currentImage();
            painter.drawImage(FitRect(frame.size()), frame);
            break;
        }
        case Shown::kNothing:
            break;
    }
}

}  // namespace tirrel::gui
