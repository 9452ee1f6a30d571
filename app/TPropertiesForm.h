#pragma once

#include "TModalDialog.h"

#include <QIcon>
#include <QPushButton>
#include <QTreeWidget>

#include <array>
#include <string>

class Twavefile;

/// The properties window: the audio format and the tags of a document in a two-level,
/// two-column tree ("Audio format" with nine rows, "Meta Data" with six). Created once at start;
/// before every showing the document window calls setfilename with the document of its view,
/// while the document is ready. Main thread only.
class TPropertiesForm : public TModalDialog {
    Q_OBJECT

public:
    explicit TPropertiesForm(QWidget* owner = nullptr);

    QTreeWidget* VST3;
    QPushButton* Button1;
    /// 0 the "Audio format" group, 1 the "Meta Data" group, 2 every data row.
    std::array<QIcon, 3> PngImageList1;

    /// Rows per group and the captions and hints of the rows (the "Meta Data" rows have no hint).
    static constexpr int RowCount[2] = {9, 6};
    static const char* const Captions[2][9];
    static const char* const Hints[2][9];

    /// Fills the value table from `document` and builds the tree again from it. Raises EFOpenError
    /// when the document's file exists but cannot be opened; the window is then not to be shown.
    void setfilename(const Twavefile& document);
    /// Fills the value table from `document`.
    void fillvalues(const Twavefile& document);
    /// The value table, slot [group][row].
    const std::string& Value(int group, int row) const { return Values[group][row]; }

    void Button1Click();

private:
    void BuildTree();
    QTreeWidgetItem* GroupRow(int group);
    QTreeWidgetItem* DataRow(int group, int row);

    std::string Values[2][9];
};

/// The program's one instance, created at start and kept for the whole run.
extern TPropertiesForm* PropertiesForm;
