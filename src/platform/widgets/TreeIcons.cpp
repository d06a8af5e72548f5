#include "platform/widgets/TreeIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace platform {
namespace {

// Everything is drawn on a 16 x 16 grid and scaled for larger sizes.
void drawFolder(QPainter& p, bool open) {
    const QColor outline(0x9a, 0x70, 0x10);
    p.setPen(QPen(outline, 0.8));
    p.setBrush(QColor(0xe8, 0xb8, 0x40));
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6, 3.5);
    back.lineTo(7.5, 5);
    back.lineTo(14.5, 5);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.drawPath(back);
    if (open) {
        // The front flap tilts forward.
        p.setBrush(QColor(0xf8, 0xd8, 0x78));
        QPainterPath flap;
        flap.moveTo(3.5, 7.5);
        flap.lineTo(15.5, 7.5);
        flap.lineTo(13.5, 13.5);
        flap.lineTo(1.5, 13.5);
        flap.closeSubpath();
        p.drawPath(flap);
    } else {
        p.setBrush(QColor(0xf4, 0xc8, 0x58));
        p.drawRect(QRectF(1.5, 6.5, 13, 7));
    }
}

void drawPage(QPainter& p, const QColor& paper, const QColor& lines) {
    p.setPen(QPen(QColor(0x70, 0x70, 0x70), 0.8));
    p.setBrush(paper);
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(9.5, 1.5);
    page.lineTo(12.5, 4.5);
    page.lineTo(12.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.drawPath(page);
    p.drawPolyline(QPolygonF({QPointF(9.5, 1.5), QPointF(9.5, 4.5), QPointF(12.5, 4.5)}));
    p.setPen(QPen(lines, 1.0));
    for (qreal y = 6.5; y < 13; y += 2) p.drawLine(QPointF(5, y), QPointF(11, y));
}

void drawLink(QPainter& p, bool inserted) {
    drawPage(p, inserted ? QColor(0xdc, 0xea, 0xff) : Qt::white, QColor(0x30, 0x60, 0xc0));
    // A small globe marks a web address.
    p.setPen(QPen(QColor(0x10, 0x50, 0x90), 0.8));
    p.setBrush(inserted ? QColor(0xf0, 0x90, 0x20) : QColor(0x40, 0x90, 0xe0));
    p.drawEllipse(QPointF(11, 12), 3.2, 3.2);
    p.drawLine(QPointF(7.8, 12), QPointF(14.2, 12));
    p.drawEllipse(QPointF(11, 12), 1.3, 3.2);
}

void drawSchemeFolder(QPainter& p) {
    // A closed book: the scheme list and its groups of terms.
    p.setPen(QPen(QColor(0x1c, 0x5a, 0x20), 0.8));
    p.setBrush(QColor(0x3c, 0x9a, 0x44));
    p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1.2, 1.2);
    p.setBrush(QColor(0x2a, 0x70, 0x30));
    p.drawRect(QRectF(2.5, 1.5, 2.5, 13));
    p.setPen(QPen(QColor(0xe8, 0xf4, 0xe8), 1.0));
    p.drawLine(QPointF(7, 5.5), QPointF(12, 5.5));
    p.drawLine(QPointF(7, 7.5), QPointF(11, 7.5));
}

void drawSchemeTerm(QPainter& p) {
    // A tag with a hole: one term of a vocabulary.
    p.setPen(QPen(QColor(0x50, 0x30, 0x80), 0.8));
    p.setBrush(QColor(0xa0, 0x78, 0xe0));
    QPainterPath tag;
    tag.moveTo(1.5, 8);
    tag.lineTo(6, 3.5);
    tag.lineTo(14.5, 3.5);
    tag.lineTo(14.5, 12.5);
    tag.lineTo(6, 12.5);
    tag.closeSubpath();
    p.drawPath(tag);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(5.5, 8), 1.2, 1.2);
}

QPixmap render(int index, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    switch (index) {
    case kImageFolder: drawFolder(p, false); break;
    case kImageLink: drawLink(p, false); break;
    case kImageNewLink: drawLink(p, true); break;
    case kImageOpenFolder: drawFolder(p, true); break;
    case kImageSchemeFolder: drawSchemeFolder(p); break;
    case kImageSchemeTerm: drawSchemeTerm(p); break;
    default: break;
    }
    return pixmap;
}

}  // namespace

QIcon treeImage(int index) {
    if (index < 1 || index > kTreeImageCount) return {};
    QIcon icon;
    for (int size : {16, 24, 32}) icon.addPixmap(render(index, size));
    return icon;
}

QList<QIcon> treeImages() {
    QList<QIcon> images;
    for (int i = 1; i <= kTreeImageCount; ++i) images.append(treeImage(i));
    return images;
}

}  // namespace platform
