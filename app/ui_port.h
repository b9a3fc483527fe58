// The one interface through which the core reaches a toolkit: message boxes, file dialogs,
// repainting the preview, and every change the core makes to what the controls show. The Qt
// front end implements it; tests use a recording fake. Texts are UTF-8; paths are file-system
// paths as the toolkit gives them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tirrel {

class Page;
struct DialectDef;

struct FileDialogSpec {
    std::string_view filter;            // "BMP file(*.bmp)"
    std::string_view pattern;           // "*.bmp"
    std::string_view defaultExtension;  // "bmp"
    bool promptOverwrite;               // saving asks before replacing a file
};

class UiPort {
public:
    enum class Caption { kApplication, kError };

    virtual void ShowMessage(std::string_view text, Caption caption = Caption::kApplication) = 0;
    [[nodiscard]] virtual std::optional<std::string> AskSavePath(const FileDialogSpec& spec) = 0;
    [[nodiscard]] virtual std::optional<std::string> AskOpenPath(const FileDialogSpec& spec) = 0;

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
