#include "gui/app/desktop_opener.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <memory>

namespace torvane::gui {

namespace {
// xdg-open answers "no method available" within moments. Later, it may be waiting for the
// program it started, whose own exit status says nothing about the file being shown.
constexpr qint64 kVerdictMs = 10000;
} // namespace

void openOnDesktop(const QString& path, QObject* context, const std::function<void()>& failed) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty()) {
        auto* process = new QProcess(context);
        // No pipes: the program started may outlive this one and must not write into a closed one.
        process->setStandardInputFile(QProcess::nullDevice());
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        auto since = std::make_shared<QElapsedTimer>();
        QObject::connect(process, &QProcess::errorOccurred, context,
                         [process, failed](QProcess::ProcessError error) {
                             if (error == QProcess::FailedToStart) {
                                 failed();
                                 process->deleteLater();
                             }
                         });
        QObject::connect(process, &QProcess::finished, context,
                         [process, failed, since](int code, QProcess::ExitStatus status) {
                             if (status == QProcess::NormalExit && code != 0 &&
                                 since->elapsed() < kVerdictMs) {
                                 failed();
                             }
                             process->deleteLater();
                         });
        since->start();
        process->start(opener, {path});
        return;
    }
#else
    Q_UNUSED(context);
#endif
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        failed();
    }
}

} // namespace torvane::gui
