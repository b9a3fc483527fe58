// One content page: the generic page that walks a PageDef. It owns its field texts (GBK), the
// page window's existence, visibility and enabled flags, and its stored payload. A change of any
// field runs Rebuild, which hands the new payload to the host's SetPayload.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pages/page_def.h"
#include "pages/page_host.h"

namespace tirrel {

class Page;

// Told when the program (not the user) changes what a page shows, so the toolkit can follow.
class PageObserver {
public:
    virtual void OnFieldTextSet(const Page& page, int fieldId) = 0;

protected:
    ~PageObserver() = default;
};

class Page {
public:
    explicit Page(const PageDef& def);

    [[nodiscard]] const PageDef& def() const { return *def_; }
    [[nodiscard]] PageTemplate id() const { return def_->id; }

    void SetListener(PageHost* host) { host_ = host; }
    void SetObserver(PageObserver* observer) { observer_ = observer; }

    // The page window: created with every field empty and enabled, destroyed with its texts.
    void CreateWindow();
    void DestroyWindow();
    [[nodiscard]] bool HasWindow() const { return hasWindow_; }
    [[nodiscard]] bool visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }

    [[nodiscard]] const std::string& FieldText(int id) const;
    [[nodiscard]] bool FieldEnabled(int id) const;
    void SetFieldEnabled(int id, bool enabled);

    // The user typed, pasted or deleted: the field now holds `text`, its line breaks (LF, CR or
    // CR LF) as CR LF. Refused (false) for a field the page lacks or that is disabled.
    [[nodiscard]] bool EditField(int id, std::string_view text);

    // The program sets a field's text (loading a file): kept byte for byte, always raises the
    // change, as setting a control's text does, and tells the observer.
    void SetFieldText(int id, std::string text);

    // Builds the payload from all fields, stores it and hands a copy to the host.
    void Rebuild();

    // Empties the fields in the page's clear order, each as a user deletion would (a field that
    // held text raises its change), then the stored payload, without telling the host.
    void Clear();

    [[nodiscard]] const std::string& payload() const { return payload_; }

private:
    [[nodiscard]] int IndexOf(int id) const;

    const PageDef* def_;
    PageHost* host_ = nullptr;
    PageObserver* observer_ = nullptr;
    std::vector<std::string> texts_;  // parallel to def_->fields
    std::vector<bool> enabled_;
    std::string payload_;
    bool hasWindow_ = false;
    bool visible_ = false;
};

}  // namespace tirrel
