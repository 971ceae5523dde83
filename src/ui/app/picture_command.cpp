#include "app/picture_command.h"

#include "base/designer.h"
#include "base/prompter.h"
#include "canvas/canvas_picture.h"
#include "canvas/document_window.h"
#include "documents/unshown_document.h"

#include <QFileInfo>

#include <cstdio>

namespace ry {

namespace {

// Nobody is there to answer: messages go to standard error, and every question is declined
// (a protected script's password among them).
class ErrorStreamPrompter : public Prompter {
public:
    MessageAnswer Message(QWidget*, const QString&, const QString& text, MessageIcon,
                          MessageButtons buttons) override {
        Print(text);
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
    QString ChooseFile(QWidget*, const FileRequest&) override { return {}; }
    int Exec(QDialog&) override { return 0; }

    static void Print(const QString& text) {
        QString line = text;
        line.replace(QLatin1String("\r\n"), QLatin1String(" "));
        std::fprintf(stderr, "rykem: %s\n", line.toLocal8Bit().constData());
    }
};

} // namespace

bool TakeRouteStyleOption(QStringList& args, RouteStyle& style) {
    const int at = args.indexOf(QStringLiteral("--route-style"));
    if (at < 0)
        return true;
    if (at + 1 >= args.size())
        return false;
    const QString value = args[at + 1];
    if (value == QLatin1String("classic"))
        style = RouteStyle::Classic;
    else if (value == QLatin1String("around-boxes"))
        style = RouteStyle::AroundBoxes;
    else
        return false;
    args.remove(at, 2);
    return true;
}

bool TakeScaleOption(QStringList& args, int& scale) {
    const int at = args.indexOf(QStringLiteral("--scale"));
    if (at < 0)
        return true;
    bool number = false;
    const int value = at + 1 < args.size() ? args[at + 1].toInt(&number) : 0;
    if (!number || value < 1 || value > kMaxPictureScale)
        return false;
    scale = value;
    args.remove(at, 2);
    return true;
}

int ExportPictureCommand(const QString& script, const QString& out, RouteStyle style, int scale) {
    ErrorStreamPrompter prompter;
    Designer designer(prompter);
    designer.ReadSettings();
    designer.SetRouteStyle(style);
    if (PictureFormatOf(out) == PictureFormat::Unknown) {
        ErrorStreamPrompter::Print(QStringLiteral("A picture is written as an .svg, .png, .pdf or "
                                                  ".json file: ") +
                                   out);
        return 1;
    }
    // The script's boxes, as a document window shows them, on a window never shown.
    UnshownDocument document(designer);
    QString error;
    if (!document.Load(script, &error)) {
        ErrorStreamPrompter::Print(error);
        return 1;
    }
    const bool written =
        WritePicture(document.Window()->Scene(), out, QFileInfo(script).fileName(), &error, scale);
    if (!written) {
        ErrorStreamPrompter::Print(error);
        return 1;
    }
    return 0;
}

} // namespace ry
