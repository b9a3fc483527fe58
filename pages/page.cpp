#include "pages/page.h"

#include "pages/payload.h"

namespace tirrel {
namespace {

// A line break reaches a field as LF, CR or CR LF, depending on the face and the clipboard;
// the payload always carries CR LF. GBK trail bytes are never CR or LF, so a byte scan is safe.
std::string WithCrLfLineBreaks(std::string_view typed) {
    std::string out;
    out.reserve(typed.size());
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const char c = typed[i];
        if (c != '\r' && c != '\n') {
            out += c;
            continue;
        }
        out += "\r\n";
        if (c == '\r' && i + 1 < typed.size() && typed[i + 1] == '\n') ++i;
    }
    return out;
}

}  // namespace

Page::Page(const PageDef& def)
    : def_(&def), texts_(def.fields.size()), enabled_(def.fields.size(), true) {}

void Page::CreateWindow() {
    for (std::string& text : texts_)
        text.clear();
    enabled_.assign(enabled_.size(), true);
    hasWindow_ = true;
    visible_ = false;
}

void Page::DestroyWindow() {
    for (std::string& text : texts_)
        text.clear();
    hasWindow_ = false;
    visible_ = false;
}

int Page::IndexOf(int id) const {
    for (size_t i = 0; i < def_->fields.size(); ++i) {
        if (def_->fields[i].id == id) return static_cast<int>(i);
    }
    return -1;
}

const std::string& Page::FieldText(int id) const {
    static const std::string kNone;
    int i = IndexOf(id);
    return i < 0 ? kNone : texts_[i];
}

bool Page::FieldEnabled(int id) const {
    int i = IndexOf(id);
    return i >= 0 && enabled_[i];
}

void Page::SetFieldEnabled(int id, bool enabled) {
    int i = IndexOf(id);
    if (i >= 0) enabled_[i] = enabled;
}

bool Page::EditField(int id, std::string_view text) {
    int i = IndexOf(id);
    if (i < 0 || !enabled_[i]) return false;
    texts_[i] = WithCrLfLineBreaks(text);
    Rebuild();
    return true;
}

void Page::SetFieldText(int id, std::string text) {
    int i = IndexOf(id);
    if (i < 0) return;
    texts_[i] = std::move(text);
    if (observer_) observer_->OnFieldTextSet(*this, id);
    Rebuild();
}

void Page::Rebuild() {
    payload_ = BuildPayload(*def_, texts_, host_);
    if (host_) host_->SetPayload(payload_);
}

void Page::Clear() {
    for (int id : def_->clearOrder) {
        int i = IndexOf(id);
        if (i < 0 || texts_[i].empty()) continue;
        texts_[i].clear();
        if (observer_) observer_->OnFieldTextSet(*this, id);
        Rebuild();
    }
    payload_.clear();
}

}  // namespace tirrel
