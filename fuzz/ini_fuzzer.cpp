// Any bytes are a document. Writing it and reading the result back is stable; a value that
// Set accepts reads back exactly, also after a write and a new parse; a deleted section is
// gone.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/ini.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string section = in.ConsumeRandomLengthString(24);
    const std::string key = in.ConsumeRandomLengthString(24);
    const std::string value = in.ConsumeRandomLengthString(64);
    const bool remove = in.ConsumeBool();
    const std::string bytes = in.ConsumeRemainingBytesAsString();

    tirrel::IniDocument doc = tirrel::IniDocument::Parse(bytes);
    const std::string written = doc.Serialize();
    Check(tirrel::IniDocument::Parse(written).Serialize() == written);

    if (doc.Set(section, key, value) == 0) {
        Check(doc.Get(section, key) == value);
        const tirrel::IniDocument reread = tirrel::IniDocument::Parse(doc.Serialize());
        Check(reread.Get(section, key) == value);
        Check(reread.Serialize() == doc.Serialize());
    }
    if (remove) {
        doc.DeleteSection(section);
        Check(!doc.Get(section, key));
    }
    return 0;
}
