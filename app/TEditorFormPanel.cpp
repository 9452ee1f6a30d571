// The main window's frame for the document windows and the panel of shared controls below it.
#include "TEditorForm.h"

#include "TMaskEdit.h"
#include "TPngImageList.h"
#include "TVUMeter.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QVBoxLayout* GroupLayout(QGroupBox* group) {
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(4, 0, 4, 2);
    return layout;
}

} // namespace

void TEditorForm::CreatePanel() {
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    MDIArea = new QMdiArea(central);
    MDIArea->setObjectName("MDIArea");
    connect(MDIArea, &QMdiArea::subWindowActivated, this,
            [this](QMdiSubWindow* window) { ChildActivated(window); });
    background = new QLabel(MDIArea->viewport());
    background->setObjectName("background");
    background->setPixmap(TPngImageList::Background());
    background->resize(450, 450);
    background->lower();
    // The picture is centred whenever the frame's area changes size, and shows only while the
    // frame is empty.
    MDIArea->viewport()->installEventFilter(this);
    column->addWidget(MDIArea, 1);
    Panel2 = new QWidget(central);
    Panel2->setObjectName("Panel2");
    Panel2->setFixedHeight(72);
    auto* row = new QHBoxLayout(Panel2);
    row->setContentsMargins(6, 0, 6, 2);
    row->addWidget(CreateSelectionGroup());
    GroupBox3 = new QGroupBox("  Cursor  ", Panel2);
    GroupBox3->setObjectName("GroupBox3");
    timedisplay = new QLabel("00:00:000", GroupBox3);
    timedisplay->setObjectName("timedisplay");
    QFont font("Tahoma");
    font.setBold(true);
    font.setPixelSize(27);
    timedisplay->setFont(font);
    timedisplay->setAlignment(Qt::AlignCenter);
    GroupLayout(GroupBox3)->addWidget(timedisplay);
    row->addWidget(GroupBox3);
    GroupBox2 = new QGroupBox("  Levels  ", Panel2);
    GroupBox2->setObjectName("GroupBox2");
    VUMeter1 = new TVUMeter(GroupBox2);
    VUMeter1->setObjectName("VUMeter1");
    VUMeter1->backcolor = 0;
    VUMeter1->forecolor = 5555555;
    GroupLayout(GroupBox2)->addWidget(VUMeter1);
    row->addWidget(GroupBox2);
    row->addStretch(1);
    column->addWidget(Panel2);
    setCentralWidget(central);
    statusBar()->setObjectName("StatusBar");
}

QWidget* TEditorForm::CreateSelectionGroup() {
    auto* group = new QWidget(Panel2);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(0, 0, 0, 0);
    sel = new QCheckBox("Selection  ", group);
    sel->setObjectName("sel");
    grid->addWidget(sel, 0, 0, 1, 3);
    selstart = new TMaskEdit(group);
    selstart->setObjectName("selstart");
    selstop = new TMaskEdit(group);
    selstop->setObjectName("selstop");
    PickStartMS = new QToolButton(group);
    PickStartMS->setObjectName("PickStartMS");
    PickStopMS = new QToolButton(group);
    PickStopMS->setObjectName("PickStopMS");
    int line = 1;
    for (auto [label, edit, pick] :
         {std::tuple{"Begin:", selstart, PickStartMS}, {"End:", selstop, PickStopMS}}) {
        edit->setAcceptDrops(false);
        pick->setToolTip("Pick cursor position");
        pick->setStatusTip("Pick cursor position");
        pick->setText("<");
        grid->addWidget(new QLabel(label, group), line, 0);
        grid->addWidget(edit, line, 1);
        grid->addWidget(pick, line, 2);
        ++line;
    }
    return group;
}
