#include "Tmpegsettings.h"

#include "BitrateTables.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>

namespace {

constexpr int ClientWidth = 290;
constexpr int ClientHeight = 249;

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* AddLabel(QWidget* parent, const char* name, const char* text, const QRect& geometry) {
    QLabel* label = Named(new QLabel(QString::fromLatin1(text), parent), name);
    label->setGeometry(geometry);
    return label;
}

QComboBox* AddList(QWidget* parent, const char* name, const QStringList& items,
                   const QRect& geometry) {
    QComboBox* list = Named(new QComboBox(parent), name);
    list->addItems(items);
    list->setCurrentIndex(0);
    list->setGeometry(geometry);
    return list;
}

QStringList BitrateTexts(const std::vector<int32_t>& values) {
    QStringList texts;
    for (const int32_t value : values)
        texts << QString::number(value);
    return texts;
}

/// The lists as the form first holds them, before any document rate has filled them.
const QStringList& FormBitrates() {
    static const QStringList texts =
        BitrateTexts({320, 256, 224, 192, 160, 128, 112, 96, 80, 64, 56, 48, 40, 32, 16});
    return texts;
}

const QStringList& FormAverageBitrates() {
    static const QStringList texts =
        BitrateTexts(std::vector<int32_t>(HighRateBitrates.begin(), HighRateBitrates.end()));
    return texts;
}

} // namespace

Tmpegsettings::Tmpegsettings(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    FormCreate();
}

void Tmpegsettings::FormCreate() {
    setObjectName(QStringLiteral("mpegsettings"));
    setWindowTitle(QStringLiteral("MPEG Layer3 Settings"));
    setFixedSize(ClientWidth, ClientHeight);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    GroupBox1 = Named(new QGroupBox(QStringLiteral("  MP3 Settings  "), this), "GroupBox1");
    GroupBox1->setGeometry(8, 4, 274, 202);
    AddLabel(GroupBox1, "Label1", "Bitrate:", {10, 26, 108, 16});
    bitrate = AddList(GroupBox1, "bitrate", FormBitrates(), {118, 22, 148, 22});
    AddLabel(GroupBox1, "Label2", "Encoding Mode:", {10, 56, 108, 16});
    vbrmode =
        AddList(GroupBox1, "vbrmode",
                {QStringLiteral("Constant Bitrate (CBR)"), QStringLiteral("Variable Bitrate (VBR)"),
                 QStringLiteral("Average Bitrate (ABR)")},
                {118, 52, 148, 22});
    maxbitLabel = AddLabel(GroupBox1, "maxbitLabel", "Maximum Bitrate:", {10, 86, 108, 16});
    maxbitrate = AddList(GroupBox1, "maxbitrate", FormBitrates(), {118, 82, 148, 22});
    CreateModePages();
    crc = Named(new QCheckBox(QStringLiteral("Checksum"), GroupBox1), "crc");
    crc->setGeometry(12, 174, 150, 20);

    Button1 = Named(new QPushButton(QStringLiteral("&Ok"), this), "Button1");
    Button1->setGeometry(118, 216, 80, 25);
    Button1->setDefault(true);
    Button2 = Named(new QPushButton(QStringLiteral("Cancel"), this), "Button2");
    Button2->setGeometry(202, 216, 80, 25);
    connect(Button1, &QPushButton::clicked, this, [this] { done(1); });
    connect(Button2, &QPushButton::clicked, this, [this] { done(2); });
    connect(vbrmode, &QComboBox::currentIndexChanged, this, [this] { vbrmodeChange(); });

    setTabOrder(bitrate, vbrmode);
    setTabOrder(vbrmode, maxbitrate);
    setTabOrder(maxbitrate, vbrquality);
    setTabOrder(vbrquality, avgbitrate);
    setTabOrder(avgbitrate, crc);
    setTabOrder(crc, Button1);
    setTabOrder(Button1, Button2);
    filledrate = 0;
}

void Tmpegsettings::CreateModePages() {
    Notebook3 = Named(new QStackedWidget(GroupBox1), "Notebook3");
    Notebook3->setGeometry(4, 110, 266, 60);

    QWidget* cbrPage = Named(new QWidget, "CBR");
    Notebook3->addWidget(cbrPage);

    QWidget* vbrPage = Named(new QWidget, "VBR");
    AddLabel(vbrPage, "Label3", "Quality:", {6, 10, 108, 16});
    vbrquality = Named(new QSlider(Qt::Horizontal, vbrPage), "vbrquality");
    vbrquality->setRange(0, 8);
    vbrquality->setPageStep(1);
    vbrquality->setTickPosition(QSlider::TicksBelow);
    vbrquality->setTickInterval(1);
    vbrquality->setGeometry(108, 4, 150, 30);
    Notebook3->addWidget(vbrPage);

    QWidget* abrPage = Named(new QWidget, "ABR");
    AddLabel(abrPage, "Label4", "Targeted Bitrate:", {6, 10, 108, 16});
    avgbitrate = AddList(abrPage, "avgbitrate", FormAverageBitrates(), {114, 6, 148, 22});
    Notebook3->addWidget(abrPage);
}

void Tmpegsettings::vbrmodeChange() {
    const int mode = vbrmode->currentIndex();
    Notebook3->setCurrentIndex(mode);
    maxbitLabel->setVisible(mode != 0);
    maxbitrate->setVisible(mode != 0);
}

void Tmpegsettings::FormActivate() {
    vbrmodeChange();
    if (docrate == filledrate)
        return;
    filledrate = docrate;
    FillLists(docrate);
}

void Tmpegsettings::FillLists(int32_t rate) {
    const std::vector<int32_t> values = BitrateListFor(rate);
    if (values.empty())
        return;
    const QStringList texts = BitrateTexts(values);
    for (QComboBox* list : {bitrate, maxbitrate, avgbitrate}) {
        list->clear();
        list->addItems(texts);
        list->setCurrentIndex(0);
    }
}

void Tmpegsettings::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
    Button1->setFocus();
}

bool Tmpegsettings::Execute(int32_t rate, TMpegSettingsChoice& choice) {
    docrate = rate;
    if (exec() != 1)
        return false;
    choice = Choice();
    return true;
}

TMpegSettingsChoice Tmpegsettings::Choice() const {
    TMpegSettingsChoice choice;
    choice.Bitrate = bitrate->currentIndex();
    choice.MaxBitrate = maxbitrate->currentIndex();
    choice.VbrMode = vbrmode->currentIndex();
    choice.VbrQuality = vbrquality->value();
    choice.AvgBitrate = avgbitrate->currentIndex();
    choice.Crc = crc->isChecked();
    return choice;
}
