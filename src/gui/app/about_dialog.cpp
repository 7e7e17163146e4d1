#include "gui/app/about_dialog.h"

#include "gui/app/translation.h"
#include "platform/data_files.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace torvane::gui {

QImage premultipliedLogo(const QImage& source) {
    // Done by hand rather than by QImage's conversion so the rounding is the documented one.
    QImage in = source.convertToFormat(QImage::Format_ARGB32);
    QImage out(in.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < in.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(in.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < in.width(); ++x) {
            const int a = qAlpha(src[x]);
            dst[x] =
                qRgba(qRed(src[x]) * a / 255, qGreen(src[x]) * a / 255, qBlue(src[x]) * a / 255, a);
        }
    }
    return out;
}

LogoArea::LogoArea(QWidget* parent) : QWidget(parent) {
    setMinimumSize(240, 80);
}

bool LogoArea::load(const QString& path) {
    QImage raw(path);
    if (raw.isNull()) {
        image_ = QImage();
        return false;
    }
    image_ = premultipliedLogo(raw);
    setMinimumSize(image_.size());
    update();
    return true;
}

void LogoArea::paintEvent(QPaintEvent* /*event*/) {
    if (image_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(QPoint(0, 0), image_);
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent), logo_(new LogoArea(this)) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(ui(str::AboutTitle));
    logo_->load(QString::fromStdString(platform::findDataFile(str::LogoFileName)));

    auto* product = new QLabel(ui(str::AboutProduct), this);
    QFont bold = product->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    product->setFont(bold);
    auto* version = new QLabel(ui(str::AboutVersion).arg(QStringLiteral(TORVANE_VERSION)), this);
    version->setObjectName(QStringLiteral("version"));
    auto* notice = new QLabel(ui(str::AboutNotice), this);
    auto* more = new QLabel(ui(str::AboutMoreInfo), this);
    auto* link = new QLabel(
        QStringLiteral("<a href=\"https://www.veltra.example/\">https://www.veltra.example/</a>"),
        this);
    link->setObjectName(QStringLiteral("link"));
    link->setOpenExternalLinks(true);
    link->setTextInteractionFlags(Qt::TextBrowserInteraction);

    auto* close = new QPushButton(ui(str::AboutClose), this);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(product);
    texts->addWidget(version);
    texts->addSpacing(8);
    texts->addWidget(notice);
    texts->addSpacing(8);
    texts->addWidget(more);
    texts->addWidget(link);
    texts->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(logo_, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
}

} // namespace torvane::gui
