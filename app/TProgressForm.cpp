#include "TProgressForm.h"

#include "TProgressEvent.h"

#include <QCloseEvent>
#include <QProgressBar>

TProgressForm::TProgressForm(QWidget* parent, const QDBusConnection& bus)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , ProgressBar(new QProgressBar(this)) {
    setObjectName("ProgressForm");
    setWindowTitle("Progress...");
    setFixedSize(332, 62);
    setFont(QFont("Tahoma", 8));
    ProgressBar->setObjectName("ProgressBar");
    ProgressBar->setGeometry(16, 20, 297, 17);
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setTextVisible(false);
    FormCreate(bus);
}

TProgressForm::~TProgressForm() = default;

void TProgressForm::FormCreate(const QDBusConnection& bus) {
    TaskbarProgress = std::make_unique<TWin7TaskProgressBar>(ApplicationId, bus);
}

void TProgressForm::FormShow() {
    ProgressBar->setValue(0);
}

void TProgressForm::ShowModal() {
    setWindowModality(Qt::ApplicationModal);
    // A window that was minimised while hidden would show minimised, taking the main window along.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    Loop.Run();
}

void TProgressForm::CloseModal() {
    Loop.Quit();
    if (Loop.Depth() == 0)
        hide();
}

bool TProgressForm::event(QEvent* e) {
    if (e->type() != TProgressEvent::EventType())
        return QDialog::event(e);
    WMUpdateProgress(static_cast<TProgressEvent*>(e)->LParam);
    return true;
}

void TProgressForm::WMUpdateProgress(int32_t percent) {
    std::lock_guard guard(UpdateLock);
    try {
        ProgressBar->setValue(percent);
        TaskbarProgress->SetVisible(percent >= 1 && percent <= 99);
        if (TaskbarProgress->Visible)
            TaskbarProgress->SetPosition(percent);
    } catch (const std::exception&) {
        // A failed update leaves the bar as it was; the operation goes on.
    }
}

void TProgressForm::showEvent(QShowEvent* e) {
    FormShow();
    QDialog::showEvent(e);
}

void TProgressForm::changeEvent(QEvent* e) {
    QDialog::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange && isMinimized())
        Unminimise();
}

void TProgressForm::Unminimise() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    if (QWidget* owner = parentWidget()) {
        QWidget* main = owner->window();
        main->setWindowState(main->windowState() & ~Qt::WindowMinimized);
    }
}

void TProgressForm::closeEvent(QCloseEvent* e) {
    if (Loop.Depth() > 0)
        e->ignore();
    else
        QDialog::closeEvent(e);
}

void TProgressForm::reject() {
    if (Loop.Depth() == 0)
        QDialog::reject();
}
