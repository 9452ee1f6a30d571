#include "TPropertiesForm.h"
#include "Exceptions.h"
#include "LevelText.h"
#include "TColor.h"
#include "TimeOfDay.h"
#include "Twavefile.h"

#include <QHeaderView>
#include <QStyle>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

TPropertiesForm* PropertiesForm = nullptr;

const char* const TPropertiesForm::Captions[2][9] = {
    {"Format", "Sample Rate", "Channels", "Bits per sample", "Duration", "Samples", "File Size",
     "Uncompressed size", "Max Level"},
    {"Title", "Artist", "Album", "Track", "Year", "Genre"}};

const char* const TPropertiesForm::Hints[2][9] = {
    {"Format of audio file", "Number of samples per second", "Number of channels",
     "Number of bits ber sample", "Duration of audio file", "Total number of samples",
     "File size on the disk", "Uncompressed file size", "Max. volume level in decibels"},
    {}};

namespace {
constexpr TColor GroupColor = 0x996C41;
constexpr TColor OddRowColor = 0xE1FAFA;
constexpr TColor EvenRowColor = 0xFFFFFF;

// The characters after the last "." of the lower-cased name's last path component, upper case;
// empty without one.
std::string FormatOf(const std::string& fileName) {
    QString name = QString::fromStdString(fileName).toLower();
    qsizetype slash = name.lastIndexOf('/');
    qsizetype dot = name.lastIndexOf('.');
    if (dot < 0 || dot < slash)
        return {};
    return name.mid(dot + 1).toUpper().toStdString();
}

// "<bytes> bytes" for an existing file, "Unknown" when there is no file of that name.
std::string FileSizeText(const std::string& fileName) {
    std::error_code error;
    if (fileName.empty() || !std::filesystem::is_regular_file(fileName, error))
        return "Unknown";
    std::ifstream file(fileName, std::ios::binary | std::ios::ate);
    if (!file)
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
    return std::to_string(static_cast<int64_t>(file.tellg())) + " bytes";
}
} // namespace

TPropertiesForm::TPropertiesForm(QWidget* owner)
    : TModalDialog(owner)
    , VST3(new QTreeWidget(this))
    , Button1(new QPushButton("Ok", this)) {
    setObjectName("PropertiesForm");
    setWindowTitle("File Properties");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(434, 409);
    PngImageList1 = {style()->standardIcon(QStyle::SP_MediaVolume),
                     style()->standardIcon(QStyle::SP_FileDialogInfoView),
                     style()->standardIcon(QStyle::SP_FileIcon)};

    VST3->setObjectName("VST3");
    VST3->setGeometry(0, 0, 434, 363);
    VST3->setColumnCount(2);
    VST3->setHeaderLabels({"Properties", "Values"});
    VST3->header()->setFixedHeight(18);
    VST3->header()->setStretchLastSection(true);
    VST3->setColumnWidth(0, 186);
    VST3->setColumnWidth(1, 244);
    VST3->setUniformRowHeights(true);
    VST3->setRootIsDecorated(true);
    VST3->setAllColumnsShowFocus(true);
    VST3->setSelectionBehavior(QAbstractItemView::SelectRows);
    VST3->setEditTriggers(QAbstractItemView::NoEditTriggers);

    Button1->setObjectName("Button1");
    Button1->setGeometry(351, 374, 75, 25);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TPropertiesForm::setfilename(const Twavefile& document) {
    VST3->clear();
    fillvalues(document);
    BuildTree();
}

void TPropertiesForm::fillvalues(const Twavefile& document) {
    std::string fileSize = FileSizeText(document.filename);
    auto& format = Values[0];
    format[0] = FormatOf(document.filename);
    format[1] = std::to_string(document.samplerate) + " Hz";
    format[2] = std::to_string(document.channels);
    format[3] = "16";
    format[4] = TimeOfDay(document.duration);
    format[5] = std::to_string(document.frames.load());
    format[6] = fileSize;
    format[7] = std::to_string(document.size) + " bytes";
    format[8] = LevelText(document.leveldb);
    auto& tags = Values[1];
    tags[0] = document.Title;
    tags[1] = document.Artist;
    tags[2] = document.Album;
    tags[3] = document.Track;
    tags[4] = document.Year;
    tags[5] = document.Genre;
}

void TPropertiesForm::BuildTree() {
    for (int group = 0; group < 2; ++group) {
        QTreeWidgetItem* groupRow = GroupRow(group);
        VST3->addTopLevelItem(groupRow);
        for (int row = 0; row < RowCount[group]; ++row)
            groupRow->addChild(DataRow(group, row));
        groupRow->setExpanded(true);
    }
}

QTreeWidgetItem* TPropertiesForm::GroupRow(int group) {
    auto* item = new QTreeWidgetItem({group == 0 ? "Audio format" : "Meta Data", ""});
    QFont bold = VST3->font();
    bold.setBold(true);
    for (int column = 0; column < 2; ++column) {
        item->setBackground(column, ColorToQColor(GroupColor));
        item->setForeground(column, Qt::white);
        item->setFont(column, bold);
        item->setSizeHint(column, QSize(-1, 20));
    }
    item->setIcon(0, PngImageList1[group]);
    return item;
}

QTreeWidgetItem* TPropertiesForm::DataRow(int group, int row) {
    auto* item =
        new QTreeWidgetItem({Captions[group][row], QString::fromStdString(Values[group][row])});
    for (int column = 0; column < 2; ++column) {
        item->setBackground(column, ColorToQColor(row % 2 ? OddRowColor : EvenRowColor));
        item->setForeground(column, Qt::black);
        item->setSizeHint(column, QSize(-1, 20));
    }
    if (Hints[group][row])
        item->setToolTip(0, Hints[group][row]);
    item->setIcon(0, PngImageList1[2]);
    return item;
}

void TPropertiesForm::Button1Click() {
    done(mrCancel);
}
