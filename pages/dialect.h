// The carrier dialect codes, as the pages, the tab sets and the information files name them.
// Everything else about a dialect is in its row (tab_sets.h).
#pragma once

namespace tirrel {

enum Dialect : int {
    kDialectMobileV1 = 100,
    kDialectMobileV2 = 101,
    kDialectUnicom = 102,
};

}  // namespace tirrel
