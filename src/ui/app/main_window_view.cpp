// The main window's Undo and Redo, the canvas zoom, the overview dock, View > Path Labels and
// View > Show Settings.
// Each follows the active document: its undo history, its view's zoom, its canvas in small.

#include "app/main_window.h"

#include "base/designer.h"
#include "base/registry.h"
#include "base/view_choices.h"
#include "canvas/canvas_interaction.h"
#include "canvas/canvas_overview.h"
#include "canvas/canvas_scene.h"
#include "canvas/canvas_view.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QUndoStack>

#include <vector>

namespace ry {

namespace {

const QString kViewKey = QStringLiteral("Software\\Cordaxa\\Ryvane\\View");
const QString kPathLabelsValue = QStringLiteral("PathLabels");

// View > Path Labels as the user left it: on unless "0" was stored.
bool ReadPathLabels() {
    return ReadViewChoice(kPathLabelsValue);
}

void WritePathLabels(bool shown) {
    WriteViewChoice(kPathLabelsValue, shown);
}

const QString kRouteStyleValue = QStringLiteral("RouteStyle");

// View > Route Style as the user left it: around the boxes unless "Classic" was stored.
RouteStyle ReadRouteStyle() {
    try {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser, kViewKey, true);
        const QString stored = registry.ReadValue(kRouteStyleValue);
        registry.CloseKey();
        return stored == QLatin1String("Classic") ? RouteStyle::Classic : RouteStyle::AroundBoxes;
    } catch (const RegistryError&) {
        return RouteStyle::AroundBoxes;
    }
}

void WriteRouteStyle(RouteStyle style) {
    try {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser, kViewKey, true);
        registry.WriteValue(kRouteStyleValue, style == RouteStyle::Classic
                                                  ? QStringLiteral("Classic")
                                                  : QStringLiteral("AroundBoxes"));
        registry.CloseKey();
    } catch (const RegistryError&) {
        // A view setting is a convenience: the routes change all the same.
    }
}

// A menu caption naming a step; a "&" in the step's own text is shown as it is.
QString StepCaption(const QString& command, const QString& step) {
    if (step.isEmpty())
        return command;
    return command + QLatin1Char(' ') +
           QString(step).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString ZoomText(int percent) {
    return QStringLiteral("%1%").arg(percent);
}

// Keeps the actions, the zoom box and the overview on the active document.
class ActiveDocumentTools : public QObject {
public:
    ActiveDocumentTools(MainWindow& main, QAction* undo, QAction* redo,
                        std::vector<QAction*> zoomActions, QComboBox* zoomBox,
                        CanvasOverview* overview)
        : QObject(&main), main_(main), undo_(undo), redo_(redo),
          zoomActions_(std::move(zoomActions)), zoomBox_(zoomBox), overview_(overview) {
        // How many labels and tags of the active canvas found no free spot.
        leftOut_ = new QLabel(&main);
        leftOut_->setObjectName(QStringLiteral("lblLabelsLeftOut"));
        leftOut_->hide();
        main.statusBar()->addPermanentWidget(leftOut_);
    }

    void ShowLeftOut(int count) {
        leftOut_->setText(count == 1 ? QStringLiteral("1 label left out")
                                     : QStringLiteral("%1 labels left out").arg(count));
        leftOut_->setToolTip(QStringLiteral(
            "Labels with no free spot beside their connector; the pointer on a connector shows "
            "its triggers"));
        leftOut_->setVisible(count > 0);
    }

    void Follow() {
        DocumentWindow* window = main_.ActiveDocumentWindow();
        if (window != current_) {
            for (const auto& c : follow_)
                disconnect(c);
            follow_.clear();
            current_ = window;
            if (window) {
                QUndoStack& stack = window->Document().History();
                for (auto signal : {&QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged})
                    follow_.push_back(connect(&stack, signal, this, [this] { Refresh(); }));
                for (auto signal : {&QUndoStack::undoTextChanged, &QUndoStack::redoTextChanged})
                    follow_.push_back(connect(&stack, signal, this, [this] { Refresh(); }));
                follow_.push_back(connect(&window->View(), &CanvasView::zoomChanged, this,
                                          [this] { Refresh(); }));
                follow_.push_back(connect(&window->Scene(), &CanvasScene::labelsLeftOutChanged,
                                          this, [this](int count) { ShowLeftOut(count); }));
                follow_.push_back(connect(window, &QObject::destroyed, this, [this] {
                    current_ = nullptr;
                    overview_->SetView(nullptr);
                    Refresh();
                }));
            }
            overview_->SetView(window ? &window->View() : nullptr);
            ShowLeftOut(window ? window->Scene().Connectors().LeftOut() : 0);
        }
        Refresh();
    }

    void Refresh() {
        DocumentWindow* window = current_;
        QUndoStack* stack = window ? &window->Document().History() : nullptr;
        undo_->setEnabled(stack && stack->canUndo());
        redo_->setEnabled(stack && stack->canRedo());
        // The step each would take back or do again: "Undo Move Modules".
        const QString undoStep = stack && stack->canUndo() ? stack->undoText() : QString();
        const QString redoStep = stack && stack->canRedo() ? stack->redoText() : QString();
        undo_->setText(StepCaption(QStringLiteral("&Undo"), undoStep));
        redo_->setText(StepCaption(QStringLiteral("&Redo"), redoStep));
        undo_->setStatusTip(undoStep.isEmpty() ? QString() : QStringLiteral("Undo ") + undoStep);
        redo_->setStatusTip(redoStep.isEmpty() ? QString() : QStringLiteral("Redo ") + redoStep);
        undo_->setToolTip(undo_->statusTip());
        redo_->setToolTip(redo_->statusTip());
        for (QAction* action : zoomActions_)
            action->setEnabled(window != nullptr);
        zoomBox_->setEnabled(window != nullptr);
        const QSignalBlocker block(zoomBox_);
        const int zoom = window ? window->View().Zoom() : 100;
        const int item = zoomBox_->findData(zoom);
        zoomBox_->setCurrentIndex(item);
        zoomBox_->setEditText(ZoomText(zoom));
    }

    // The zoom the user typed or chose: "150", "150%" or " 150 % ".
    void ZoomTyped(const QString& text) {
        QString digits = text.trimmed();
        if (digits.endsWith(QLatin1Char('%')))
            digits.chop(1);
        bool ok = false;
        const int percent = digits.trimmed().toInt(&ok);
        if (ok && current_)
            current_->View().SetZoom(percent);
        Refresh();
    }

private:
    MainWindow& main_;
    QAction* undo_;
    QAction* redo_;
    std::vector<QAction*> zoomActions_;
    QComboBox* zoomBox_;
    QLabel* leftOut_ = nullptr;
    CanvasOverview* overview_;
    QPointer<DocumentWindow> current_;
    std::vector<QMetaObject::Connection> follow_;
};

} // namespace

