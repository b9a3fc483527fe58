// --dialect and --tab, shared by make and batch, and the page keys their help lists: all of it
// worked out from the dialect and page rows.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "pages/tab_sets.h"

namespace tirrel::cli {

// Both options, required; the help lists every dialect's tabs with their field keys.
void AddPageOptions(CLI::App& app, int& dialect, int& tab);

// kExitOk, or a usage error naming the dialect's tab range.
int CheckTab(const DialectDef& dialect, int tab);

}  // namespace tirrel::cli
