#pragma once

#include "TColorBox.h"
#include "TModalDialog.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include <string>

class IFolderBrowser;

/// The settings dialog: the temporary folder and the waveform view's colours. Every change takes
/// effect the moment the user makes it, in `Settings` and in the views' colour variables; OK and
/// Cancel only close the dialog (Cancel undoes nothing). Text typed into tmpedit changes nothing:
/// only the folder browser sets the folder. Created once, after the settings are loaded; its
/// controls then always show the values in force.
class TsettingsForm : public TModalDialog {
    Q_OBJECT

public:
    explicit TsettingsForm(QWidget* owner = nullptr);

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLineEdit* tmpedit = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    TColorBox* backColor = nullptr;
    TColorBox* scaleColor = nullptr;
    TColorBox* waveColor = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

    /// Installs what the folder button asks for a folder in place of QFileDialog; nullptr puts
    /// that back. The caller keeps ownership.
    static void SetFolderBrowser(IFolderBrowser* browser);

    void FormCreate();
    void SpeedButton1Click();
    void backColorChange();
    void scaleColorChange();
    void waveColorChange();

private:
    QWidget* BuildSystemPage();
    QWidget* BuildColorsPage();
};

/// The program's one instance, created at start and kept for the whole run.
extern TsettingsForm* settingsForm;
