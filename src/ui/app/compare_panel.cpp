#include "app/compare_panel.h"

#include "base/designer.h"
#include "base/prompter.h"
#include "canvas/box_geometry.h"
#include "canvas/box_item.h"
#include "canvas/canvas_scene.h"
#include "canvas/canvas_view.h"
#include "canvas/change_marks.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"
#include "documents/script_comparison.h"
#include "paths/destinations.h"
#include "script/text.h"

#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace ry {

namespace {

// The row's module and whether it is one of the other version only.
constexpr int kModuleRole = Qt::UserRole;
constexpr int kRemovedRole = Qt::UserRole + 1;

QRect ModuleRect(const ModuleRecord& m) {
    return QRect(m.PositionX, m.PositionY, kBoxWidth, BoxHeightFor(m.DispSize));
}

// Where the line between the centres of two boxes crosses the frame of `from`: a removed path
// is drawn between the boxes' frames, never over their text.
QPoint OnFrame(const QRect& from, const QRect& to) {
    const QPointF a = QRectF(from).center();
    const QPointF d = QRectF(to).center() - a;
    double t = 1.0;
    if (d.x() != 0)
        t = std::min(t, (from.width() / 2.0) / std::abs(d.x()));
    if (d.y() != 0)
        t = std::min(t, (from.height() / 2.0) / std::abs(d.y()));
    return (a + d * t).toPoint();
}

// What the canvas marks for a comparison: the open script is `tables`' `script`, the other
// version `other`'s `otherScript`.
ChangeMarkSet MarksOf(const ScriptDiff& diff, const ScriptTables& tables, std::int16_t script,
                      const ScriptTables& other, std::int16_t otherScript) {
    ChangeMarkSet marks;
    const TitleIndex titles(tables, script);
    const TitleIndex otherTitles(other, otherScript);
    // Where a destination stands: its box in the open script, else where it stood.
    auto whereIs = [&](std::string_view title) -> std::optional<QRect> {
        if (std::int16_t m = titles.Find(title); m >= 1)
            return ModuleRect(tables.Module(m));
        if (std::int16_t m = otherTitles.Find(title); m >= 1)
            return ModuleRect(other.Module(m));
        return std::nullopt;
    };
    for (const ModuleChange& c : diff.Modules) {
        if (c.What == ModuleChange::Kind::Removed) {
            const ModuleRecord& gone = other.Module(c.Module);
            marks.removedBoxes.push_back(
                {ModuleRect(gone), QString::fromStdString(Cp1252ToUtf8(gone.Title))});
            continue;
        }
        const ModuleRecord& m = tables.Module(c.Module);
        (c.What == ModuleChange::Kind::Added ? marks.addedBoxes : marks.changedBoxes)
            .push_back(m.BoxIndex);
        for (const PathChange& p : c.Paths) {
            if (p.What == PathChange::Kind::Added || p.What == PathChange::Kind::Retargeted)
                if (std::int16_t to = titles.Find(p.Destination); to >= 1)
                    marks.addedPaths.push_back({c.Module, to});
            const std::string& gone = p.What == PathChange::Kind::Removed      ? p.Destination
                                      : p.What == PathChange::Kind::Retargeted ? p.OldDestination
                                                                               : std::string();
            if (!gone.empty())
                if (auto to = whereIs(gone))
                    marks.removedPaths.push_back(
                        {OnFrame(ModuleRect(m), *to), OnFrame(*to, ModuleRect(m))});
        }
    }
    return marks;
}

} // namespace

ComparePanel::ComparePanel(Designer& designer, QWidget* parent)
    : QDockWidget(QStringLiteral("Changes"), parent), designer_(designer),
      caption_(new QLabel(this)), list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("Comparison"));
    caption_->setObjectName(QStringLiteral("lblComparedWith"));
    caption_->setWordWrap(true);
    list_->setObjectName(QStringLiteral("lstChanges"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setTextElideMode(Qt::ElideRight);
    auto* close = new QPushButton(QStringLiteral("Close Comparison"), this);
    close->setObjectName(QStringLiteral("cmdCloseComparison"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(caption_);
    layout->addWidget(list_, 1);
    layout->addWidget(close, 0, Qt::AlignRight);
    setWidget(body);
    hide();
    connect(close, &QPushButton::clicked, this, &ComparePanel::CloseComparison);
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ShowChange(list_->row(item)); });
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowChange(list_->row(item)); });
}

ComparePanel::~ComparePanel() {
    CloseComparison();
}

bool ComparePanel::Comparing() const {
    return comparison_ != nullptr;
}

bool ComparePanel::Compare(DocumentWindow& window, const QString& otherFile) {
    QString error;
    auto comparison = ScriptComparison::Open(designer_, window.Script(), otherFile, &error);
    if (!comparison) {
        designer_.Message(otherFile + QStringLiteral("\n\nCould not be compared: ") + error,
                          MessageIcon::Exclamation, MessageButtons::Ok, parentWidget());
        return false;
    }
    CloseComparison();
    comparison_ = std::move(comparison);
    window_ = &window;
    marks_ = new ChangeMarks(window.Scene());
    caption_->setText(QStringLiteral("Compared with %1").arg(QFileInfo(otherFile).fileName()));
    caption_->setToolTip(otherFile);
    ScriptDocument* document = &window.Document();
    following_ = {
        connect(&document->History(), &QUndoStack::indexChanged, this, [this] { Refresh(); }),
        connect(&window, &DocumentWindow::closed, this, [this] { CloseComparison(); }),
    };
    Refresh();
    show();
    raise();
    return true;
}

