// What a parsed document costs in memory, measured by counting the heap this program uses.
#include <gtest/gtest.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "platform/ini.h"

namespace {

std::atomic<size_t> g_live{0};
std::atomic<size_t> g_peak{0};

void* Counted(size_t n) {
    void* p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    size_t live = g_live += malloc_usable_size(p);
    size_t peak = g_peak.load();
    while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
    }
    return p;
}

void Uncounted(void* p) {
    if (!p) return;
    g_live -= malloc_usable_size(p);
    std::free(p);
}

}  // namespace

void* operator new(size_t n) {
    return Counted(n);
}
void* operator new[](size_t n) {
    return Counted(n);
}
void operator delete(void* p) noexcept {
    Uncounted(p);
}
void operator delete[](void* p) noexcept {
    Uncounted(p);
}
void operator delete(void* p, size_t) noexcept {
    Uncounted(p);
}
void operator delete[](void* p, size_t) noexcept {
    Uncounted(p);
}

namespace tirrel {
namespace {

// The most heap a parse of `bytes` holds at any moment, its input not counted.
size_t PeakOfParse(const std::string& bytes, IniDocument& doc) {
    g_peak = g_live.load();
    const size_t base = g_live;
    doc = IniDocument::Parse(bytes);
    return g_peak - base;
}

// `line` repeated to at least `size` bytes.
std::string Repeat(const std::string& line, size_t size) {
    std::string out;
    while (out.size() < size)
        out += line;
    return out;
}

TEST(IniMemory, ADocumentCostsAFewBytesPerByteOfFile) {
    const size_t size = size_t{1} << 20;
    const struct {
        const char* name;
        std::string bytes;
        const char* section;  // where the last line's key z is found, if anywhere
    } cases[] = {
        {"line feeds", Repeat("\n", size), nullptr},
        {"short keys", "[S]\n" + Repeat("k=v\n", size) + "z=end", "S"},
        {"headers", Repeat("[s]\n", size) + "z=end", "s"},
    };
    for (const auto& c : cases) {
        IniDocument doc;
        EXPECT_LT(PeakOfParse(c.bytes, doc), 6 * c.bytes.size()) << c.name;
        if (c.section) {
            EXPECT_EQ(doc.Get(c.section, "z"), "end") << c.name;
        }
        EXPECT_GE(doc.Serialize().size(), c.bytes.size()) << c.name;
    }
}

}  // namespace
}  // namespace tirrel
