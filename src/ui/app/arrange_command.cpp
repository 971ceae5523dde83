#include "app/arrange_command.h"

#include "base/designer.h"
#include "canvas/box_geometry.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"
#include "layout/arrange.h"

#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <climits>
#include <memory>

namespace ry {

bool ArrangeModules(QWidget* parent, Designer& designer, DocumentWindow& window) {
    ScriptDocument& document = window.Document();
    const ScriptTables& tables = document.Tables();
    std::vector<std::int16_t> chosen = document.SelectedModules();
    if (chosen.size() < 2)
        chosen.clear();
    const QSize canvas = designer.CanvasSize();

    // The worker owns its copies: the records may change (or go) once the loop below runs.
    auto input = std::make_shared<ArrangeInput>(
        ArrangeInputOf(tables, document.Script(), chosen, canvas.width(), canvas.height()));
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    auto places = std::make_shared<std::optional<Arrangement>>();
    QThread* worker = QThread::create(
        [input, cancel, places] { *places = ArrangeBoxes(input->graph, cancel.get()); });

    QProgressDialog progress(QStringLiteral("Arranging modules..."), QStringLiteral("Cancel"), 0, 0,
                             parent);
    progress.setObjectName(QStringLiteral("ArrangeProgress"));
    progress.setWindowTitle(QStringLiteral("Arrange Modules"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    QEventLoop loop;
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    QObject::connect(&progress, &QProgressDialog::canceled, &loop, [cancel] { *cancel = true; });
    const QPointer<DocumentWindow> stillOpen(&window);
    worker->start();
    if (!worker->isFinished())
        loop.exec();
    worker->wait();
    delete worker;
    progress.reset();
    if (!stillOpen || *cancel || !*places || input->modules.empty())
        return false;
    const Arrangement& arranged = **places;
    if (!arranged.fits) {
        designer.Message(
            QString::fromStdString(RoomNeededMessage(arranged, canvas.width(), canvas.height())) +
                QStringLiteral(" Arrange left every box where it was; a larger "
                               "design area can be set in RY.INI."),
            MessageIcon::Exclamation, MessageButtons::Ok, parent);
        return false;
    }

    // A selection is laid out where it stood; the whole script from the canvas's corner.
    int left = 0, top = 0;
    if (!chosen.empty()) {
        left = top = INT_MAX;
        for (std::int16_t m : input->modules) {
            left = std::min(left, static_cast<int>(tables.Module(m).PositionX));
            top = std::min(top, static_cast<int>(tables.Module(m).PositionY));
        }
        left = std::max(0, left - kArrangeMargin);
        top = std::max(0, top - kArrangeMargin);
    }
    // Kept inside the canvas: the layout fits in it.
    left = std::max(0, std::min(left, canvas.width() - arranged.width));
    top = std::max(0, std::min(top, canvas.height() - arranged.height));

    std::vector<ScriptDocument::Move> moves;
    moves.reserve(input->modules.size());
    for (size_t i = 0; i < input->modules.size(); ++i)
        moves.push_back(
            {input->modules[i], QPoint(left + arranged.at[i].x, top + arranged.at[i].y)});
    document.MoveModules(moves);
    return true;
}

} // namespace ry
