#include "EditorFixture.h"
#include "TEditorForm.h"
#include "TMDIChild.h"
#include "TStatusPanel.h"
#include "Twavefile.h"

#include <QLabel>
#include <QStatusBar>

TEST_F(EditorFixture, OpensAFile) {
    const std::string name = MakeWav("a.wav", std::vector<int16_t>(8000, 1000));
    TMDIChild* child = Open(name);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->document->frames, 8000u);
    EXPECT_EQ(child->Panels[0]->text().toStdString(), " Format: 8000 Hz, 1 Ch.");
}
