// What the update worker asks of the desktop: its error boxes, its question and opening a
// download page. The worker calls from its own thread; each request runs on the UI thread and
// blocks only the worker until it is answered.
#pragma once

#include <memory>

#include "update/update_check.h"

namespace tirrel::gui {

std::shared_ptr<UpdateUi> MakeUpdateUi();

}  // namespace tirrel::gui
