#include "TApplicationErrorDisplay.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

void TApplicationErrorDisplay::ShowError(const std::string& message) {
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(),
                    QString::fromStdString(message), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}
