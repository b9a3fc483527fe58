// The banner strip across the top of the main window. It stands where a Flash player stood:
// SetMovie takes a path (or an address) and shows what it can read — our own one-frame SWF
// (its background colour and frame), an animated GIF, or a still PNG/JPEG/GIF — scaled to fit
// keeping its aspect. Anything it cannot read (missing file, garbage, a network address: we
// fetch nothing; a FIFO, a device or a file too large) shows nothing and reports nothing.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

class QBuffer;
class QMovie;

namespace tirrel::gui {

// What the header and the first tags of an uncompressed ("FWS") SWF file say.
struct SwfHeader {
    int version = 0;
    std::uint32_t file_length = 0;
    std::int32_t x_min = 0, x_max = 0, y_min = 0, y_max = 0;  // frame, in twips
    std::uint16_t frame_rate = 0;                             // 8.8 fixed point
    std::uint16_t frame_count = 0;
    std::optional<QColor> background;  // from SetBackgroundColor, if present

    QSize FramePixels() const { return QSize((x_max - x_min) / 20, (y_max - y_min) / 20); }
};

// Reads the header and scans the tags up to End or the end of the data. Empty optional for
// anything that is not an uncompressed SWF with a non-empty frame; never reads past `bytes`.
std::optional<SwfHeader> ParseSwfHeader(std::span<const std::uint8_t> bytes);

class BannerView : public QWidget {
public:
    static constexpr int kMovieWidth = 736;
    static constexpr int kMovieHeight = 60;
    // 536 x 44 dialog units at 1.5 px each.
    static constexpr int kAreaWidth = 804;
    static constexpr int kAreaHeight = 66;

    enum class Shown { kNothing, kSwfFrame, kPicture, kAnimation };

    explicit BannerView(QWidget* parent = nullptr);
    ~BannerView() override;

    // A file path, a file:// URL or any other address; replaces what is shown.
    void SetMovie(const QString& path_or_address);
    Shown shown() const { return shown_; }
    QSize sizeHint() const override { return QSize(kAreaWidth, kAreaHeight); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Clear();
    bool LoadSwf(const QByteArray& data);
    bool LoadPicture(const QByteArray& data);
    QRect FitRect(QSize content) const;  // "ShowAll": whole content, aspect kept, centred

    Shown shown_ = Shown::kNothing;
    QSize content_size_;
    QColor background_;
    QImage picture_;
    std::unique_ptr<QBuffer> movie_data_;  // declared first: the movie goes before its data
    std::unique_ptr<QMovie> movie_;
};

}  // namespace tirrel::gui
