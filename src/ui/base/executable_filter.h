#pragma once

// The file dialog's "Executables" filter: a name pattern cannot tell a program on this system
// (any file its user may run, with or without an extension), so the dialog's list is filtered
// on the files' execute permission while that filter is chosen.

#include <QSortFilterProxyModel>
#include <QString>

class QFileDialog;
class QFileInfo;

namespace ry {

// The description of the filter in a dialog's filter list.
inline constexpr const char* kExecutablesFilter = "Executables (*)";

// What the filter shows: folders, to go through, and files the user may run.
bool ShownAsExecutable(const QFileInfo& file);

// Makes `dialog` filter its list on the execute permission while kExecutablesFilter is chosen
// (the dialog's own list, not the desktop's, which knows no such filter).
void FilterExecutables(QFileDialog& dialog);

// Filters a file dialog's list while its chosen name filter is `filter`; other filters show
// what their patterns let through.
class ExecutableFilesProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    ExecutableFilesProxy(QFileDialog& dialog, const QString& filter);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QFileDialog& dialog_;
    QString filter_;
};

} // namespace ry
