// Pasting into text fields while the clipboard holds nothing.

#include "designer_fixture.h"

#include "base/paste_guard.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>

#include <functional>
#include <memory>

namespace ry::test {
namespace {

// A text field that counts the pastes it is offered.
template <class Field> class CountingField : public Field {
public:
    int keys = 0;
    int middles = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        // The modifier's own press comes first; only the key that pastes counts.
        if (event->key() == Qt::Key_V || event->key() == Qt::Key_Insert)
            ++keys;
        Field::keyPressEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::MiddleButton)
            ++middles;
        Field::mousePressEvent(event);
    }
};

using Paste = DesignerTest;

struct Offer {
    const char* name;
    std::function<void(QWidget&)> send;
};

const Offer kOffers[] = {
    {"Ctrl+V", [](QWidget& w) { QTest::keyClick(&w, Qt::Key_V, Qt::ControlModifier); }},
    {"Shift+Insert", [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Insert, Qt::ShiftModifier); }},
};

TEST_F(Paste, EveryTextFieldDropsAPasteFromAnEmptyClipboardAndTakesOneWithText) {
    // The designer watches every field; nothing else in this test does.
    MakeDesigner();
    QGuiApplication::clipboard()->setMimeData(new QMimeData);

    CountingField<QLineEdit> line;
    CountingField<QPlainTextEdit> plain;
    CountingField<QTextEdit> rich;
    for (const Offer& offer : kOffers) {
        SCOPED_TRACE(offer.name);
        line.keys = plain.keys = rich.keys = 0;
        offer.send(line);
        offer.send(plain);
        offer.send(rich);
        EXPECT_EQ(line.keys, 0);
        EXPECT_EQ(plain.keys, 0);
        EXPECT_EQ(rich.keys, 0);
    }
    // A middle click on the viewport of a multi-line field, which pastes on X11.
    QTest::mousePress(plain.viewport(), Qt::MiddleButton);
    QTest::mousePress(rich.viewport(), Qt::MiddleButton);
    EXPECT_EQ(plain.middles + rich.middles, 0);

    // With text on the clipboard the fields paste as always.
    QGuiApplication::clipboard()->setText(QStringLiteral("1 2 3"));
    QTest::keyClick(&plain, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&line, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(plain.toPlainText(), QStringLiteral("1 2 3"));
    EXPECT_EQ(line.text(), QStringLiteral("1 2 3"));
    QGuiApplication::clipboard()->clear();
}

TEST(PasteGuardAlone, LetsOtherKeysAndWidgetsThrough) {
    QGuiApplication::clipboard()->setMimeData(new QMimeData);
    QPlainTextEdit plain;
    QWidget plainWidget;
    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QKeyEvent typing(QEvent::KeyPress, Qt::Key_V, Qt::NoModifier, QStringLiteral("v"));
    EXPECT_TRUE(PasteGuard::IsEmptyPaste(&plain, &paste));
    EXPECT_TRUE(PasteGuard::IsEmptyPaste(plain.viewport(), &paste));
    EXPECT_FALSE(PasteGuard::IsEmptyPaste(&plain, &typing));
    EXPECT_FALSE(PasteGuard::IsEmptyPaste(&plainWidget, &paste));
}

} // namespace
} // namespace ry::test
