// What a content page asks of the window that shows it: where its payload goes, and which
// dialect's header a record gets.
#pragma once

#include <string>

#include "pages/dialect.h"

namespace tirrel {

class PageHost {
public:
    // Stores the payload (GBK bytes, possibly empty) and regenerates the symbol before returning.
    virtual void SetPayload(std::string text) = 0;
    [[nodiscard]] virtual int GetDialect() const = 0;

protected:
    ~PageHost() = default;
};

}  // namespace tirrel
