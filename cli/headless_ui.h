// The main window without a screen: messages go to standard error (unless muted while the
// command replays typing), file dialogs are declined and control changes are ignored — the
// window's own state is what the commands read.
#pragma once

#include <iostream>

#include "app/ui_port.h"

namespace tirrel::cli {

class HeadlessUi final : public UiPort {
public:
    void ShowMessage(std::string_view text, Caption) override {
        if (!muted) std::cerr << text << '\n';
    }
    std::optional<std::string> AskSavePath(const FileDialogSpec&) override { return {}; }
    std::optional<std::string> AskOpenPath(const FileDialogSpec&) override { return {}; }
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

    bool muted = false;
};

}  // namespace tirrel::cli
