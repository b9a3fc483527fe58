// The main window without a screen: messages go to standard error (unless muted while the
// command replays typing); dialogs are declined and control changes ignored — the window's own
// state is what the commands read.
#pragma once

#include <iostream>

#include "app/null_ui_port.h"

namespace tirrel::cli {

class HeadlessUi final : public NullUiPort {
public:
    void ShowMessage(std::string_view text, Caption) override {
        if (!muted) std::cerr << text << '\n';
    }

    bool muted = false;
};

}  // namespace tirrel::cli
