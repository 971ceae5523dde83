#pragma once

// About: the program's name and version, a link to the maker's web site, and a way to the
// desktop's system information program.

#include <QDialog>

namespace ry {

class Designer;

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(Designer& designer, QWidget* parent = nullptr);

    // "&System Info...": starts the system information program, or says there is none.
    void StartSysInfo();
    // The link: the maker's web address in the browser.
    void OpenLink();

private:
    Designer& designer_;
};

// The desktop's system information program found on the PATH, or "" when it has none.
QString FindSystemInfoProgram();

// "5.2.0": major, minor and revision of this program.
QString ProgramVersion();

} // namespace ry
