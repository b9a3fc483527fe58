#include "pages/payload.h"

#include "pages/tab_sets.h"

namespace tirrel {

std::string_view DialectHeader(int dialect) {
    const DialectDef* d = DialectByCode(dialect);
    return (d ? d : DialectByCode(kDialectUnicom))->header;
}

std::string EscapeField(std::string_view text, Escaping escaping) {
    std::string out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size();) {
        size_t n = GbkCharLength(text, i);
        char c = text[i];
        // The three substitutions run one after another over the whole text; since "%" is
        // doubled first, the "%" the later steps insert stay single: a per-character pass
        // gives the same bytes.
        if (n == 1 && (c == '%' || c == ';' || (c == ':' && escaping == Escaping::kFull))) {
            out += '%';
        }
        out.append(text.substr(i, n));
        i += n;
    }
    return out;
}

std::string BuildPayload(const PageDef& page, std::span<const std::string> texts,
                         const PageHost* host) {
    if (page.header == HeaderRule::kRawText) return texts.empty() ? std::string() : texts[0];

    std::string entries;
    for (size_t i = 0; i < page.fields.size() && i < texts.size(); ++i) {
        if (texts[i].empty()) continue;
        entries.append(page.fields[i].key);
        entries += ':';
        entries += EscapeField(texts[i], page.fields[i].escaping);
        entries += ';';
    }
    if (entries.empty()) return {};

    int dialect = kDialectMobileV1;
    if (page.header == HeaderRule::kDialect) dialect = host ? host->GetDialect() : kDialectUnicom;
    std::string payload(DialectHeader(dialect));
    payload.append(page.recordType);
    payload += ':';
    payload += entries;
    payload += ';';
    return payload;
}

}  // namespace tirrel
