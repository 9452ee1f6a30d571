#pragma once

#include "TValueDialog.h"

/// The silence dialog: the length of silence to insert, in milliseconds, any integer (no limit).
/// The caller reads pausems after modal result 1; the value stays for the next showing.
class Tsilence : public TValueDialog {
    Q_OBJECT

public:
    explicit Tsilence(QWidget* owner = nullptr);

    TSpinEdit* pausems;
    QPushButton* ok;
    QPushButton* cancel;
};

/// The program's one instance, created at start and kept for the whole run.
extern Tsilence* silence;
