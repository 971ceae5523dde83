// The Database Query and Evaluate dialogs.

#include "round_trip.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QTabWidget>

namespace ry::test {
namespace {

using DatabaseDialogTest = RoundTripTest;

TEST_F(DatabaseDialogTest, QueryStoredOnOneLineAndDatabaseUserKept) {
    ModuleRecord& m = Add("Database Query", "Lookup");
    m.DbDatabase = "calls.mdb";
    m.DbUser = "operator";
    m.DbSql = "SELECT 1";
    Show();
    ModuleDialog* d = Open("Lookup");
    EXPECT_EQ(d->objectName(), "frmDbiDbQuery");
    EXPECT_EQ(Field(d, "Text1(0)")->text(), "calls.mdb");
    auto* sql = Child<QPlainTextEdit>(d, "Text1(3)");
    EXPECT_EQ(sql->toPlainText(), "SELECT 1");

    sql->setPlainText("SELECT name\nFROM callers\nWHERE id = [caller]");
    EXPECT_TRUE(d->IsDirty());
    d->Apply();
    const ModuleRecord& stored = Tables().Module(d->ModuleIndex());
    EXPECT_EQ(stored.DbSql, "SELECT name  FROM callers  WHERE id = [caller]");
    EXPECT_EQ(sql->toPlainText(), "SELECT name  FROM callers  WHERE id = [caller]");
    // The user has no box in this dialog; it keeps its value.
    EXPECT_EQ(stored.DbUser, "operator");

    // The database file is chosen from the database files; the sound from the sound files.
    prompter_.files = {"/data/other.xls"};
    Child<QPushButton>(d, "cmdDbaseSelect")->click();
    EXPECT_EQ(Field(d, "Text1(0)")->text(), "/data/other.xls");
    EXPECT_TRUE(prompter_.fileRequests.back().filter.contains("*.mdb"));
}

TEST_F(DatabaseDialogTest, QueryLayoutFollowsTheWindowAndNeverTurnsNegative) {
    Add("Database Query", "Lookup");
    Show();
    ModuleDialog* d = Open("Lookup");
    auto* sql = Child<QPlainTextEdit>(d, "Text1(3)");
    auto* apply = Child<QPushButton>(d, "cmdApply");
    d->resize(700, 500);
    QCoreApplication::processEvents();
    const int tallSql = sql->height();
    const int wideSql = sql->width();
    d->resize(900, 700);
    QCoreApplication::processEvents();
    // The statement takes what the window gains; the buttons stay at the bottom right.
    EXPECT_GT(sql->height(), tallSql);
    EXPECT_GT(sql->width(), wideSql);
    EXPECT_GT(apply->geometry().bottom(), d->height() - 60);
    EXPECT_GT(apply->geometry().right(), d->width() - 200);

    d->resize(1, 1);
    QCoreApplication::processEvents();
    EXPECT_GT(d->width(), 1);
    EXPECT_GT(d->height(), 1);
    for (QWidget* child : d->findChildren<QWidget*>()) {
        EXPECT_GE(child->width(), 0) << child->objectName().toStdString();
        EXPECT_GE(child->height(), 0) << child->objectName().toStdString();
    }
    EXPECT_GT(sql->width(), 0);
    EXPECT_GT(sql->height(), 0);
    EXPECT_TRUE(d->rect().contains(apply->geometry()));
}

TEST_F(DatabaseDialogTest, ExpressionJoinedAndVariableTrimmed) {
    ModuleRecord& m = Add("Evaluate", "Total");
    m.PlayFileSlot(1) = "[a] +";
    m.ExprStoreRV = -1; // any value but 0 is set
    Show();
    ModuleDialog* d = Open("Total");
    EXPECT_EQ(d->objectName(), "frmDbiEvalExpr");
    const ModuleRecord& stored = Tables().Module(d->ModuleIndex());
    auto* store = Child<QCheckBox>(d, "chkStoreRVinLog");
    EXPECT_TRUE(store->isChecked());
    EXPECT_EQ(stored.ExprStoreRV, 1);

    auto* expression = Child<QPlainTextEdit>(d, "txtSoundFile");
    expression->setPlainText("[a] +\n [b] * 2");
    Field(d, "txtNewRV")->setText("  total  ");
    store->setChecked(false);
    d->Apply();
    EXPECT_EQ(stored.PlayFileSlot(1), "[a] + [b] * 2");
    EXPECT_EQ(expression->toPlainText(), "[a] + [b] * 2");
    EXPECT_EQ(stored.ExprNewRV, "total");
    EXPECT_EQ(Field(d, "txtNewRV")->text(), "total");
    EXPECT_EQ(stored.ExprStoreRV, 0);
}

TEST_F(DatabaseDialogTest, EveryFieldThroughTheFile) {
    Add("Database Query", "Lookup");
    Add("Evaluate", "Total");
    Show();
    // The file keeps no sound for a query: it lasts while the script is open.
    const std::int16_t lookup = ModuleTitled("Lookup");
    ExpectRoundTrip(
        "Lookup",
        [&](ModuleDialog* d) {
            Field(d, "Text1(0)")->setText("C:\\data\\calls.mdb");
            Field(d, "Text1(2)")->setText("DSN=calls;UID=op");
            Child<QPlainTextEdit>(d, "Text1(3)")->setPlainText("UPDATE calls\nSET n = n + 1");
            Field(d, "txtSoundFile")->setText("wait.wav");
            Field(d, "txtModTitle")->setText("Count call");
        },
        {"PlayFile"});
    EXPECT_EQ(Tables().Module(lookup).PlayFileSlot(1), "wait.wav");
    ExpectRoundTrip("Total", [&](ModuleDialog* d) {
        Child<QPlainTextEdit>(d, "txtSoundFile")->setPlainText("Len([name])\n > 3");
        Field(d, "txtNewRV")->setText("long_name");
        Child<QCheckBox>(d, "chkStoreRVinLog")->setChecked(true);
        Field(d, "txtModTitle")->setText("Name length");
    });
}

} // namespace
} // namespace ry::test
