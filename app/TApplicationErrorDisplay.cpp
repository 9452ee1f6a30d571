#include "TApplicationErrorDisplay.h"

#include "ApplicationTitle.h"
#include "Guarded.h"
#include "MessageDlg.h"

#include <QWidget>

void TApplicationErrorDisplay::ShowError(const std::string& message) {
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    MessageDlgCaption(ApplicationTitle, ExceptionText(message), TMsgDlgType::mtError, mbOK);
}
