#include "TStatusPanel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

TStatusPanel::TStatusPanel(QWidget* parent)
    : QLabel(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setTextFormat(Qt::PlainText);
}

QSize TStatusPanel::minimumSizeHint() const {
    // The frame, the margins and the indent around the text stay; the text gives way to "…".
    const int around = width() - TextRect().width();
    return {around + fontMetrics().horizontalAdvance(QStringLiteral("\u2026")),
            QLabel::minimumSizeHint().height()};
}

QRect TStatusPanel::TextRect() const {
    // The indent a framed label leaves before its text when none is set.
    const int left =
        indent() >= 0 ? indent() : fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    return contentsRect().adjusted(margin() + left, margin(), -margin(), -margin());
}

QString TStatusPanel::ShownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, TextRect().width());
}

bool TStatusPanel::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QLabel::event(event);
    const QString shown = ShownText();
    if (shown == text())
        QToolTip::hideText();
    else
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
    return true;
}

void TStatusPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(TextRect(), int(Qt::AlignLeft | Qt::AlignVCenter), ShownText());
}
