#pragma once

#include "IProgressHost.h"
#include "TModalLoop.h"
#include "TWin7TaskProgressBar.h"

#include <QDialog>

#include <memory>
#include <mutex>

class QProgressBar;

/// The progress window of document operations: a small tool window with one bar, shown modally by
/// the document while an operation runs and closed by the document when it ends. It handles the
/// progress event (type 1025) on the main thread and mirrors the percentage on the taskbar button.
/// The user cannot close it while it is shown: it has no border icons, and Esc and the window
/// manager's close do nothing. It never stays minimised: a window manager that minimises it (and
/// with it the main window it belongs to) gets both windows back at once.
class TProgressForm : public QDialog, public IProgressHost {
public:
    /// The launcher's application id that the taskbar progress uses.
    static constexpr const char* ApplicationId = "application://sondrix.desktop";

    explicit TProgressForm(QWidget* parent = nullptr,
                           const QDBusConnection& bus = QDBusConnection::sessionBus());
    ~TProgressForm() override;

    QObject* ProgressReceiver() override { return this; }
    void ShowModal() override;
    void CloseModal() override;
    /// Esc: closes the window only while no operation shows it.
    void reject() override;

    QProgressBar* ProgressBar;
    std::unique_ptr<TWin7TaskProgressBar> TaskbarProgress;
    std::mutex UpdateLock;

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void FormCreate(const QDBusConnection& bus);
    void FormShow();
    void WMUpdateProgress(int32_t percent);
    /// Brings this window and the main window back from minimised.
    void Unminimise();

    TModalLoop Loop;
};
