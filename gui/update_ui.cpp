#include "gui/update_ui.h"
#include "gui/qt_text.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QUrl>
#include <functional>

#include "settings/parameter_dialogs.h"

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
        OnUiThread([&] {
            QMessageBox box(QMessageBox::Warning, Utf8(kErrorCaption), Utf8(text), QMessageBox::Ok);
            box.button(QMessageBox::Ok)->setText(Utf8(kDialogOkText));
            box.exec();
        });
    }

    bool AskUpdate(const std::string& caption, const std::string& text) override {
        bool ok = false;
        OnUiThread([&] {
            QMessageBox box(QMessageBox::Question, Utf8(caption), Utf8(text),
                            QMessageBox::Ok | QMessageBox::Cancel);
            box.button(QMessageBox::Ok)->setText(Utf8(kDialogOkText));
            box.button(QMessageBox::Cancel)->setText(Utf8(kDialogCancelText));
            ok = box.exec() == QMessageBox::Ok;
        });
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
