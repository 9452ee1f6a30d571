#pragma once

#include "TValueDialog.h"

/// The normalisation dialog: the level in percent of full scale, 0 .. 100 (95 at first). The
/// caller reads SpinEdit after modal result 1; the value stays for the next showing.
class Tfnormalize : public TValueDialog {
    Q_OBJECT

public:
    explicit Tfnormalize(QWidget* owner = nullptr);

    TSpinEdit* SpinEdit;
    QPushButton* Button1;
    QPushButton* Button2;
};

/// The program's one instance, created at start and kept for the whole run.
extern Tfnormalize* fnormalize;
