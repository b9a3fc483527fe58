// A UiPort that records what the core shows and answers file dialogs from a script.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/ui_port.h"
#include "pages/page.h"
#include "pages/tab_sets.h"

namespace tirrel::testing {

class FakeUi : public UiPort {
public:
    void ShowMessage(std::string_view text, Caption) override { messages.emplace_back(text); }
    std::optional<SavePath> AskSavePath(const FileDialogSpec& spec) override {
        dialogs.push_back(Filters(spec));
        std::optional<std::string> path = NextPath();
        if (!path) return std::nullopt;
        return SavePath{*path, saveType};
    }
    std::optional<std::string> AskOpenPath(const FileDialogSpec& spec) override {
        dialogs.push_back(Filters(spec));
        return NextPath();
    }
    void CopyImage(const ClipboardImage& image) override { copied.push_back(image); }
    PrintOutcome PrintSymbol(const PrintRequest& request) override {
        printed.push_back(request);
        return printOutcome;
    }
    void RepaintPreview() override {
        ++repaints;
        if (onRepaint) onRepaint();
    }
    void RadioChecked(int radioId) override { radio = radioId; }
    void TabsRebuilt(const DialectDef& dialect) override {
        tabs.clear();
        for (const Tab& t : dialect.tabs)
            tabs.emplace_back(t.label);
        selectedTab = 0;
    }
    void TabSelected(int index) override { selectedTab = index; }
    void PageCreated(const Page& page) override { Log("create", page.id()); }
    void PageDestroyed(const Page& page) override { Log("destroy", page.id()); }
    void PageShown(const Page& page, bool visible) override {
        Log(visible ? "show" : "hide", page.id());
    }
    void FieldTextSet(const Page& page, int fieldId) override { Log("text", page.id(), fieldId); }
    void FieldEnabled(const Page& page, int fieldId, bool enabled) override {
        Log(enabled ? "enable" : "disable", page.id(), fieldId);
    }
    void FocusField(const Page& page, int fieldId) override { focus = {page.id(), fieldId}; }
    void TrackBarPosition(int position) override { trackBar = position; }

    std::function<void()> onRepaint;
    std::deque<std::optional<std::string>> paths;  // answers to the next file dialogs
    std::size_t saveType = 0;                      // the type a save dialog answers with
    std::vector<ClipboardImage> copied;
    std::vector<PrintRequest> printed;
    PrintOutcome printOutcome = PrintOutcome::kPrinted;
    std::vector<std::string> messages, dialogs, events, tabs;
    int repaints = 0, radio = 0, selectedTab = -1, trackBar = 0;
    std::pair<int, int> focus{0, 0};

private:
    // The dialog's filters, as one line.
    static std::string Filters(const FileDialogSpec& spec) {
        std::string line;
        for (const FileType& t : spec.types)
            line += (line.empty() ? "" : ";;") + std::string(t.filter);
        return line;
    }
    std::optional<std::string> NextPath() {
        if (paths.empty()) return std::nullopt;
        auto p = paths.front();
        paths.pop_front();
        return p;
    }
    void Log(const char* what, int page, int field = 0) {
        events.push_back(std::string(what) + " " + std::to_string(page) +
                         (field ? " " + std::to_string(field) : ""));
    }
};

}  // namespace tirrel::testing
