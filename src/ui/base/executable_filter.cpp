#include "base/executable_filter.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>

namespace ry {

bool ShownAsExecutable(const QFileInfo& file) {
    return file.isDir() || (file.isFile() && file.isExecutable());
}

void FilterExecutables(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new ExecutableFilesProxy(dialog, QString::fromLatin1(kExecutablesFilter)));
}

ExecutableFilesProxy::ExecutableFilesProxy(QFileDialog& dialog, const QString& filter)
    : QSortFilterProxyModel(&dialog), dialog_(dialog), filter_(filter) {
    connect(&dialog, &QFileDialog::filterSelected, this,
            &ExecutableFilesProxy::invalidateRowsFilter);
}

bool ExecutableFilesProxy::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (dialog_.selectedNameFilter() != filter_)
        return true;
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (!files)
        return true;
    return ShownAsExecutable(files->fileInfo(files->index(sourceRow, 0, sourceParent)));
}

} // namespace ry
