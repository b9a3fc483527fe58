// The one interface through which the core reaches a toolkit: message boxes, file dialogs,
// the clipboard, printing, repainting the preview, and every change the core makes to what the
// controls show. The Qt front end implements it; tests use a recording fake. Texts are UTF-8; paths
// are file-system paths as the toolkit gives them.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "render/render.h"

namespace tirrel {

class Page;
struct DialectDef;

// One kind of file a dialog offers.
struct FileType {
    std::string_view filter;     // "BMP file(*.bmp)"
    std::string_view extension;  // "bmp": added to a name typed without one
};

struct FileDialogSpec {
    std::span<const FileType> types;  // the first is selected when the dialog opens
    bool promptOverwrite;             // saving asks before replacing a file
};

// What a save dialog chose: the path, and which of the offered types was selected.
struct SavePath {
    std::string path;
    std::size_t type = 0;
};

// The current symbol as a clipboard holds it: one picture, as PNG and as BMP bytes.
struct ClipboardImage {
    std::string png;
    std::string bmp;
};

// The current symbol to print, and the side (quiet zone included) the print dialog offers.
struct PrintRequest {
    render::Modules modules;
    int quietZone;
    double sideMm;
};

enum class PrintOutcome { kPrinted, kCancelled, kFailed };

class UiPort {
public:
    enum class Caption { kApplication, kError };

    virtual void ShowMessage(std::string_view text, Caption caption = Caption::kApplication) = 0;
    [[nodiscard]] virtual std::optional<SavePath> AskSavePath(const FileDialogSpec& spec) = 0;
    [[nodiscard]] virtual std::optional<std::string> AskOpenPath(const FileDialogSpec& spec) = 0;

    virtual void CopyImage(const ClipboardImage& image) = 0;
    // Asks for a printer and a side, then prints the symbol centred on the page.
    [[nodiscard]] virtual PrintOutcome PrintSymbol(const PrintRequest& request) = 0;

    // Repaint the preview area now (it shows the preview bitmap only while the payload is set).
    virtual void RepaintPreview() = 0;

    // What the controls show, as the core changes it.
    virtual void RadioChecked(int radioId) = 0;
    virtual void TabsRebuilt(
        const DialectDef& dialect) = 0;              // tabs of the dialect, index 0 selected
    virtual void TabSelected(int index) = 0;         // selection only, no click handling
    virtual void PageCreated(const Page& page) = 0;  // every field empty
    virtual void PageDestroyed(const Page& page) = 0;
    virtual void PageShown(const Page& page, bool visible) = 0;
    virtual void FieldTextSet(const Page& page, int fieldId) = 0;  // read Page::FieldText
    virtual void FieldEnabled(const Page& page, int fieldId, bool enabled) = 0;
    virtual void FocusField(const Page& page, int fieldId) = 0;
    virtual void TrackBarPosition(int position) = 0;  // range 1..6

protected:
    ~UiPort() = default;
};

}  // namespace tirrel
