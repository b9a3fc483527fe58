// The carrier dialects, as the pages, the tab sets and the information files name them.
#pragma once

namespace tirrel {

enum Dialect : int {
    kDialectMobileV1 = 100,  // 中国移动v1.0, header 01 10
    kDialectMobileV2 = 101,  // 中国移动v2.0, header 01 20
    kDialectUnicom = 102,    // 中国联通,     header 11 10
};

}  // namespace tirrel
