// Information files. Any file contents: reading, planning and loading into the window never
// crash, and a successful load leaves every field holding the file's value. A record saved
// from any field values (without zero bytes, in valid GBK) loads back to the same values.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/null_ui_port.h"
#include "infofile/infofile.h"
#include "platform/gbk.h"
#include "tests/platform/temp_dir.h"

namespace {

using tirrel::DispatchRow;
using tirrel::InformationDocument;

void Check(bool ok) {
    if (!ok) std::abort();
}

class SilentUi final : public tirrel::NullUiPort {};

// A window as the user sees it after start-up, without settings file or update check.
struct Window {
    SilentUi ui;
    tirrel::MainWindow window{ui};
    Window() {
        window.Initialise();
        window.OnShown();
    }
};

// Loads `path` into the window; where it succeeds, the page the plan names shows the file's
// values in its fields.
bool LoadIntoWindow(const std::string& path, const InformationDocument& doc) {
    Window w;
    const tirrel::LoadPlan plan = tirrel::PlanLoad(doc, w.window.checkedDialect().dialect);
    if (w.window.ReadInformationFile(path) != 0) return false;
    Check(plan.row.has_value());
    const tirrel::Page& page = w.window.page(static_cast<tirrel::PageTemplate>(plan.row->page));
    for (const tirrel::InfoFieldKey& field : plan.row->keys)
        Check(page.FieldText(field.control) == doc.Value(field.key));
    return true;
}

void LoadAnyFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    const std::optional<InformationDocument> doc = InformationDocument::Load(path);
    if (!doc) return;
    for (int dialect : {tirrel::kDialectMobileV1, tirrel::kDialectMobileV2, tirrel::kDialectUnicom})
        static_cast<void>(tirrel::PlanLoad(*doc, dialect));
    LoadIntoWindow(path, *doc);
}

// Zero bytes dropped; a text that is not valid GBK is replaced by its bytes folded to ASCII.
std::string StorableValue(std::string text) {
    std::erase(text, '\0');
    if (tirrel::IsValidGbk(text)) return text;
    for (char& c : text)
        c = static_cast<char>((c & 0x7F) == 0 ? 'x' : c & 0x7F);
    return text;
}

// A field value inside a payload: "%" escapes the next byte, ";" ends the value.
std::string EscapeInPayload(const std::string& value) {
    std::string out;
    for (char c : value) {
        if (c == '%' || c == ';') out += '%';
        out += c;
    }
    return out;
}

void SaveAndLoad(const std::string& path, FuzzedDataProvider& in) {
    const std::vector<DispatchRow> rows = tirrel::DispatchTable();
    const DispatchRow& row = rows[in.ConsumeIntegralInRange<size_t>(0, rows.size() - 1)];
    const bool custom = row.type == "CUSTOM";
    std::vector<std::string> values;
    std::string payload = "\x11\x10";
    if (custom) {
        values.push_back(StorableValue(in.ConsumeRandomLengthString(2000)));
        payload += values.back();
    } else {
        payload += std::string(row.type) + ":";
        for (size_t i = 0; i < row.keys.size(); ++i) {
            values.push_back(StorableValue(in.ConsumeRandomLengthString(200)));
            payload += std::string(row.keys[i].key) + ":" + EscapeInPayload(values.back()) + ";";
        }
        payload += ";";
    }
    std::remove(path.c_str());
    Check(tirrel::WriteInformationRecord(path, row.dialect, custom, payload) == 0);

    const std::optional<InformationDocument> doc = InformationDocument::Load(path);
    Check(doc.has_value());
    Check(doc->Version() == tirrel::VersionValue(row.dialect) && doc->Type() == row.type);
    for (size_t i = 0; i < row.keys.size(); ++i) {
        const std::string& want = custom ? payload : values[i];
        Check(doc->Value(row.keys[i].key) == tirrel::CutGbk(want, tirrel::kInfoValueMaxBytes));
    }
    const tirrel::LoadPlan plan = tirrel::PlanLoad(*doc, tirrel::kDialectUnicom);
    Check(plan.dialect == row.dialect && plan.row && plan.row->type == row.type);
    Check(LoadIntoWindow(path, *doc));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const tirrel::testing::TempDir dir;
    const std::string path = dir.File("record.sig");
    FuzzedDataProvider in(data, size);
    if (in.ConsumeBool()) {
        SaveAndLoad(path, in);
    } else {
        LoadAnyFile(path, in.ConsumeRemainingBytesAsString());
    }
    return 0;
}
