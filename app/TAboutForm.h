#pragma once

#include "TModalDialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

/// The about box: product name, slogan, the program file's version, a link to the product's web
/// page and a link that runs the update check. Created once by the main window; its creation
/// reads the version (an error there is shown and leaves the version empty).
class TAboutForm : public TModalDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* owner = nullptr);

    QWidget* Panel1;
    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
    QGroupBox* GroupBox1;
    QLabel* Image2;
    QLabel* InfoLabel;
    QLabel* Image3;
    QLabel* UpdateLabel;
    QLabel* Label6;
    QPushButton* Button1;

    void FormCreate();
    void InfoLabelClick();
    void UpdateLabelClick();
    void Button1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildPanel();
    QGroupBox* BuildInformation();
};

/// The program's about box, owned by the main window.
extern TAboutForm* AboutForm;
