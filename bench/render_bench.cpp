// What drawing a symbol costs beside making it: a version-10 symbol encoded, then rendered
// at module size 4 with the default quiet zone.
#include <benchmark/benchmark.h>

#include <string>

#include "encoder/encoder.h"
#include "render/render.h"

namespace {

using tirrel::render::Format;

// Mixed text that the encoder puts at version 10, level M.
const std::string& Payload() {
    static const std::string payload = [] {
        std::string p;
        while (p.size() < 200)
            p += "CARD:N:ZHANG SAN;TEL:13800138000;URL:http://example.cn/q?id=42;";
        return p.substr(0, 200);
    }();
    return payload;
}

const tirrel::encoder::Symbol& Version10() {
    static const tirrel::encoder::Symbol symbol =
        *tirrel::encoder::encode(Payload(), 10, tirrel::encoder::Level::kM);
    return symbol;
}

void BM_Encode(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            tirrel::encoder::encode(Payload(), 10, tirrel::encoder::Level::kM));
}
BENCHMARK(BM_Encode)->Unit(benchmark::kMicrosecond);

void BM_Render(benchmark::State& state) {
    const Format format = Format(state.range(0));
    state.SetLabel(std::string(tirrel::render::FormatName(format)));
    std::string out;
    for (auto _ : state) {
        if (!tirrel::render::Render(format, Version10(), {}, out).ok())
            state.SkipWithError("render failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = double(out.size());
}
BENCHMARK(BM_Render)
    ->Arg(int(Format::kPng))
    ->Arg(int(Format::kBmp))
    ->Arg(int(Format::kSvg))
    ->Arg(int(Format::kPdf))
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
