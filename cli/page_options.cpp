#include "cli/page_options.h"

#include "cli/commands.h"
#include "cli/options.h"

namespace tirrel::cli {
namespace {

std::string DialectCodes() {
    std::string codes;
    for (const DialectDef& d : AllDialects())
        codes += (codes.empty() ? "" : ", ") + std::to_string(d.dialect);
    return codes;
}

// "102 中国联通: 0 名片 (N COR ...), 1 ..." for every dialect.
std::string TabsHelp() {
    std::string help = "Tabs and the field keys of their pages:\n";
    for (const DialectDef& d : AllDialects()) {
        help += "  " + std::to_string(d.dialect) + " " + std::string(d.label) + ":\n";
        for (size_t i = 0; i < d.tabs.size(); ++i) {
            help += "    " + std::to_string(i) + " " + std::string(d.tabs[i].label) + ":";
            const PageDef& page = PageDefinition(d.tabs[i].page);
            for (const FieldDef& f : page.fields)
                if (FieldEnabledUnder(d, page, f.id)) help += " " + std::string(f.key);
            help += "\n";
        }
    }
    return help;
}

}  // namespace

void AddPageOptions(CLI::App& app, int& dialect, int& tab) {
    auto code = [](const std::string& v) -> std::optional<int> {
        int n = 0;
        if (!ParseInt(v, n) || !DialectByCode(n)) return std::nullopt;
        return n;
    };
    std::string dialects;
    for (const DialectDef& d : AllDialects())
        dialects +=
            (dialects.empty() ? "" : ", ") + std::to_string(d.dialect) + " " + std::string(d.label);
    AddParsed(app, "--dialect", dialect, code, DialectCodes(),
              "the carrier convention: " + dialects)
        ->type_name("CODE")
        ->required();
    AddParsed(app, "--tab", tab, WholeNumber, "a whole number",
              "the page by its tab in the dialect, 0 first (listed below)")
        ->type_name("INDEX")
        ->required();
    app.footer(TabsHelp());
}

int CheckTab(const DialectDef& dialect, int tab) {
    if (tab >= 0 && tab < static_cast<int>(dialect.tabs.size())) return kExitOk;
    return Fail(kExitUsage, "--tab must be 0.." + std::to_string(dialect.tabs.size() - 1) +
                                " for dialect " + std::to_string(dialect.dialect));
}

}  // namespace tirrel::cli
