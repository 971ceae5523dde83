#pragma once

// The manual inside the designer: one window with the list of pages, the page shown, Back
// and Forward, and a search of every page. It shows the HTML pages of one help folder; the
// contents list follows the links of the folder's contents page, in their order.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTextBrowser;
class QUrl;

namespace ry {

// A page's HTML with every name marked as the brand (<span class="brand">...</span>) replaced
// by `brand`.
QString WithBrand(const QString& html, const QString& brand);

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // `brand` is the program's name as RY.INI sets it: the window's caption is "<brand> Help",
    // and the pages name the program by it where they mark the name (a span of class
    // "brand").
    HelpWindow(const QString& folder, const QString& brand, QWidget* parent = nullptr);

    const QString& Folder() const { return folder_; }

    // Shows a page of the folder, "page.html" or "page.html#anchor", and brings the window
    // forward. False, showing nothing new, when the page's file is not in the folder.
    bool ShowPage(const QString& page);
    // The page shown, as ShowPage takes it; empty before the first.
    QString CurrentPage() const;

    // Puts the cursor in the search field, its text selected.
    void FocusSearch();
    // Lists, below the search field, the pages that hold every word of `query` (letter case
    // aside), in the order of the contents, and returns their file names. An empty query
    // hides the list.
    QStringList Search(const QString& query);

private:
    void LoadContents();
    void SourceChanged(const QUrl& url);
    // Marks the words of the last search that found pages in the page shown.
    void HighlightSearchWords();
    void Activate(QListWidgetItem* item);
    QString PageTitle(const QString& file);
    // The page's text without its markup, read once.
    const QString& PageText(const QString& file);

    QString folder_;
    QString brand_;
    QTextBrowser* browser_;
    QListWidget* contents_;
    QListWidget* results_;
    QLineEdit* search_;
    QPushButton* back_;
    QPushButton* forward_;
    QStringList searchWords_;
    QStringList pages_; // the contents' pages in order, the contents page first
    QHash<QString, QString> text_;
    QHash<QString, QString> titles_;
};

} // namespace ry
