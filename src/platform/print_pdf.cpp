#include "platform/print_pdf.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <cstdio>
#include <memory>

namespace torvane::platform {
namespace {

int gArgc = 1;
char gName[] = "torvane";
char* gArgv[] = {gName, nullptr};

} // namespace

OffscreenApplication::OffscreenApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The command line's output is its own: Qt's start-up remarks (no runtime folder, no
    // session) are not for its reader.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(text));
        }
    });
    app_ = std::make_unique<QGuiApplication>(gArgc, gArgv);
}

OffscreenApplication::~OffscreenApplication() = default;

bool htmlToPdf(const std::string& html, const std::string& title, std::string& pdf,
               std::string& error) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        error = "no GUI application to lay out the page";
        return false;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) {
        error = buffer.errorString().toStdString();
        return false;
    }
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(QString::fromStdString(title));
        writer.setCreator(QStringLiteral("Torvane"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        writer.setResolution(300);
        QTextDocument document;
        document.setHtml(QString::fromStdString(html));
        document.print(&writer);
    }
    buffer.close();
    if (bytes.isEmpty()) {
        error = "the PDF writer wrote nothing";
        return false;
    }
    pdf.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return true;
}

} // namespace torvane::platform
