#pragma once

#include "TModalDialog.h"

#include <QComboBox>
#include <QPushButton>

/// The format of a new empty file: a sample rate from SamplerateBox (44100 at first) and mono or
/// stereo from ChannelsBox (mono at first). After modal result 1 the caller takes the sample rate
/// as the integer value of SamplerateBox's text and the channels as ChannelsBox's index + 1. The
/// choice stays for the next showing.
class TNewFileForm : public TModalDialog {
    Q_OBJECT

public:
    explicit TNewFileForm(QWidget* owner = nullptr);

    QComboBox* SamplerateBox;
    QComboBox* ChannelsBox;
    QPushButton* OkButton;
    QPushButton* CancelButton;
};

/// The program's one instance, created at start and kept for the whole run.
extern TNewFileForm* NewFileForm;
