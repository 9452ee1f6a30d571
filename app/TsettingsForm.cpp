#include "TsettingsForm.h"
#include "Guarded.h"
#include "IFolderBrowser.h"
#include "Settings.h"
#include "ViewColors.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

TsettingsForm* settingsForm = nullptr;

namespace {
std::string BrowseWithDialog(QWidget* parent, const std::string& title, const std::string& folder) {
    return QFileDialog::getExistingDirectory(parent, QString::fromStdString(title),
                                             QString::fromStdString(folder))
        .toStdString();
}

IFolderBrowser* InstalledBrowser = nullptr;
} // namespace

void TsettingsForm::SetFolderBrowser(IFolderBrowser* browser) {
    InstalledBrowser = browser;
}

TsettingsForm::TsettingsForm(QWidget* owner)
    : TModalDialog(owner) {
    PageControl1 = new QTabWidget(this);
    TabSheet1 = BuildSystemPage();
    TabSheet2 = BuildColorsPage();
    Button1 = new QPushButton("&Ok", this);
    Button2 = new QPushButton("&Cancel", this);
    setObjectName("settingsForm");
    setWindowTitle("Settings");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    resize(353, 194);
    PageControl1->setObjectName("PageControl1");
    PageControl1->addTab(TabSheet1, "System");
    PageControl1->addTab(TabSheet2, "Colors");
    PageControl1->setCurrentIndex(0);
    Button1->setObjectName("Button1");
    Button2->setObjectName("Button2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);
    Button1->setDefault(true);
    BindModalResult(Button1, mrOk);
    BindModalResult(Button2, mrCancel);
    SetFirstFocus(Button1);

    connect(SpeedButton1, &QToolButton::clicked, this,
            [this] { Guarded([this] { SpeedButton1Click(); }); });
    connect(backColor, &TColorBox::Change, this, &TsettingsForm::backColorChange);
    connect(scaleColor, &TColorBox::Change, this, &TsettingsForm::scaleColorChange);
    connect(waveColor, &TColorBox::Change, this, &TsettingsForm::waveColorChange);
    FormCreate();
}

QWidget* TsettingsForm::BuildSystemPage() {
    auto* page = new QWidget;
    page->setObjectName("TabSheet1");
    GroupBox1 = new QGroupBox("  Temporary Folder  ", page);
    GroupBox1->setObjectName("GroupBox1");
    tmpedit = new QLineEdit(GroupBox1);
    tmpedit->setObjectName("tmpedit");
    SpeedButton1 = new QToolButton(GroupBox1);
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    auto* row = new QHBoxLayout(GroupBox1);
    row->addWidget(tmpedit, 1);
    row->addWidget(SpeedButton1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(GroupBox1);
    layout->addStretch();
    return page;
}

QWidget* TsettingsForm::BuildColorsPage() {
    auto* page = new QWidget;
    page->setObjectName("TabSheet2");
    backColor = new TColorBox(page);
    scaleColor = new TColorBox(page);
    waveColor = new TColorBox(page);
    backColor->setObjectName("backColor");
    scaleColor->setObjectName("scaleColor");
    waveColor->setObjectName("waveColor");
    // "Default" gives the colour the program starts with when nothing is stored.
    Tsettingsdata defaults = DefaultSettings();
    backColor->SetDefaultColor(defaults.backcolor);
    scaleColor->SetDefaultColor(defaults.scalecolor);
    waveColor->SetDefaultColor(defaults.wavecolor);
    auto* layout = new QFormLayout(page);
    layout->addRow(new QLabel("Background:", page), backColor);
    layout->addRow(new QLabel("Scales:", page), scaleColor);
    layout->addRow(new QLabel("Wave Data:", page), waveColor);
    return page;
}

void TsettingsForm::FormCreate() {
    tmpedit->setText(QString::fromStdString(Settings.tempfolder));
    backColor->SetSelected(Settings.backcolor);
    scaleColor->SetSelected(Settings.scalecolor);
    waveColor->SetSelected(Settings.wavecolor);
}

void TsettingsForm::SpeedButton1Click() {
    const std::string title = "Select the folder for temporary files";
    const std::string folder = InstalledBrowser
                                   ? InstalledBrowser->Browse(this, title, Settings.tempfolder)
                                   : BrowseWithDialog(this, title, Settings.tempfolder);
    if (folder.empty())
        return;
    tmpedit->setText(QString::fromStdString(folder));
    Settings.tempfolder = folder;
}

void TsettingsForm::backColorChange() {
    Settings.backcolor = backColor->Selected();
    ViewBackColor = backColor->Selected();
}

void TsettingsForm::scaleColorChange() {
    Settings.scalecolor = scaleColor->Selected();
    ViewScaleColor = scaleColor->Selected();
}

void TsettingsForm::waveColorChange() {
    Settings.wavecolor = waveColor->Selected();
    ViewWaveColor = waveColor->Selected();
}
