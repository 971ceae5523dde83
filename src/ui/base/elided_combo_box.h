#pragma once

// A list to choose a name from (a module title) whatever the names' length: it is as wide as
// its layout gives it, at least a few characters, never as wide as its longest name, and
// shows the chosen name shortened with "…" in the middle when it does not fit.

#include <QComboBox>

namespace ry {

class ElidedComboBox : public QComboBox {
    Q_OBJECT
public:
    // `leastCharacters`: the width it asks for at least, in characters.
    explicit ElidedComboBox(int leastCharacters, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ry
