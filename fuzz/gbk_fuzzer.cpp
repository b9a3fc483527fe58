// UTF-8 -> GBK -> UTF-8 gives back the text whenever the first step succeeds; the reverse
// direction takes any bytes and shows each one it cannot convert as U+FFFD.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/gbk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string> gbk = tirrel::Utf8ToGbk(input);
    if (gbk && tirrel::GbkToUtf8(*gbk) != input) std::abort();

    // What is shown without a replacement character converts back to the same bytes.
    const std::string shown = tirrel::GbkToUtf8(input);
    if (shown.find("\xEF\xBF\xBD") == std::string::npos && tirrel::Utf8ToGbk(shown) != input) {
        std::abort();
    }
    return 0;
}
