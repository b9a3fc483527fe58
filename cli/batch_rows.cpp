#include "cli/batch_rows.h"

#include "app/encode_symbol.h"
#include "app/messages.h"
#include "infofile/infofile.h"

namespace tirrel::cli {

RowEncoder::RowEncoder(const DialectDef& dialect, const PageDef& page, std::vector<int> fieldIds,
                       const SymbolOutputOptions& out, bool withSig)
    : dialect_(dialect), page_(page), fieldIds_(std::move(fieldIds)), out_(out), withSig_(withSig) {
    page_.SetListener(this);
}

EncodedRow RowEncoder::Encode(const std::vector<std::string>& texts) {
    EncodedRow row;
    // As the window shows the page: a fresh window, fields enabled as the dialect says.
    page_.CreateWindow();
    for (const FieldDef& f : page_.def().fields)
        page_.SetFieldEnabled(f.id, FieldEnabledUnder(dialect_, page_.def(), f.id));
    for (size_t i = 0; i < fieldIds_.size() && i < texts.size(); ++i)
        (void)page_.EditField(fieldIds_[i], texts[i]);  // enabled: the header was checked
    row.payload = page_.payload();
    if (row.payload.empty()) {
        row.error = "the payload is empty: nothing to encode";
        return row;
    }
    EncodedSymbolPtr symbol = EncodeSymbol(row.payload, out_.version,
                                           LevelFromEccSetting(out_.eccSetting), ChoicesOf(out_));
    if (!symbol) {
        row.error = std::string(kMsgVersionError);
        return row;
    }
    const render::Result r =
        render::Render(*out_.format, render::Modules(symbol->modules.data(), symbol->width),
                       RenderOptions(out_), row.image);
    FreeSymbol(std::move(symbol));
    if (!r.ok()) {
        row.error = r.failure == render::Failure::kTooLarge
                        ? "the image would be too large: lower --cell-pitch or --quiet-zone"
                        : "cannot draw the image: " + render::FailureCause(r);
        return row;
    }
    if (withSig_) {
        const bool custom = dialect_.dialect == kDialectUnicom && page_.id() == kCustomPage;
        row.sig = NewInformationFile(dialect_.dialect, custom, row.payload);
        if (!row.sig) row.error = "cannot store the information file";
    }
    return row;
}

}  // namespace tirrel::cli
