// A UiPort that shows nothing and answers every dialog with "cancel": the base for faces that
// have no screen (the command-line tool, benchmarks).
#pragma once

#include "app/ui_port.h"

namespace tirrel {

class NullUiPort : public UiPort {
public:
    void ShowMessage(std::string_view, Caption) override {}
    std::optional<SavePath> AskSavePath(const FileDialogSpec&) override { return {}; }
    std::optional<std::string> AskOpenPath(const FileDialogSpec&) override { return {}; }
    void CopyImage(const ClipboardImage&) override {}
    PrintOutcome PrintSymbol(const PrintRequest&) override { return PrintOutcome::kCancelled; }
    void RepaintPreview() override {}
    void RadioChecked(int) override {}
    void TabsRebuilt(const DialectDef&) override {}
    void TabSelected(int) override {}
    void PageCreated(const Page&) override {}
    void PageDestroyed(const Page&) override {}
    void PageShown(const Page&, bool) override {}
    void FieldTextSet(const Page&, int) override {}
    void FieldEnabled(const Page&, int, bool) override {}
    void FocusField(const Page&, int) override {}
    void TrackBarPosition(int) override {}

protected:
    ~NullUiPort() = default;
};

}  // namespace tirrel
