// Any bytes as the settings file: every value read lies in its accepted range, a UID is
// only ever one MakeUid could have made, and the settings read can always be written and
// then read again as the same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "settings/settings.h"
#include "tests/platform/temp_dir.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}

// What MakeUid makes: 15 decimal digits, the first not '0'.
bool IsUid(const std::string& uid) {
    return uid.size() == 15 && uid.front() != '0' &&
           uid.find_first_not_of("0123456789") == std::string::npos;
}

bool Same(const tirrel::Settings& a, const tirrel::Settings& b) {
    return a.CodeVersion == b.CodeVersion && a.ECCLevel == b.ECCLevel &&
           a.CellPitch == b.CellPitch && a.QuiteZone == b.QuiteZone && a.Default == b.Default &&
           a.UID == b.UID && a.UidPresent == b.UidPresent && a.UpdateUrl == b.UpdateUrl;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const tirrel::testing::TempDir dir;
    const std::string path = dir.File(tirrel::kSettingsFileName);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    const tirrel::Settings read = tirrel::ReadSettings(path);
    Check(InRange(read.CodeVersion, 0, 10) && InRange(read.ECCLevel, 0, 4));
    Check(InRange(read.CellPitch, 1, 20) && InRange(read.QuiteZone, 0, 30));
    Check(!read.UidPresent || IsUid(read.UID));

    // Whatever was read can be written, and reads back as it was.
    Check(static_cast<bool>(tirrel::WriteSettings(path, read)));
    Check(Same(tirrel::ReadSettings(path), read));
    return 0;
}
