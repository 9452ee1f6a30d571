#pragma once

// Drives the program's modal dialogs in tests: the action runs once the dialog is up and active.
#include "TModalDialog.h"
#include "TSpinEdit.h"

#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

inline int RunModal(TModalDialog& dialog, const std::function<void()>& action) {
    QTimer::singleShot(0, &dialog, [&dialog, action] {
        if (!QTest::qWaitForWindowActive(&dialog))
            ADD_FAILURE() << "the dialog did not become active";
        action();
    });
    return dialog.ShowModal();
}

/// Clicks into a spin edit, replaces its text by typing and leaves the focus there.
inline void TypeInto(TSpinEdit* spin, const char* keys) {
    QLineEdit* edit = spin->findChild<QLineEdit*>();
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, keys);
}
