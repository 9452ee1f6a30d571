#include "TModalDialog.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
class TwoButtonDialog : public TModalDialog {
public:
    QPushButton* ok = new QPushButton("&Ok", this);
    QPushButton* cancel = new QPushButton("&Cancel", this);
    QPushButton* other = new QPushButton("&Retry", this);

    TwoButtonDialog() {
        BindModalResult(ok, mrOk);
        BindModalResult(cancel, mrCancel);
        BindModalResult(other, 4);
        ok->setDefault(true);
    }
};

int RunWith(TwoButtonDialog& dialog, const std::function<void()>& action) {
    QTimer::singleShot(0, action);
    return dialog.ShowModal();
}
} // namespace

TEST(ModalDialog, EndsWithTheModalResultOfItsButtons) {
    TwoButtonDialog dialog;
    struct Case {
        std::function<void()> action;
        int result;
    } cases[] = {
        {[&] { QTest::mouseClick(dialog.ok, Qt::LeftButton); }, 1},
        {[&] { QTest::mouseClick(dialog.cancel, Qt::LeftButton); }, 2},
        {[&] { QTest::mouseClick(dialog.other, Qt::LeftButton); }, 4},
        {[&] { QTest::keyClick(&dialog, Qt::Key_Escape); }, 2},
        {[&] { dialog.close(); }, 2},
        {[&] {
             dialog.ok->setFocus();
             QTest::keyClick(&dialog, Qt::Key_Return);
         },
         1},
        {[&] { dialog.accept(); }, 1},
        {[&] { dialog.reject(); }, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunWith(dialog, c.action), c.result);
        EXPECT_FALSE(dialog.isVisible());
    }
}
