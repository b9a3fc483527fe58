// tirrel-cli batch: one symbol per row of a CSV or TSV file. The header row names the page's
// field keys; every row is typed into the page as make types its fields, encoded and written
// into the output folder under a name made from the row. Rows are spread over threads, each
// with its own encoder; the files are flushed to the disk once, at the end.
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <unordered_set>
#include <utility>
#include <vector>

#include "cli/batch_rows.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "cli/page_options.h"
#include "cli/streams.h"
#include "cli/symbol_output.h"
#include "cli/table.h"
#include "platform/atomic_file.h"
#include "platform/gbk.h"

namespace tirrel::cli {
namespace {

// A table of business cards is some hundred bytes a row: room for a million rows.
constexpr size_t kMaxTableBytes = size_t{256} << 20;
constexpr size_t kMaxNameBytes = 200;

struct BatchRequest {
    SymbolOutputOptions out;
    int dialect = 0;
    int tab = 0;
    std::string input;
    std::string folder;
    std::string pattern = "{row}";
    bool gbkInput = false;
    bool tsv = false;
    bool saveSig = false;
    int jobs = 0;  // 0: one a core
};

struct Column {
    std::string key;
    int fieldId;
};

// A part of the name pattern: literal text, the row number or a column's text.
struct NamePart {
    std::string text;
    int column;  // kLiteral, kRowNumber or a column index
};
constexpr int kLiteral = -2;
constexpr int kRowNumber = -1;

struct Job {
    size_t row;                      // 1 first, the header not counted
    std::vector<std::string> texts;  // GBK, in column order
    std::string name;                // the file name without its extension, unique
};

struct Failure {
    size_t row;
    std::string reason;
};

std::string Extension(render::Format format) {
    return render::IsText(format) ? ".txt" : "." + std::string(render::FormatName(format));
}

std::string Quoted(std::string_view s) {
    return "'" + std::string(s) + "'";
}

// The header's keys as the page's fields; refused before anything is written.
int ReadColumns(const TableRow& header, const DialectDef& d, const PageDef& page,
                std::vector<Column>& columns) {
    for (size_t i = 0; i < header.size(); ++i) {
        const std::string where = "column " + std::to_string(i + 1) + " " + Quoted(header[i]);
        const FieldDef* f = FindFieldByKey(page, header[i]);
        if (!f) return Fail(kExitUsage, where + ": the page has no such field");
        if (!FieldEnabledUnder(d, page, f->id))
            return Fail(kExitUsage, where + ": the field is disabled in this dialect");
        for (const Column& c : columns)
            if (c.fieldId == f->id) return Fail(kExitUsage, where + ": the key comes twice");
        columns.push_back({header[i], f->id});
    }
    return kExitOk;
}

int ParsePattern(const std::string& pattern, const std::vector<Column>& columns,
                 std::vector<NamePart>& parts) {
    for (size_t at = 0; at < pattern.size();) {
        const size_t open = pattern.find('{', at);
        if (open != at) {
            parts.push_back({pattern.substr(at, open - at), kLiteral});
            if (open == std::string::npos) break;
        }
        const size_t close = pattern.find('}', open);
        if (close == std::string::npos)
            return Fail(kExitUsage, "--name: a '{' without its '}' in " + Quoted(pattern));
        const std::string key = pattern.substr(open + 1, close - open - 1);
        int column = key == "row" ? kRowNumber : kLiteral;
        for (size_t i = 0; i < columns.size(); ++i)
            if (columns[i].key == key) column = static_cast<int>(i);
        if (column == kLiteral)
            return Fail(kExitUsage, "--name: {" + key + "} is neither {row} nor a column");
        parts.push_back({{}, column});
        at = close + 1;
    }
    return kExitOk;
}

// Nothing in a name can leave the folder: no slash, no control character, no leading dot
// (".", ".." and hidden files), at most kMaxNameBytes bytes, never empty.
std::string SafeName(std::string_view name) {
    std::string out;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        out += (u < 0x20 || u == 0x7F || c == '/' || c == '\\') ? '_' : c;
    }
    if (!out.empty() && out[0] == '.') out[0] = '_';
    if (out.size() > kMaxNameBytes) {
        out.resize(kMaxNameBytes);
        while (!out.empty() && (static_cast<unsigned char>(out.back()) & 0xC0) == 0x80)
            out.pop_back();
        if (!out.empty() && static_cast<unsigned char>(out.back()) >= 0xC0) out.pop_back();
    }
    return out.empty() ? "_" : out;
}

// The fields as GBK, or why the row cannot be typed.
std::string ConvertRow(const TableRow& cells, const std::vector<Column>& columns, bool gbkInput,
                       std::vector<std::string>& texts) {
    if (cells.size() != columns.size())
        return std::to_string(cells.size()) + " fields where the header has " +
               std::to_string(columns.size());
    for (size_t i = 0; i < cells.size(); ++i) {
        const std::string where = "column " + std::to_string(i + 1) + " " + columns[i].key;
        if (cells[i].find('\0') != std::string::npos) return where + " holds a zero byte";
        if (gbkInput) {
            if (!IsValidGbk(cells[i])) return where + " is not GBK text";
            texts.push_back(cells[i]);
            continue;
        }
        std::optional<std::string> gbk = Utf8ToGbk(cells[i]);
        if (!gbk)
            return where + ": GBK cannot hold " + Quoted(FirstCharacterGbkCannotHold(cells[i]));
        texts.push_back(std::move(*gbk));
    }
    return {};
}

class NameMaker {
public:
    NameMaker(std::vector<NamePart> parts, std::string extension)
        : parts_(std::move(parts)), extension_(std::move(extension)) {}

