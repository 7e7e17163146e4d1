#include "gui/app/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace torvane::gui {

namespace {

const QColor kInk(40, 60, 90);
const QColor kPaper(250, 250, 245);
const QColor kBlue(40, 110, 200);
const QColor kGreen(30, 150, 70);
const QColor kRed(200, 40, 40);
const QColor kAmber(230, 160, 30);

void drawPage(QPainter& p) {
    QPainterPath page;
    page.moveTo(3, 1.5);
    page.lineTo(10, 1.5);
    page.lineTo(13.5, 5);
    page.lineTo(13.5, 14.5);
    page.lineTo(3, 14.5);
    page.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(page);
    p.drawLine(QPointF(10, 1.5), QPointF(10, 5));
    p.drawLine(QPointF(10, 5), QPointF(13.5, 5));
}

void drawNode(QPainter& p, const QColor& fill) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(1.5, 4.5, 9, 7), 1.5, 1.5);
    p.drawLine(QPointF(6, 11.5), QPointF(6, 14.5));
    p.drawLine(QPointF(1, 14.5), QPointF(11, 14.5));
}

void drawCommand(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(1.5, 2.5, 10, 11));
    p.setPen(QPen(kBlue, 1.2));
    for (int y = 5; y <= 11; y += 3) {
        p.drawLine(QPointF(3.5, y), QPointF(9.5, y));
    }
}

void drawBadge(QPainter& p, bool plus) {
    p.setPen(Qt::NoPen);
    p.setBrush(plus ? kGreen : kRed);
    p.drawEllipse(QRectF(8.5, 0.5, 7, 7));
    p.setPen(QPen(Qt::white, 1.5));
    p.drawLine(QPointF(10, 4), QPointF(14, 4));
    if (plus) {
        p.drawLine(QPointF(12, 2), QPointF(12, 6));
    }
}

void drawArrow(QPainter& p, bool up) {
    // A chip (the gateway) with an arrow leaving (upload) or entering (download) it.
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(90, 90, 100));
    p.drawRect(QRectF(2.5, 9.5, 11, 5));
    p.setPen(QPen(QColor(200, 200, 200), 1));
    for (int x = 4; x <= 12; x += 2) {
        p.drawPoint(x, 12);
    }
    QPainterPath arrow;
    if (up) {
        arrow.moveTo(8, 0.5);
        arrow.lineTo(13, 5.5);
        arrow.lineTo(10, 5.5);
        arrow.lineTo(10, 8.5);
        arrow.lineTo(6, 8.5);
        arrow.lineTo(6, 5.5);
        arrow.lineTo(3, 5.5);
    } else {
        arrow.moveTo(8, 8.5);
        arrow.lineTo(13, 3.5);
        arrow.lineTo(10, 3.5);
        arrow.lineTo(10, 0.5);
        arrow.lineTo(6, 0.5);
        arrow.lineTo(6, 3.5);
        arrow.lineTo(3, 3.5);
    }
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(up ? kGreen : kBlue);
    p.drawPath(arrow);
}

void paint(QPainter& p, ToolIcon which) {
    switch (which) {
    case ToolIcon::New:
        drawPage(p);
        p.setPen(QPen(kAmber, 1.5));
        p.drawLine(QPointF(5, 9), QPointF(11, 9));
        p.drawLine(QPointF(8, 6), QPointF(8, 12));
        break;
    case ToolIcon::Open: {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kAmber.lighter(120));
        p.drawRect(QRectF(1.5, 4.5, 12, 9));
        QPolygonF flap(
            {QPointF(1.5, 13.5), QPointF(4.5, 7.5), QPointF(15.5, 7.5), QPointF(12.5, 13.5)});
        p.setBrush(kAmber);
        p.drawPolygon(flap);
        break;
    }
    case ToolIcon::Save:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kBlue);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(220, 220, 220));
        p.drawRect(QRectF(3.5, 9.5, 9, 5));
        break;
    case ToolIcon::AddNode:
        drawNode(p, QColor(170, 210, 250));
        drawBadge(p, true);
        break;
    case ToolIcon::DeleteNode:
        drawNode(p, QColor(170, 210, 250));
        drawBadge(p, false);
        break;
    case ToolIcon::AddCommand:
        drawCommand(p);
        drawBadge(p, true);
        break;
    case ToolIcon::DeleteCommand:
        drawCommand(p);
        drawBadge(p, false);
        break;
    case ToolIcon::Upload:
        drawArrow(p, true);
        break;
    case ToolIcon::Download:
        drawArrow(p, false);
        break;
    case ToolIcon::CalculateMapping: {
        // Bytes falling into place: a row of cells with a counter arrow.
        p.setPen(QPen(kInk, 1));
        for (int i = 0; i < 4; ++i) {
            p.setBrush(i < 3 ? kGreen : kPaper);
            p.drawRect(QRectF(0.5 + i * 4, 10.5, 3, 4));
        }
        p.setFont(QFont(QStringLiteral("Sans"), 7, QFont::Bold));
        p.setPen(kBlue);
        p.drawText(QRectF(0, 0, 16, 10), Qt::AlignCenter, QStringLiteral("1+2"));
        break;
    }
    case ToolIcon::Conflict:
        p.setPen(QPen(kInk, 1));
        for (int i = 0; i < 4; ++i) {
            p.setBrush(i == 1 || i == 2 ? kRed : kGreen);
            p.drawRect(QRectF(0.5 + i * 4, 6.5, 3, 4));
        }
        p.setPen(QPen(kRed, 1.5));
        p.drawLine(QPointF(5, 1), QPointF(11, 5));
        p.drawLine(QPointF(11, 1), QPointF(5, 5));
        break;
    case ToolIcon::ExportExcel:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(kGreen, 1));
        for (int y = 5; y <= 12; y += 3) {
            p.drawLine(QPointF(2, y), QPointF(14, y));
        }
        p.drawLine(QPointF(6, 2), QPointF(6, 14));
        p.drawLine(QPointF(10, 2), QPointF(10, 14));
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawRect(QRectF(2, 2, 12, 3));
        break;
    case ToolIcon::Monitor:
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(30, 40, 50));
        p.drawRoundedRect(QRectF(0.5, 1.5, 15, 10), 1, 1);
        p.drawLine(QPointF(8, 11.5), QPointF(8, 14.5));
        p.drawLine(QPointF(4, 14.5), QPointF(12, 14.5));
        p.setPen(QPen(QColor(80, 230, 120), 1.2));
        p.drawPolyline(QPolygonF({QPointF(2, 8), QPointF(5, 8), QPointF(7, 4), QPointF(9, 10),
                                  QPointF(11, 6), QPointF(14, 6)}));
        break;
    case ToolIcon::Application:
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(0, 0, 16, 16), 3, 3);
        p.setBrush(kAmber);
        p.drawEllipse(QRectF(3, 3, 4, 4));
        p.drawEllipse(QRectF(9, 9, 4, 4));
        p.setPen(QPen(Qt::white, 1.5));
        p.drawLine(QPointF(6, 6), QPointF(10, 10));
        break;
    }
}

QPixmap render(ToolIcon which, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    paint(p, which);
    return pixmap;
}

} // namespace

QIcon toolIcon(ToolIcon which) {
    QIcon icon;
    icon.addPixmap(render(which, 16));
    icon.addPixmap(render(which, 32));
    return icon;
}

} // namespace torvane::gui
