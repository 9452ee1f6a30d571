#include "TAboutForm.h"
#include "CheckForUpdates.h"
#include "Exceptions.h"
#include "GetFileVersion.h"
#include "Guarded.h"
#include "ShellOpen.h"
#include "TColor.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QStyle>
#include <QVBoxLayout>

TAboutForm* AboutForm = nullptr;

namespace {
constexpr TColor SkyBlue = 0xF0CAA6;

QLabel* Picture(QWidget* parent, QStyle::StandardPixmap which, int size) {
    auto* label = new QLabel(parent);
    label->setPixmap(parent->style()->standardIcon(which).pixmap(size, size));
    label->setFixedSize(size, size);
    return label;
}

QLabel* Link(QWidget* parent, const char* name, const char* text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}
} // namespace

TAboutForm::TAboutForm(QWidget* owner)
    : TModalDialog(owner) {
    setObjectName("AboutForm");
    setWindowTitle("About Sondrix Audio Editor");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(500, 279);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Light));
    setPalette(palette);

    Panel1 = BuildPanel();
    GroupBox1 = BuildInformation();
    Button1 = new QPushButton("Close", this);
    Button1->setObjectName("Button1");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(Panel1);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 0, 8, 0);
    body->addWidget(GroupBox1, 1);
    body->addLayout(buttons);
    layout->addLayout(body, 1);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    InfoLabel->installEventFilter(this);
    UpdateLabel->installEventFilter(this);
    Guarded([this] { FormCreate(); });
}

QWidget* TAboutForm::BuildPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName("Panel1");
    panel->setFixedHeight(81);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, ColorToQColor(SkyBlue));
    panel->setPalette(palette);
    Image1 = Picture(panel, QStyle::SP_MediaVolume, 64);
    Image1->setObjectName("Image1");
    Label1 = new QLabel("Sondrix Audio Editor", panel);
    Label1->setObjectName("Label1");
    QFont font("Verdana");
    font.setPixelSize(19);
    Label1->setFont(font);
    Label2 = new QLabel("Cut, mend and polish your sound.", panel);
    Label2->setObjectName("Label2");
    auto* text = new QVBoxLayout;
    text->addStretch();
    text->addWidget(Label1);
    text->addWidget(Label2);
    text->addStretch();
    auto* layout = new QHBoxLayout(panel);
    layout->addWidget(Image1);
    layout->addLayout(text, 1);
    return panel;
}

QGroupBox* TAboutForm::BuildInformation() {
    auto* group = new QGroupBox("  Program's Information  ", this);
    group->setObjectName("GroupBox1");
    Image2 = Picture(group, QStyle::SP_MessageBoxInformation, 16);
    Image2->setObjectName("Image2");
    InfoLabel = Link(group, "InfoLabel", "Product Information");
    Image3 = Picture(group, QStyle::SP_BrowserReload, 16);
    Image3->setObjectName("Image3");
    UpdateLabel = Link(group, "UpdateLabel", "Check updates...");
    Label6 = new QLabel("Product Version: ", group);
    Label6->setObjectName("Label6");
    auto* layout = new QGridLayout(group);
    layout->addWidget(Image2, 0, 0);
    layout->addWidget(InfoLabel, 0, 1);
    layout->addWidget(Image3, 1, 0);
    layout->addWidget(UpdateLabel, 1, 1);
    layout->addWidget(Label6, 2, 1);
    layout->setColumnStretch(1, 1);
    return group;
}

bool TAboutForm::eventFilter(QObject* watched, QEvent* event) {
    const bool click = event->type() == QEvent::MouseButtonRelease &&
                       static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    if (click && watched == InfoLabel) {
        Guarded([this] { InfoLabelClick(); });
        return true;
    }
    if (click && watched == UpdateLabel) {
        Guarded([this] { UpdateLabelClick(); });
        return true;
    }
    return TModalDialog::eventFilter(watched, event);
}

void TAboutForm::FormCreate() {
    Label6->setText(
        QString::fromStdString("Product Version: " + GetFileVersion(VersionedProgramFile())));
}

void TAboutForm::InfoLabelClick() {
    const std::string url = ProductPageUrl();
    if (!ShellOpen(url))
        throw Exception("No program on this system could open \"" + url + "\"");
}

void TAboutForm::UpdateLabelClick() {
    CheckForUpdates();
}

void TAboutForm::Button1Click() {
    done(mrCancel);
}
