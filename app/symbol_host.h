// Everything the content pages and the parameter dialogs may ask of the main window: the union
// of the interfaces those modules own.
#pragma once

#include "pages/page_host.h"
#include "settings/symbol_settings.h"

namespace tirrel {

class SymbolHost : public PageHost, public SymbolSettings {
protected:
    ~SymbolHost() = default;
};

}  // namespace tirrel
