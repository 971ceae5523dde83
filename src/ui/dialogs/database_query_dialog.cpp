#include "dialogs/database_query_dialog.h"

#include "base/designer.h"
#include "base/text_codec.h"
#include "script/field_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace ry {

DatabaseQueryDialog::DatabaseQueryDialog(Designer& designer, const ModuleDialogSetup& setup,
                                         const ModuleDialogForm& form)
    : ModuleDialog(designer, setup, form) {
    QWidget* page = AddPage(QStringLiteral("Database Query"));
    QGridLayout* grid = PageGrid(page);
    // The database (or data source) file is the only one of the three boxes with a file to
    // choose; the other two are typed.
    const FileRow database =
        AddFileRow(grid, 0, QStringLiteral("Database or ODBC Data Source :"),
                   QStringLiteral("Text1(0)"), QStringLiteral("cmdDbaseSelect"),
                   QStringLiteral("Select "), [this](const QString& current) {
                       return this->designer().Files().SelectFile_Database(this, current);
                   });
    database_ = database.file;
    grid->addWidget(new QLabel(QStringLiteral("Connect String :"), page), 1, 0);
    connect_ = MakeLineEdit(QStringLiteral("Text1(2)"), page);
    grid->addWidget(connect_, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("SQL Query :"), page), 2, 0, Qt::AlignTop);
    sql_ = MakeTextBox(QStringLiteral("Text1(3)"), page, true);
    grid->addWidget(sql_, 2, 1, 1, 2);
    // The statement takes what the window gains in height.
    grid->setRowStretch(2, 1);

    auto* frame = new QGroupBox(QStringLiteral("Play file details"), page);
    QGridLayout* frameGrid = PageGrid(frame);
    auto* note = new QLabel(
        QStringLiteral("This sound file will play in a loop until the database query completes"),
        frame);
    note->setWordWrap(true);
    frameGrid->addWidget(note, 0, 0, 1, 3);
    sound_ = AddSoundRow(frameGrid, 1, QString(), -1, -1);
    frameGrid->setColumnStretch(1, 1);
    grid->addWidget(frame, 3, 0, 1, 3);
    grid->setColumnStretch(1, 1);
}

void DatabaseQueryDialog::LoadFields(const ModuleRecord& m) {
    database_->setText(ToQt(m.DbDatabase));
    connect_->setText(ToQt(m.DbConnectString));
    sql_->setPlainText(FromStored(m.DbSql));
    sound_.file->setText(ToQt(m.PlayFileSlot(1)));
}

void DatabaseQueryDialog::ApplyFields(ModuleRecord& m) {
    // DbUser has no box here and keeps its value.
    m.DbDatabase = FromQt(database_->text());
    m.DbConnectString = FromQt(connect_->text());
    // The file holds the statement on one line; the box shows what is stored.
    m.DbSql = FoldLineEndCharacters(ToStored(sql_->toPlainText()));
    const QString folded = ToQt(m.DbSql);
    if (folded != sql_->toPlainText())
        sql_->setPlainText(folded);
    m.PlayFileSlot(1) = FromQt(sound_.file->text());
}

} // namespace ry
