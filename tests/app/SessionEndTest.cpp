#include "EditorFixture.h"

#include "TEditorForm.h"
#include "TMDIChild.h"
#include "Twavefile.h"

#include <QAction>
#include <QMessageBox>
#include <QTimer>

class SessionEnd : public EditorFixture {};

TEST_F(SessionEnd, WithInteractionAsksAndACancelKeepsTheProgramAndInsideADialogAsksNothing) {
    TMDIChild* child = Open(MakeWav("kept.wav", std::vector<int16_t>(800, 100)));
    ASSERT_NE(child, nullptr);
    Main().InvertAction->trigger();
    Settle();
    ASSERT_TRUE(child->document->modified);
    {
        TMessageDlgRecorder answers({mrCancel});
        EXPECT_FALSE(Program->EndSession(true));
        ASSERT_EQ(answers.Calls.size(), 1u);
        EXPECT_EQ(answers.Calls[0].Text, "Would you like to save changes?");
    }
    EXPECT_TRUE(Main().isVisible());
    EXPECT_EQ(Main().MDIChildCount(), 1);

    TMessageDlgRecorder answers({mrNo});
    bool ended = true;
    QMessageBox dialog;
    QTimer::singleShot(0, &dialog, [&] {
        ended = Program->EndSession(true);
        dialog.reject();
    });
    dialog.exec();
    EXPECT_FALSE(ended);
    EXPECT_TRUE(answers.Calls.empty());
    EXPECT_EQ(Main().MDIChildCount(), 1);
}
