#include "gui/update_ui.h"
#include "gui/qt_text.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QThread>
#include <QUrl>
#include <functional>

#include "gui/message_box.h"

namespace tirrel::gui {
namespace {

// Runs `task` on the UI thread and waits for it. Without an application (the program is
// ending) the request is dropped.
void OnUiThread(const std::function<void()>& task) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    if (QThread::currentThread() == app->thread()) {
        task();
        return;
    }
    QMetaObject::invokeMethod(app, task, Qt::BlockingQueuedConnection);
}

class QtUpdateUi final : public UpdateUi {
public:
    void ShowError(const std::string& text) override {
        OnUiThread([&] { ShowWarning(Utf8(kErrorCaption), Utf8(text)); });
    }

    bool AskUpdate(const std::string& caption, const std::string& text) override {
        bool ok = false;
        OnUiThread([&] { ok = AskOkCancel(Utf8(caption), Utf8(text)); });
        return ok;
    }

    void OpenUrl(const std::string& url) override {
        OnUiThread([&] { QDesktopServices::openUrl(QUrl(Utf8(url))); });
    }
};

}  // namespace

std::shared_ptr<UpdateUi> MakeUpdateUi() {
    return std::make_shared<QtUpdateUi>();
}

}  // namespace tirrel::gui
