// The whole cost of one keystroke: a field change through Rebuild, SetPayload and Generate
// (encode, the 420 x 420 preview reallocated, filled and drawn), for symbols of versions 1, 4
// and 10. Two texts that differ in their last character alternate, so every keystroke really
// changes the payload.
#include <benchmark/benchmark.h>

#include <string>

#include "app/main_window.h"
#include "app/null_ui_port.h"

namespace {

using namespace tirrel;

class NullUi final : public NullUiPort {};

// A business-card-like text body of `bytes` bytes: GB2312 characters, digits and ASCII.
std::string TextOfLength(size_t bytes) {
    const std::string unit = "\xd5\xc5\xc8\xfd 13800138000 Beijing Road 8; ";
    std::string text;
    while (text.size() < bytes)
        text += unit;
    text.resize(bytes);
    if (static_cast<unsigned char>(text.back()) >= 0x80) text.back() = 'x';
    return text;
}

// The longest text of the text page whose symbol has exactly `version`: the biggest keystroke
// cost that version sees.
std::string TextForVersion(MainWindow& window, int version) {
    std::string best;
    for (size_t bytes = 1; bytes < 400; ++bytes) {
        std::string text = TextOfLength(bytes);
        window.EditField(kTextPage, 1016, text);
        if (window.PreviewPainted() && window.matrixWidth() == 17 + 4 * version) best = text;
        if (window.matrixWidth() > 17 + 4 * version) break;
    }
    return best;
}

void BM_Keystroke(benchmark::State& state) {
    const int version = static_cast<int>(state.range(0));
    NullUi ui;
    MainWindow window(ui);
    window.Initialise();
    window.OnShown();
    window.ClickTab(3);  // the text page: DTXT with the dialect header
    std::string a = TextForVersion(window, version), b = a;
    if (a.empty()) {
        state.SkipWithError("no text makes a symbol of this version");
        return;
    }
    b.back() = b.back() == 'x' ? 'y' : 'x';
    window.EditField(kTextPage, 1016, a);
    state.SetLabel(std::to_string(a.size()) + " bytes of text");
    bool flip = false;
    for (auto _ : state) {
        window.EditField(kTextPage, 1016, flip ? a : b);
        flip = !flip;
        benchmark::DoNotOptimize(window.preview());
    }
}
BENCHMARK(BM_Keystroke)
    ->Arg(1)
    ->Arg(4)
    ->Arg(10)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
