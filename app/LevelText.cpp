#include "LevelText.h"

#include <QString>

std::string LevelText(double decibels) {
    return QString::number(decibels, 'g', 3).toStdString() + " dB";
}
