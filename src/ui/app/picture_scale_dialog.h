#pragma once

// Asks how large a PNG picture is written: 1 to 4 times the drawing's size on screen. A larger
// picture stays sharp when printed or shown on a dense screen.

#include <QDialog>

class QComboBox;

namespace ry {

class PictureScaleDialog : public QDialog {
    Q_OBJECT
public:
    // `scale`: the choice offered first.
    explicit PictureScaleDialog(int scale, QWidget* parent = nullptr);

    int Scale() const;

private:
    QComboBox* scale_;
};

} // namespace ry
