// One row of a batch as the window would take it: the fields typed into a page of the chosen
// dialect, in the header's order, each as one keystroke, then the symbol and the image in
// memory. Each thread has its own RowEncoder; nothing in it is shared.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/symbol_output.h"
#include "pages/page.h"
#include "pages/tab_sets.h"

namespace tirrel::cli {

struct EncodedRow {
    std::string payload;
    std::string image;
    std::optional<std::string> sig;  // the information file, when asked for
    std::string error;               // why the row gives no symbol; empty when it does
};

class RowEncoder final : private PageHost {
public:
    // `fieldIds` are the page's control ids in the header's column order.
    RowEncoder(const DialectDef& dialect, const PageDef& page, std::vector<int> fieldIds,
               const SymbolOutputOptions& out, bool withSig);

    // `texts` are GBK, parallel to the field ids.
    [[nodiscard]] EncodedRow Encode(const std::vector<std::string>& texts);

private:
    void SetPayload(std::string) override {}
    [[nodiscard]] int GetDialect() const override { return dialect_.dialect; }

    const DialectDef& dialect_;
    Page page_;
    std::vector<int> fieldIds_;
    const SymbolOutputOptions& out_;
    bool withSig_;
};

}  // namespace tirrel::cli
