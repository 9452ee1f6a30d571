#pragma once

#include "IMpegSettingsDialog.h"

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QStackedWidget;

/// The "MPEG Layer3 Settings" dialog: bitrate, encoding mode (CBR, VBR, ABR) with the page of each
/// mode, maximum bitrate and checksum.
///
/// One instance lives for the whole run, so the choices carry over from one save to the next. Its
/// three bitrate lists are refilled for the document's rate each time it is shown for a rate
/// other than the one they were last filled for; shown again for the same rate they keep their
/// selections. Main thread only. "&Ok" ends the modal run with result 1, "Cancel" with 2.
class Tmpegsettings : public QDialog, public IMpegSettingsDialog {
    Q_OBJECT

public:
    explicit Tmpegsettings(QWidget* parent = nullptr);

    /// Sets `docrate`, runs the dialog modally and reads the choice on OK.
    bool Execute(int32_t rate, TMpegSettingsChoice& choice) override;

    /// The settings as the controls show them now.
    TMpegSettingsChoice Choice() const;

    int32_t docrate = 0;    ///< the rate of the document being saved; set before showing
    int32_t filledrate = 0; ///< the rate the lists were last filled for; 0 until the first fill

    QGroupBox* GroupBox1;
    QComboBox* bitrate;
    QComboBox* vbrmode;
    QLabel* maxbitLabel;
    QComboBox* maxbitrate;
    QStackedWidget* Notebook3;
    QSlider* vbrquality;
    QComboBox* avgbitrate;
    QCheckBox* crc;
    QPushButton* Button1;
    QPushButton* Button2;

    void vbrmodeChange();
    void FormActivate();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void CreateModePages();
    void FillLists(int32_t rate);
};
