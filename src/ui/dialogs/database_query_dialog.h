#pragma once

// The Database Query module's dialog: the database or ODBC data source, its connect string,
// the SQL statement, and the sound played in a loop while the engine runs the query.

#include "dialogs/module_dialog.h"

namespace ry {

class DatabaseQueryDialog : public ModuleDialog {
    Q_OBJECT
public:
    DatabaseQueryDialog(Designer& designer, const ModuleDialogSetup& setup,
                        const ModuleDialogForm& form);

protected:
    void LoadFields(const ModuleRecord& module) override;
    void ApplyFields(ModuleRecord& module) override;

private:
    QLineEdit* database_; // Text1(0): DbDatabase
    QLineEdit* connect_;  // Text1(2): DbConnectString
    QPlainTextEdit* sql_; // Text1(3): DbSql
    SoundRow sound_;      // txtSoundFile: PlayFile slot 1
};

} // namespace ry