    // The row's name, with "-2", "-3", ... when an earlier row has it.
    std::string Make(size_t row, const TableRow& cells, bool gbkInput) {
        std::string name;
        for (const NamePart& p : parts_) {
            if (p.column == kLiteral)
                name += p.text;
            else if (p.column == kRowNumber)
                name += std::to_string(row);
            else
                name += gbkInput ? GbkToUtf8(cells[size_t(p.column)]) : cells[size_t(p.column)];
        }
        const std::string base = SafeName(name);
        std::string unique = base;
        for (int n = 2; !taken_.insert(unique + extension_).second; ++n)
            unique = base + "-" + std::to_string(n);
        return unique;
    }

private:
    std::vector<NamePart> parts_;
    std::string extension_;
    std::unordered_set<std::string> taken_;
};

// A line on a terminal, redrawn in place: rows done, rate and time left.
void DrawProgress(size_t done, size_t total, double seconds) {
    constexpr int kWidth = 30;
    const int filled = total ? static_cast<int>(kWidth * done / total) : kWidth;
    const double rate = seconds > 0 ? double(done) / seconds : 0;
    const double left = rate > 0 ? double(total - done) / rate : 0;
    std::fprintf(stderr, "\r[%.*s%.*s] %zu/%zu rows, %.0f rows/s, %.0f s left ", filled,
                 "##############################", kWidth - filled,
                 "------------------------------", done, total, rate, left);
}

class Batch {
public:
    Batch(const BatchRequest& r, const DialectDef& d, const PageDef& page,
          std::vector<Column> columns)
        : r_(r), dialect_(d), page_(page), columns_(std::move(columns)) {}

    void Add(Job job) { jobs_.push_back(std::move(job)); }
    void Refuse(size_t row, std::string reason) { failures_.push_back({row, std::move(reason)}); }

    // Encodes and writes every job on `threads` threads; returns the rows written.
    size_t Run(int threads) {
        results_.assign(jobs_.size(), {});
        std::vector<std::thread> pool;
        pool.reserve(size_t(threads));
        for (int i = 0; i < threads; ++i)
            pool.emplace_back([this] { Work(); });
        if (StderrIsTerminal()) ShowProgress();
        for (std::thread& t : pool)
            t.join();
        size_t written = 0;
        for (size_t i = 0; i < jobs_.size(); ++i) {
            if (results_[i].empty())
                ++written;
            else
                failures_.push_back({jobs_[i].row, std::move(results_[i])});
        }
        return written;
    }

    // Every refusal, in row order.
    std::vector<Failure> Failures() {
        std::stable_sort(failures_.begin(), failures_.end(),
                         [](const Failure& a, const Failure& b) { return a.row < b.row; });
        return failures_;
    }

private:
    void Work() {
        std::vector<int> ids;
        for (const Column& c : columns_)
            ids.push_back(c.fieldId);
        RowEncoder encoder(dialect_, page_, ids, r_.out, r_.saveSig);
        const std::string extension = Extension(*r_.out.format);
        for (size_t i = next_++; i < jobs_.size(); i = next_++) {
            const Job& job = jobs_[i];
            EncodedRow row = encoder.Encode(job.texts);
            std::string& error = results_[i];
            error = std::move(row.error);
            if (error.empty()) error = Write(job.name + extension, row.image);
            if (error.empty() && row.sig) error = Write(job.name + ".sig", *row.sig);
            ++done_;
        }
    }

    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string path = r_.folder + "/" + name;
        if (WriteFileAtomicallyUnsynced(path, bytes) == 0) return {};
        return "cannot write " + path + ": " + std::strerror(errno);
    }

