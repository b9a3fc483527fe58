// Helpers shared by the encoder tests.
#pragma once

#include <string>
#include <string_view>

#include "encoder/bitstream.h"
#include "platform/gbk.h"

namespace tirrel::testing {

// GBK bytes of a UTF-8 literal; the literal must be representable.
inline std::string Gbk(std::string_view utf8) {
    return Utf8ToGbk(utf8).value_or("<not GBK>");
}

// The stream as a string of '0' and '1'.
inline std::string BitString(const encoder::BitStream& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i)
        out += s.bit(i) ? '1' : '0';
    return out;
}

}  // namespace tirrel::testing