void MainWindow::InstallHistoryAndZoom() {
    // Edit > Undo and Redo, above Find module.
    auto* edit = findChild<QMenu*>(QStringLiteral("mnuTop(1)"));
    auto* undo = new QAction(QStringLiteral("&Undo"), this);
    undo->setObjectName(QStringLiteral("mnuUndo"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    auto* redo = new QAction(QStringLiteral("&Redo"), this);
    redo->setObjectName(QStringLiteral("mnuRedo"));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    if (edit) {
        QAction* first = edit->actions().isEmpty() ? nullptr : edit->actions().first();
        edit->insertAction(first, undo);
        edit->insertAction(first, redo);
        QAction* separator = edit->insertSeparator(first);
        separator->setObjectName(QStringLiteral("mnuUndo(1)"));
    }
    actions_[undo->objectName()] = undo;
    actions_[redo->objectName()] = redo;
    for (QAction* action : {undo, redo}) {
        const bool isUndo = action == undo;
        connect(action, &QAction::triggered, this, [this, isUndo] {
            DocumentWindow* window = ActiveDocumentWindow();
            if (!window)
                return;
            // A title or text being typed in a box is an edit of its own, undone first; a drag
            // or band in progress ends where it started.
            window->CommitEdits();
            window->Interaction().EndGestures();
            if (isUndo)
                window->Document().Undo();
            else
                window->Document().Redo();
        });
    }

    // View > Zoom In, Zoom Out, Actual Size and Overview.
    auto* view = findChild<QMenu*>(QStringLiteral("mnuTop(2)"));
    auto addViewAction = [&](const QString& name, const QString& caption,
                             const QList<QKeySequence>& keys) {
        auto* action = new QAction(caption, this);
        action->setObjectName(name);
        action->setShortcuts(keys);
        if (view)
            view->addAction(action);
        actions_[name] = action;
        return action;
    };
    QAction* zoomSeparator = view ? view->addSeparator() : nullptr;
    if (zoomSeparator)
        zoomSeparator->setObjectName(QStringLiteral("mnuZoom(3)"));
    QAction* zoomIn = addViewAction(
        QStringLiteral("mnuZoom(0)"), QStringLiteral("Zoom &In"),
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    QAction* zoomOut = addViewAction(QStringLiteral("mnuZoom(1)"), QStringLiteral("Zoom &Out"),
                                     {QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    QAction* zoomReset = addViewAction(QStringLiteral("mnuZoom(2)"), QStringLiteral("&Actual Size"),
                                       {QKeySequence(Qt::CTRL | Qt::Key_0)});
    auto onView = [this](auto&& act) {
        return [this, act] {
            if (DocumentWindow* window = ActiveDocumentWindow())
                act(window->View());
        };
    };
    connect(zoomIn, &QAction::triggered, this, onView([](CanvasView& v) { v.ZoomIn(); }));
    connect(zoomOut, &QAction::triggered, this, onView([](CanvasView& v) { v.ZoomOut(); }));
    connect(zoomReset, &QAction::triggered, this, onView([](CanvasView& v) { v.SetZoom(100); }));

    // The zoom box at the right of the status bar.
    auto* zoomBox = new QComboBox(this);
    zoomBox->setObjectName(QStringLiteral("cmbZoom"));
    zoomBox->setToolTip(QStringLiteral("Zoom"));
    zoomBox->setEditable(true);
    zoomBox->setInsertPolicy(QComboBox::NoInsert);
    for (int percent : CanvasView::ZoomSteps())
        zoomBox->addItem(ZoomText(percent), percent);
    statusBar()->addPermanentWidget(zoomBox);

    // The overview dock, on the right.
    auto* dock = new QDockWidget(QStringLiteral("Overview"), this);
    dock->setObjectName(QStringLiteral("Overview"));
    auto* overview = new CanvasOverview(dock);
    dock->setWidget(overview);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    QAction* overviewItem = dock->toggleViewAction();
    overviewItem->setObjectName(QStringLiteral("mnuOverview"));
    overviewItem->setText(QStringLiteral("O&verview"));
    if (view)
        view->addAction(overviewItem);
    actions_[overviewItem->objectName()] = overviewItem;

    // View > Path Labels: the triggers beside the connectors of every canvas, on until the
    // user turns them off, and as they were left the next time.
    auto* labels = new QAction(QStringLiteral("Path &Labels"), this);
    labels->setObjectName(QStringLiteral("mnuPathLabels"));
    labels->setCheckable(true);
    designer_.SetPathLabels(ReadPathLabels());
    labels->setChecked(designer_.PathLabels());
    if (view) // after Module Height, before the zoom
        view->insertAction(zoomSeparator, labels);
    actions_[labels->objectName()] = labels;
    connect(labels, &QAction::toggled, this, [this](bool shown) {
        designer_.SetPathLabels(shown);
        WritePathLabels(shown);
    });

    // View > Show Settings: a line of each box's key settings under its text, on until the
    // user turns it off, and as it was left the next time.
    auto* settings = new QAction(QStringLiteral("Show S&ettings"), this);
    settings->setObjectName(QStringLiteral("mnuShowSettings"));
    settings->setCheckable(true);
    designer_.SetBoxSettings(ReadShowSettings());
    settings->setChecked(designer_.BoxSettings());
    if (view)
        view->insertAction(zoomSeparator, settings);
    actions_[settings->objectName()] = settings;
    connect(settings, &QAction::toggled, this, [this](bool shown) {
        designer_.SetBoxSettings(shown);
        WriteShowSettings(shown);
    });

    // View > Route Style: connectors around the boxes, or in their classic shapes; remembered.
    auto* styles = new QMenu(QStringLiteral("&Route Style"), this);
    styles->setObjectName(QStringLiteral("mnuRouteStyle"));
    auto* styleGroup = new QActionGroup(styles);
    designer_.SetRouteStyle(ReadRouteStyle());
    const std::pair<RouteStyle, QString> choices[] = {
        {RouteStyle::AroundBoxes, QStringLiteral("&Around Boxes")},
        {RouteStyle::Classic, QStringLiteral("&Classic")}};
    for (const auto& [style, caption] : choices) {
        QAction* item = styles->addAction(caption);
        item->setObjectName(style == RouteStyle::Classic ? QStringLiteral("mnuRouteClassic")
                                                         : QStringLiteral("mnuRouteAroundBoxes"));
        item->setCheckable(true);
        item->setChecked(designer_.ConnectorRouteStyle() == style);
        styleGroup->addAction(item);
        actions_[item->objectName()] = item;
        connect(item, &QAction::triggered, this, [this, style = style] {
            designer_.SetRouteStyle(style);
            WriteRouteStyle(style);
        });
    }
    if (view)
        view->insertMenu(zoomSeparator, styles);

    auto* tools =
        new ActiveDocumentTools(*this, undo, redo, {zoomIn, zoomOut, zoomReset}, zoomBox, overview);
    // A step chosen from the list, or any zoom typed and entered (the box reports only those
    // that match a step).
    connect(zoomBox, &QComboBox::textActivated, tools,
            [tools](const QString& text) { tools->ZoomTyped(text); });
    connect(zoomBox->lineEdit(), &QLineEdit::returnPressed, tools,
            [tools, zoomBox] { tools->ZoomTyped(zoomBox->currentText()); });
    // With this window as the receiver, so that the window's own teardown (which disconnects
    // the area from it) also ends this.
    connect(mdi_, &QMdiArea::subWindowActivated, this, [tools] { tools->Follow(); });
    tools->Refresh();
}

} // namespace ry