void ComparePanel::Refresh() {
    if (!comparison_ || !window_)
        return;
    comparison_->Refresh();
    const ScriptDiff& diff = comparison_->Diff();
    list_->clear();
    const std::vector<DiffEntry> entries = DiffEntries(diff, false);
    for (const DiffEntry& e : entries) {
        auto* item = new QListWidgetItem(QString::fromStdString(e.Line), list_);
        item->setData(kModuleRole, e.Module);
        item->setData(kRemovedRole, e.Removed);
        item->setToolTip(item->text());
        if (e.Removed)
            item->setForeground(ChangeMarks::kRemoved);
    }
    if (entries.empty())
        new QListWidgetItem(QStringLiteral("No changes"), list_);
    if (marks_)
        marks_->Show(MarksOf(diff, designer_.Tables(), window_->Script(),
                             comparison_->OtherTables(), comparison_->OtherScript()));
}

void ComparePanel::ShowChange(int row) {
    QListWidgetItem* item = list_->item(row);
    if (!item || !window_ || item->data(kRemovedRole).toBool())
        return;
    const int module = item->data(kModuleRole).toInt();
    if (module < 1)
        return;
    const int box = designer_.Tables().Module(module).BoxIndex;
    window_->Document().SelectOnlyBox(box);
    if (BoxItem* boxItem = window_->Scene().Item(box))
        window_->View().ensureVisible(boxItem, 40, 40);
}

void ComparePanel::CloseComparison() {
    for (const auto& c : following_)
        disconnect(c);
    following_.clear();
    delete marks_.data();
    marks_ = nullptr;
    comparison_.reset();
    window_ = nullptr;
    list_->clear();
    hide();
}

} // namespace ry

#include "app/main_window.h"
#include "base/text_codec.h"

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace ry {

void MainWindow::InstallComparePanel() {
    auto* panel = new ComparePanel(designer_, this);
    // Beside the Problems panel: the changes' lines want the window's width.
    addDockWidget(Qt::BottomDockWidgetArea, panel);
    if (auto* problems = findChild<QDockWidget*>(QStringLiteral("Problems")))
        tabifyDockWidget(problems, panel);
    panel->hide();

    // The file the active script was read from or saved to; empty for one never saved.
    auto savedFile = [this]() -> QString {
        DocumentWindow* window = ActiveDocumentWindow();
        if (!window)
            return {};
        const std::string& name = window->Document().Record().FileName;
        // A protected script's name may carry "|" and more after the file's own name.
        return FromHostPath(name.substr(0, name.find('|')));
    };
    auto compareWith = [this, panel](const QString& other) {
        if (DocumentWindow* window = ActiveDocumentWindow()) {
            window->CommitEdits();
            panel->Compare(*window, other);
        }
    };

    // File > Compare With... and Compare With Saved, after Save All.
    QMenu* file = MenuAction(QStringLiteral("mnuTop(0)"))->menu();
    QAction* before = MenuAction(QStringLiteral("mnuRecent(0)"));
    QAction* pick = AddAction(file, QStringLiteral("mnuCompare"), QStringLiteral("Co&mpare With…"));
    QAction* saved = AddAction(file, QStringLiteral("mnuCompareSaved"),
                               QStringLiteral("Compare With Sa&ved Version"));
    for (QAction* item : {pick, saved}) {
        file->removeAction(item);
        file->insertAction(before, item);
    }
    connect(pick, &QAction::triggered, this, [this, savedFile, compareWith] {
        if (!ActiveDocumentWindow())
            return;
        FileRequest request;
        request.title = QStringLiteral("Compare With");
        request.filter = QStringLiteral("Ryvane Scripts (*.rys *.ryp);;All Files (*)");
        const QString current = savedFile();
        request.folder = current.isEmpty() ? QDir::homePath() : current;
        const QString chosen = designer_.Prompts().ChooseFile(this, request);
        if (!chosen.isEmpty())
            compareWith(chosen);
    });
    connect(saved, &QAction::triggered, this, [this, savedFile, compareWith] {
        const QString current = savedFile();
        if (current.isEmpty()) {
            if (ActiveDocumentWindow())
                designer_.Message(QStringLiteral("This script has not been saved yet: there is "
                                                 "no version on disk to compare it with."),
                                  MessageIcon::Information, MessageButtons::Ok, this);
            return;
        }
        compareWith(current);
    });
    // Both need a document to compare.
    auto follow = [this, pick, saved] {
        const bool any = ActiveDocumentWindow() != nullptr;
        pick->setEnabled(any);
        saved->setEnabled(any);
    };
    connect(mdi_, &QMdiArea::subWindowActivated, this, follow);
    follow();
}

} // namespace ry
