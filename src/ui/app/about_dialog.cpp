#include "app/about_dialog.h"

#include "base/designer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

namespace ry {

QString ProgramVersion() {
    // The project's version, given by the build.
    return QStringLiteral(RY_PROGRAM_VERSION);
}

QString FindSystemInfoProgram() {
    // The information centres of the common desktops, best first.
    for (const char* name : {"kinfocenter", "hardinfo2", "hardinfo"}) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

AboutDialog::AboutDialog(Designer& designer, QWidget* parent)
    : QDialog(parent), designer_(designer) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + designer.BrandName() +
                   QStringLiteral(" Script Designer"));
    setModal(true);

    auto* title = new QLabel(designer.BrandName(), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    title->setFont(big);

    auto* version = new QLabel(QStringLiteral("Version ") + ProgramVersion(), this);
    version->setObjectName(QStringLiteral("lblVersion"));

    const QString url = designer.BrandUrl();
    auto* link = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(url.toHtmlEscaped()), this);
    link->setObjectName(QStringLiteral("lblURL"));
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setOpenExternalLinks(false);
    connect(link, &QLabel::linkActivated, this, &AboutDialog::OpenLink);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* sysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(sysInfo, &QPushButton::clicked, this, &AboutDialog::StartSysInfo);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    buttons->addStretch(1);
    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(version);
    text->addWidget(link);
    text->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(text, 1);
    layout->addLayout(buttons);
}

void AboutDialog::StartSysInfo() {
    const QString program = FindSystemInfoProgram();
    if (program.isEmpty() || !designer_.Programs().launcher().StartProgram(program, {}))
        designer_.Message(QStringLiteral("System Information Is Unavailable At This Time"),
                          MessageIcon::None, MessageButtons::Ok, this);
}

void AboutDialog::OpenLink() {
    if (!designer_.Programs().launcher().OpenUrl(QUrl(designer_.BrandUrl())))
        designer_.Message(QStringLiteral("Could not start browser!"), MessageIcon::None,
                          MessageButtons::Ok, this);
}

} // namespace ry
