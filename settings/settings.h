// The settings file "Sembrano.ini" (section "Sembrano"): symbol settings, the preview zoom
// step restored at start-up and the installation identifier, read once per run and written
// once at its end. Also MakeUid, which makes that identifier on the first run.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/file_read.h"

namespace tirrel {

struct Settings {
    int CodeVersion = 0;  // 0 = automatic, 1..10
    int ECCLevel = 0;     // 0 L, 1 M, 2 Q, 3 H, 4 the empty list item (encodes as L)
    int CellPitch = 4;    // pixels per module of the exported bitmap
    int QuiteZone = 4;    // quiet zone of the exported bitmap, in modules
    int Default = 1;      // preview zoom step at start-up (the track bar corrects it)
    int ChineseMode = 0;  // 0: GB2312 characters in the Chinese mode, 1: as 8-bit bytes
    std::string UID = "0";
    bool UidPresent = false;  // a UID is held: 15 decimal digits, the first not '0'
    std::string UpdateUrl;    // optional key "UpdateUrl", read only; empty when missing
};

inline constexpr const char* kSettingsFileName = "Sembrano.ini";
inline constexpr const char* kSettingsSection = "Sembrano";

// The current directory + "/Sembrano.ini", as it is at the moment of the call.
[[nodiscard]] std::string SettingsFilePath();

// Missing or unreadable file, missing keys: defaults. Out-of-range values take the defaults
// for CellPitch (1..20) and QuiteZone (0..30), 0 for CodeVersion (0..10), ECCLevel (0..4)
// and ChineseMode (0..1).
// A UID that is not exactly 15 decimal digits, or starts with '0', is no UID ("0", absent).
// The file is read once; one that is not a regular file of at most 1 MiB counts as unreadable.
[[nodiscard]] Settings ReadSettings(const std::string& path);

// Why the settings were not written: the file there could not be read, so it is kept as it is
// (`read`), or writing failed with the errno `error`.
struct SettingsWriteResult {
    ReadStatus read;  // ok unless the file there was refused
    int error = 0;
    explicit operator bool() const { return read.ok() && error == 0; }
};

// Writes CodeVersion, ECCLevel, CellPitch, QuiteZone, Default, UID and ChineseMode, in that
// order, into
// the section; existing keys are replaced in place and everything else in the file is kept.
// On failure the old file is unchanged; a file that exists but cannot be read (too large, not
// a regular file) is never written over.
[[nodiscard]] SettingsWriteResult WriteSettings(const std::string& path, const Settings& settings);

// Seconds since 1970-01-01, the clock MakeUid is normally given.
[[nodiscard]] int64_t SystemClockSeconds();

// A permutation of "123456789513579": position i is swapped with position
// rand() % 15 after seeding with clock() + i, the clock being read anew for each i.
[[nodiscard]] std::string MakeUid(const std::function<int64_t()>& clock);

}  // namespace tirrel
