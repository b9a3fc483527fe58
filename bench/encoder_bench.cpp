// Encoder speed on the shared corpus, beside libqrencode and qrcodegen.
//
// Every iteration encodes the whole corpus, timing each symbol on its own; the figure that
// counts is the median time per symbol. Usage: bench_encoder [corpus] [benchmark flags].
#include <benchmark/benchmark.h>
#include <qrencode.h>
#include <qrcodegen.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "encoder/encoder.h"

namespace {

struct Entry {
    int version = 0;
    int level = 0;  // 0 = L, 1 = M, 2 = Q, 3 = H
    std::string payload;
    std::string label;
};

int LevelOf(const std::string& s) {
    static const std::string kLevels = "LMQH";
    const size_t at = kLevels.find(s);
    return s.size() == 1 && at != std::string::npos ? int(at) : -1;
}

bool FromHex(const std::string& hex, std::string& out) {
    if (hex.size() % 2) return false;
    out.clear();
    for (size_t i = 0; i < hex.size(); i += 2) {
        unsigned value = 0;
        if (std::sscanf(hex.substr(i, 2).c_str(), "%2x", &value) != 1) return false;
        out += char(value);
    }
    return true;
}

std::vector<Entry> ReadCorpus(const std::string& path) {
    std::vector<Entry> corpus;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string level, hex;
        Entry e;
        if (!(fields >> e.version >> level >> hex)) continue;
        fields >> e.label;
        e.level = LevelOf(level);
        if (e.level < 0 || !FromHex(hex, e.payload)) continue;
        corpus.push_back(e);
    }
    return corpus;
}

// Each encoder returns false when it cannot give a symbol of exactly the entry's version.
using Encoder = std::function<bool(const Entry&)>;

bool EncodeOurs(const Entry& e) {
    const std::optional<tirrel::encoder::Symbol> s =
        tirrel::encoder::encode(e.payload, e.version, tirrel::encoder::kLevels[e.level]);
    benchmark::DoNotOptimize(s);
    return s && s->version == e.version;
}

bool EncodeQrencode(const Entry& e) {
    QRcode* code = QRcode_encodeData(int(e.payload.size()),
                                     reinterpret_cast<const unsigned char*>(e.payload.data()),
                                     e.version, QRecLevel(e.level));
    const bool ok = code != nullptr && code->version == e.version;
    benchmark::DoNotOptimize(code);
    QRcode_free(code);
    return ok;
}

bool EncodeQrcodegen(const Entry& e) {
    using qrcodegen::QrCode;
    static const QrCode::Ecc kEcc[4] = {QrCode::Ecc::LOW, QrCode::Ecc::MEDIUM,
                                        QrCode::Ecc::QUARTILE, QrCode::Ecc::HIGH};
    try {
        const std::vector<uint8_t> bytes(e.payload.begin(), e.payload.end());
        QrCode code = QrCode::encodeSegments({qrcodegen::QrSegment::makeBytes(bytes)},
                                             kEcc[e.level], e.version, e.version, -1, false);
        benchmark::DoNotOptimize(code);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void Sweep(benchmark::State& state, const std::vector<Entry>& corpus, const Encoder& encode,
           double* median_us) {
    std::vector<double> samples;
    for (auto _ : state) {
        double total = 0;
        for (const Entry& e : corpus) {
            const auto start = std::chrono::steady_clock::now();
            encode(e);
            const auto end = std::chrono::steady_clock::now();
            const double s = std::chrono::duration<double>(end - start).count();
            samples.push_back(s * 1e6);
            total += s;
        }
        state.SetIterationTime(total);
    }
    *median_us = Median(samples);
    state.counters["median_us"] = *median_us;
    state.counters["symbols"] = double(corpus.size());
}

}  // namespace

int main(int argc, char** argv) {
    std::string path = TIRREL_DEFAULT_CORPUS;
    if (argc > 1 && argv[1][0] != '-') {
        path = argv[1];
        for (int i = 1; i + 1 < argc; ++i)
            argv[i] = argv[i + 1];
        --argc;
    }
    const std::vector<Entry> all = ReadCorpus(path);
    if (all.empty()) {
        std::fprintf(stderr, "no corpus entries in %s\n", path.c_str());
        return 2;
    }
    // A payload that any of the three cannot fit at its version is left out for all.
    std::vector<Entry> corpus;
    for (const Entry& e : all)
        if (EncodeOurs(e) && EncodeQrencode(e) && EncodeQrcodegen(e))
            corpus.push_back(e);
        else
            std::fprintf(stderr, "skipped %s (version %d)\n", e.label.c_str(), e.version);

    std::map<std::string, double> medians;
    const std::pair<const char*, Encoder> peers[] = {
        {"tirrel", EncodeOurs}, {"libqrencode", EncodeQrencode}, {"qrcodegen", EncodeQrcodegen}};
    for (const auto& [name, fn] : peers) {
        double* slot = &medians[name];
        benchmark::RegisterBenchmark(
            (std::string("corpus_sweep/") + name).c_str(),
            [&corpus, fn = fn, slot](benchmark::State& st) { Sweep(st, corpus, fn, slot); })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double ours = medians["tirrel"];
    std::printf(
        "\nmedian per symbol over %zu symbols: tirrel %.2f us, libqrencode %.2f us, "
        "qrcodegen %.2f us\n",
        corpus.size(), ours, medians["libqrencode"], medians["qrcodegen"]);
    if (ours > 0)
        std::printf("ratio libqrencode/tirrel %.1fx, qrcodegen/tirrel %.1fx\n",
                    medians["libqrencode"] / ours, medians["qrcodegen"] / ours);
    return 0;
}
