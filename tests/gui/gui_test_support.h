// What the desktop tests share: the application object (offscreen), a main window that answers
// its own message boxes and file dialogs from a script, and a QR reader for painted pixels.
#pragma once

#include <QApplication>
#include <QImage>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>

#include "gui/main_dialog.h"

namespace tirrel::gui::testing {

QApplication& App();

// A shown main window without a settings file, recording the messages it would show.
struct WindowUnderTest {
    explicit WindowUnderTest(const std::string& settingsPath = {});
    std::unique_ptr<MainDialog> window;
    QStringList messages;
    QStringList paths;         // answers to the next file dialogs; none left = cancelled
    std::size_t saveType = 0;  // the type a save dialog answers with
    // Where a print goes instead of a printer: a PDF file; none = cancelled.
    QString printFile;
    double printSideMm = 0;  // the side the print dialog offered
};

// The bytes a QR Code symbol in `image` carries, or nothing when none is found.
std::optional<std::string> DecodeQr(const QImage& image);

}  // namespace tirrel::gui::testing
