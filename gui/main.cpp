// tirrel: the desktop program.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <exception>
#include <new>
#include <string_view>

#include "app/messages.h"
#include "gui/qt_text.h"
#include "gui/startup.h"
#include "gui/ui_font.h"

namespace {

// Why the program failed: the detail for standard error, the user's message for the box.
struct Failure {
    const char* detail;
    std::string_view message;
};

Failure Describe(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return {"out of memory", tirrel::kMsgOutOfMemory};
    } catch (const std::exception& e) {
        return {e.what(), tirrel::kMsgUnexpectedFailure};
    } catch (...) {
        return {"unexpected failure", tirrel::kMsgUnexpectedFailure};
    }
}

// Says why the program fails: standard error, then a message box.
void Report(const std::exception_ptr& failure) {
    const Failure f = Describe(failure);
    std::fprintf(stderr, "tirrel: %s\n", f.detail);
    try {
        tirrel::gui::ShowApplicationMessage(tirrel::gui::Utf8(f.message));
    } catch (...) {
        // Standard error already has it.
    }
}

// An exception must not unwind through Qt's event loop: the first one from a handler is
// reported (later ones, even from under its message box, are not), every loop is left, and
// the program exits non-zero.
class Application final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            const bool first = !failed;
            failed = true;
            if (first) Report(std::current_exception());
            QCoreApplication::exit(1);
            return false;
        }
    }

    bool failed = false;
};

}  // namespace

int main(int argc, char** argv) {
    Application app(argc, argv);
    try {
        // Every message box is captioned with the executable's file name without its extension.
        QApplication::setApplicationName(
            QFileInfo(QApplication::applicationFilePath()).completeBaseName());
        const tirrel::gui::StartArguments start =
            tirrel::gui::ParseStartArguments(QApplication::arguments().mid(1));
        if (start.exitCode) {
            std::fputs(start.answer.toLocal8Bit().constData(), *start.exitCode ? stderr : stdout);
            return *start.exitCode;
        }
        tirrel::gui::InstallQtTranslations(app);
        QApplication::setFont(tirrel::gui::UiFont());
        const int rc = tirrel::gui::RunTirrel(start.informationFile);
        return app.failed ? 1 : rc;
    } catch (...) {
        Report(std::current_exception());
        return 1;
    }
}
