// The table of commands that the main window and the document windows both show: every document
// command has its main-window twin, and switching goes to both through the table.
#include "EditorFixture.h"

#include "TActionPairs.h"
#include "TEditorForm.h"
#include "TMDIChild.h"

#include <QAction>

#include <string>

namespace {

/// The caption without its mnemonic marks and padding.
std::string Caption(const QAction* action) {
    return action->text().remove('&').trimmed().toStdString();
}

const TActionPair* PairOf(const TMDIChild& child, const QAction* action) {
    for (const TActionPair& pair : TActionPairs::Table())
        if (pair.Document != nullptr && child.*pair.Document == action)
            return &pair;
    return nullptr;
}

using ActionPairs = EditorFixture;

TEST_F(ActionPairs, EveryDocumentCommandHasItsMainWindowTwin) {
    TMDIChild* child = Open(MakeWav("a.wav", std::vector<int16_t>(800, 100)));
    ASSERT_NE(child, nullptr);
    for (const QAction* action : child->findChildren<QAction*>(Qt::FindDirectChildrenOnly)) {
        const std::string name = action->objectName().toStdString();
        // Menu headings that run nothing.
        if (!name.ends_with("Action") || name == "ScaleFormatAction" || name == "ConvertAction")
            continue;
        const TActionPair* pair = PairOf(*child, action);
        ASSERT_NE(pair, nullptr) << name;
        EXPECT_EQ(Caption(Main().*pair->Main), Caption(action)) << name;
    }
}

TEST_F(ActionPairs, SwitchingReachesBothWindowsThroughTheTable) {
    TMDIChild* child = Open(MakeWav("a.wav", std::vector<int16_t>(800, 100)));
    ASSERT_NE(child, nullptr);
    const auto expectRole = [&](TActionRole role, bool enabled, const char* step) {
        for (const TActionPair& pair : TActionPairs::Table()) {
            if (pair.Role != role)
                continue;
            EXPECT_EQ((Main().*pair.Main)->isEnabled(), enabled) << step;
            if (pair.Document != nullptr) {
                EXPECT_EQ((child->*pair.Document)->isEnabled(), enabled) << step;
            }
        }
    };
    child->applyselection(true);
    child->applyselectionmain(true);
    expectRole(TActionRole::Selection, true, "selection on");
    child->applyselection(false);
    child->applyselectionmain(false);
    expectRole(TActionRole::Selection, false, "selection off");
    child->OnAction(true, false);
    expectRole(TActionRole::Undo, true, "undo");
    expectRole(TActionRole::Redo, false, "redo");
    // The active window's own state reaches the main window: Fade In, Fade Out, Stop included.
    for (TActionRole role : {TActionRole::Selection, TActionRole::Stop})
        TActionPairs::Enable(child, nullptr, role, true);
    child->FormActivate();
    for (const TActionPair& pair : TActionPairs::Table()) {
        if (TActionPairs::FollowsDocument(pair.Role)) {
            EXPECT_EQ((Main().*pair.Main)->isEnabled(), (child->*pair.Document)->isEnabled());
        }
    }
    Main().enablecontrols(false);
    for (const TActionPair& pair : TActionPairs::Table()) {
        if (pair.Role != TActionRole::Always) {
            EXPECT_FALSE((Main().*pair.Main)->isEnabled()) << Caption(Main().*pair.Main);
        }
    }
}

} // namespace
