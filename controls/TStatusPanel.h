#pragma once

#include <QLabel>

/// One panel of a status bar: a sunken frame with one line of text. It asks for room for its
/// whole text but gives way down to an ellipsis, so that panels side by side never draw over one
/// another; a panel too narrow for its text shows the text cut with "…" and the whole text as its
/// tool tip. `text()` is always the whole text. Main thread only.
class TStatusPanel : public QLabel {
public:
    explicit TStatusPanel(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    /// The text as the panel draws it: whole, or cut to the panel's width.
    QString ShownText() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect TextRect() const;
};