    void ShowProgress() {
        const auto start = std::chrono::steady_clock::now();
        auto seconds = [&start] {
            return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        };
        while (done_ < jobs_.size()) {
            DrawProgress(done_, jobs_.size(), seconds());
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        DrawProgress(jobs_.size(), jobs_.size(), seconds());
        std::fputc('\n', stderr);
    }

    const BatchRequest& r_;
    const DialectDef& dialect_;
    const PageDef& page_;
    std::vector<Column> columns_;
    std::vector<Job> jobs_;
    std::vector<std::string> results_;  // per job, written by the one thread that took it
    std::vector<Failure> failures_;
    std::atomic<size_t> next_ = 0;
    std::atomic<size_t> done_ = 0;
};

int CheckRequest(BatchRequest& r) {
    if (r.folder == kStandardStream)
        return Fail(kExitUsage, "batch writes files: -o names their folder");
    if (!r.out.format) r.out.format = render::Format::kPng;
    r.out.output = r.folder;  // the format is settled: only the combination rules remain
    if (int rc = CheckSymbolOutputOptions(r.out, /*outputRequired=*/false)) return rc;
    if (r.jobs < 0) return Fail(kExitUsage, "-j takes a number of threads, at least 1");
    if (r.jobs == 0) r.jobs = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    return kExitOk;
}

int Summarise(size_t written, const std::vector<Failure>& failures, double seconds) {
    for (const Failure& f : failures)
        Fail(kExitRefused, "row " + std::to_string(f.row) + ": " + f.reason);
    std::fprintf(stderr, "tirrel-cli: batch: %zu written, %zu failed in %.2f s (%.0f rows/s)\n",
                 written, failures.size(), seconds,
                 seconds > 0 ? double(written + failures.size()) / seconds : 0.0);
    return failures.empty() ? kExitOk : kExitRefused;
}

int RunBatch(BatchRequest& r) {
    const auto start = std::chrono::steady_clock::now();
    if (int rc = CheckRequest(r)) return rc;
    const DialectDef& dialect = *DialectByCode(r.dialect);
    if (int rc = CheckTab(dialect, r.tab)) return rc;
    const PageDef& page = PageDefinition(dialect.tabs[size_t(r.tab)].page);

    std::string text;
    if (int rc = ReadInput(r.input, text, kMaxTableBytes)) return rc;
    const bool tsv = r.tsv || (r.input.size() > 4 && r.input.substr(r.input.size() - 4) == ".tsv");
    Table table = ReadTable(text, tsv ? TableKind::kTsv : TableKind::kCsv);
    if (!table.error.empty()) return Fail(kExitUsage, r.input + ": " + table.error);
    if (table.rows.empty()) return Fail(kExitUsage, r.input + ": no header row");
    std::vector<Column> columns;
    if (int rc = ReadColumns(table.rows[0], dialect, page, columns)) return rc;
    std::vector<NamePart> parts;
    if (int rc = ParsePattern(r.pattern, columns, parts)) return rc;

    std::error_code ec;
    std::filesystem::create_directories(r.folder, ec);
    if (ec) return Fail(kExitRefused, "cannot create " + r.folder + ": " + ec.message());

    Batch batch(r, dialect, page, columns);
    NameMaker names(std::move(parts), Extension(*r.out.format));
    for (size_t i = 1; i < table.rows.size(); ++i) {
        Job job{i, {}, {}};
        std::string refusal = ConvertRow(table.rows[i], columns, r.gbkInput, job.texts);
        if (!refusal.empty()) {
            batch.Refuse(i, std::move(refusal));
            continue;
        }
        job.name = names.Make(i, table.rows[i], r.gbkInput);
        batch.Add(std::move(job));
    }
    const size_t written = batch.Run(r.jobs);
    const std::vector<Failure> failures = batch.Failures();
    if (SyncFileSystem(r.folder) != 0)
        return Fail(kExitRefused,
                    "cannot flush " + r.folder + " to the disk: " + std::strerror(errno));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return Summarise(written, failures, seconds);
}

void DefineBatchOptions(CLI::App& app, BatchRequest& r) {
    app.add_option("TABLE", r.input,
                   "the CSV (RFC 4180) or, named .tsv or with --tsv, TSV file; - is stdin. Its "
                   "header row names the page's field keys; rows are numbered from 1 after it")
        ->required();
    AddPageOptions(app, r.dialect, r.tab);
    app.add_option("-o", r.folder, "the folder for the files, created if missing")
        ->type_name("DIR")
        ->required();
    app.add_option("--name", r.pattern,
                   "file name of each row without extension, from {row} and {KEY} of any column; "
                   "slashes and control characters become _, a repeated name gets -2, -3, ...")
        ->type_name("PATTERN")
        ->default_str("{row}");
    auto encoding = [](const std::string& v) -> std::optional<bool> {
        if (v == "utf8" || v == "utf-8") return false;
        if (v == "gbk") return true;
        return std::nullopt;
    };
    AddParsed(app, "--encoding", r.gbkInput, encoding, "utf8 or gbk",
              "the table's text: utf8 (default) or gbk")
        ->type_name("ENC");
    app.add_flag("--tsv", r.tsv, "read tab-separated values whatever the name");
    app.add_flag("--save-sig", r.saveSig, "write each row's information file beside its image");
    AddParsed(app, "-j", r.jobs, WholeNumber, "a whole number",
              "threads, at least 1 (default: one a core); the files do not depend on it")
        ->type_name("N");
    AddSymbolOptions(app, r.out);
    AddImageOptions(app, r.out);
}

}  // namespace

Runner DefineBatch(CLI::App& command) {
    auto request = std::make_shared<BatchRequest>();
    DefineBatchOptions(command, *request);
    return [request] { return RunBatch(*request); };
}

}  // namespace tirrel::cli
