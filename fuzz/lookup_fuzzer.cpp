// Feeds random reply bytes, names and capacities to the header and body lookups. The out
// buffer is allocated at exactly the capacity so any write past it trips AddressSanitizer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "update/value_lookup.h"

namespace {

constexpr std::string_view kNames[] = {
    "Correspond_Status", "ADS_APP_VER", "VER", "ResUrl", "DlUrl", "\r\n", ":"};

void CheckCopy(int result, std::string_view text, const char* out, std::size_t capacity,
               bool copied) {
    if (capacity == 0 || !copied) return;
    const std::size_t len = strnlen(out, capacity);
    if (len >= capacity) std::abort();  // not terminated inside the buffer
    if (result >= 0 && len > static_cast<std::size_t>(result)) std::abort();
    if (len > 0 && text.find(std::string_view(out, len)) == std::string_view::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const std::size_t capacity = data[0];
    const std::size_t pick = data[1] % (std::size(kNames) + 1);
    const std::size_t name_length = data[2] % 16;
    data += 3;
    size -= 3;
    std::string_view name;
    if (pick < std::size(kNames)) {
        name = kNames[pick];
    } else {
        // A name taken from the input itself.
        name = std::string_view(reinterpret_cast<const char*>(data),
                                name_length > size ? size : name_length);
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    std::unique_ptr<char[]> out(capacity > 0 ? new char[capacity] : nullptr);
    if (capacity > 0) out[0] = '\0';
    const int header = tirrel::FindHeaderValue(text, name, out.get(), capacity);
    CheckCopy(header, text, out.get(), capacity, true);

    if (capacity > 0) out[0] = '\0';
    const int element = tirrel::GetElementValue(text, name, out.get(), capacity);
    CheckCopy(element < 0 ? element : element - 1, text, out.get(), capacity, element != -1);
    return 0;
}
