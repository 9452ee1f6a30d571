#pragma once

#include <QObject>
#include <QPointer>

#include <map>

class QWidget;

/// Gives activation and keyboard focus back when a modal window (a dialog, a file dialog, the
/// progress window) hides: to the window and the widget that had them when it showed, so that the
/// first click and the first key after it act there even where the window manager hands the focus
/// back late or not at all. It also closes the popups that the modal window left open (the name
/// completion list of a file dialog closed with Enter), which would otherwise swallow the next
/// click. Watches every widget of the application while it lives; main thread only.
class TModalFocusKeeper : public QObject {
public:
    explicit TModalFocusKeeper(QObject* parent = nullptr);
    ~TModalFocusKeeper() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Focus {
        QPointer<QWidget> Window;
        QPointer<QWidget> Widget;
    };

    void Shown(QWidget* modal);
    void Hidden(QWidget* modal);
    static void ClosePopups();

    std::map<QWidget*, Focus> Previous;
};
