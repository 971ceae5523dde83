#include "base/help_window.h"

#include "base/help_topics.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace ry {

namespace {

// The most a window manager's frame adds to a window: its borders and title bar.
const QSize kWindowFrameAllowance(16, 48);

constexpr int kPageRole = Qt::UserRole;

QString ReadUtf8(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString FileOf(const QString& page) {
    return page.section(QLatin1Char('#'), 0, 0);
}

// Shows the manual's pages with the brand's name in place of the name they were written with.
class BrandedBrowser : public QTextBrowser {
public:
    BrandedBrowser(const QString& brand, QWidget* parent) : QTextBrowser(parent), brand_(brand) {}

    QVariant loadResource(int type, const QUrl& name) override {
        QVariant resource = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::HtmlResource)
            return resource;
        const QString html = resource.typeId() == QMetaType::QByteArray
                                 ? QString::fromUtf8(resource.toByteArray())
                                 : resource.toString();
        return WithBrand(html, brand_);
    }

private:
    QString brand_;
};

} // namespace

QString WithBrand(const QString& html, const QString& brand) {
    static const QRegularExpression marked(
        QStringLiteral(R"re((<span\s+class="brand"\s*>)[^<]*(</span>))re"),
        QRegularExpression::CaseInsensitiveOption);
    // Put together by hand: a replacement text would take a backslash of the name for a
    // reference to a captured part.
    const QString name = brand.toHtmlEscaped();
    QString out;
    qsizetype from = 0;
    for (auto it = marked.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(html).mid(from, m.capturedEnd(1) - from);
        out += name;
        from = m.capturedStart(2);
    }
    out += QStringView(html).mid(from);
    return out;
}

HelpWindow::HelpWindow(const QString& folder, const QString& brand, QWidget* parent)
    : QWidget(parent, Qt::Window), folder_(folder), brand_(brand),
      browser_(new BrandedBrowser(brand, this)), contents_(new QListWidget(this)),
      results_(new QListWidget(this)), search_(new QLineEdit(this)),
      back_(new QPushButton(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("&Back"),
                            this)),
      forward_(new QPushButton(style()->standardIcon(QStyle::SP_ArrowForward),
                               QStringLiteral("&Forward"), this)) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(brand + QStringLiteral(" Help"));
    // The manual is no reason to keep the program running once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    browser_->setObjectName(QStringLiteral("txtHelpPage"));
    browser_->setSearchPaths({folder_});
    browser_->setOpenExternalLinks(true);
    contents_->setObjectName(QStringLiteral("lstContents"));
    results_->setObjectName(QStringLiteral("lstSearchResults"));
    results_->hide();
    search_->setObjectName(QStringLiteral("txtSearch"));
    search_->setPlaceholderText(QStringLiteral("Search"));
    search_->setClearButtonEnabled(true);
    back_->setObjectName(QStringLiteral("cmdBack"));
    forward_->setObjectName(QStringLiteral("cmdForward"));
    back_->setEnabled(false);
    forward_->setEnabled(false);

    auto* side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(search_);
    sideLayout->addWidget(results_, 1);
    sideLayout->addWidget(new QLabel(QStringLiteral("Contents"), side));
    sideLayout->addWidget(contents_, 2);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(side);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    resize(880, 640);

    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::SourceChanged);
    connect(contents_, &QListWidget::itemActivated, this, &HelpWindow::Activate);
    connect(contents_, &QListWidget::itemClicked, this, &HelpWindow::Activate);
    connect(results_, &QListWidget::itemActivated, this, &HelpWindow::Activate);
    connect(results_, &QListWidget::itemClicked, this, &HelpWindow::Activate);
    connect(search_, &QLineEdit::returnPressed, this, [this] { Search(search_->text()); });
    connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.trimmed().isEmpty())
            Search(QString());
    });

    LoadContents();
    // The contents list is as wide as its longest title, scroll bar included.
    const int listWidth =
        std::max(220, contents_->sizeHintForColumn(0) + 2 * contents_->frameWidth() +
                          style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8);
    splitter->setSizes({listWidth, 620});
    resize(listWidth + 660, 640);
    // A small screen, or a large scale, gets a window it can show whole, with room for the
    // frame the window manager adds.
    if (const QScreen* shown = screen())
        resize(size().boundedTo(shown->availableGeometry().size() - kWindowFrameAllowance));
}

void HelpWindow::LoadContents() {
    const QString contentsPage = QString::fromLatin1(help::kContentsPage);
    pages_ = {contentsPage};
    auto* first = new QListWidgetItem(QStringLiteral("Contents"), contents_);
    first->setData(kPageRole, contentsPage);
    // Each link of the contents page, once, in its order, under the link's text.
    static const QRegularExpression link(
        QStringLiteral(R"re(<a\s[^>]*href\s*=\s*"([^"#]+)[^"]*"[^>]*>(.*?)</a>)re"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QString html = ReadUtf8(QDir(folder_).filePath(contentsPage));
    for (auto it = link.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString page = m.captured(1);
        if (pages_.contains(page) || page.contains(QLatin1Char(':')))
            continue;
        pages_ << page;
        const QString text = QTextDocumentFragment::fromHtml(m.captured(2)).toPlainText();
        auto* item = new QListWidgetItem(text.simplified(), contents_);
        item->setData(kPageRole, page);
    }
}

bool HelpWindow::ShowPage(const QString& page) {
    const QString file = FileOf(page);
    if (file.isEmpty() || !QFileInfo(QDir(folder_).filePath(file)).isFile())
        return false;
    QUrl url = QUrl::fromLocalFile(QDir(folder_).filePath(file));
    if (page.contains(QLatin1Char('#')))
        url.setFragment(page.section(QLatin1Char('#'), 1));
    browser_->setSource(url);
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    return true;
}

QString HelpWindow::CurrentPage() const {
    const QUrl url = browser_->source();
    if (url.isEmpty())
        return {};
    QString page = QFileInfo(url.toLocalFile()).fileName();
    if (url.hasFragment())
        page += QLatin1Char('#') + url.fragment();
    return page;
}

void HelpWindow::SourceChanged(const QUrl& url) {
    HighlightSearchWords();
    // The contents list marks the page shown, however it was reached.
    const QString file = QFileInfo(url.toLocalFile()).fileName();
    for (int i = 0; i < contents_->count(); ++i) {
        if (contents_->item(i)->data(kPageRole).toString() == file) {
            contents_->setCurrentRow(i);
            return;
        }
    }
    contents_->clearSelection();
}

void HelpWindow::HighlightSearchWords() {
    QList<QTextEdit::ExtraSelection> marks;
    QTextCharFormat format;
    format.setBackground(QColor(255, 230, 90));
    format.setForeground(Qt::black);
    for (const QString& word : searchWords_) {
        for (QTextCursor at = browser_->document()->find(word); !at.isNull();
             at = browser_->document()->find(word, at))
            marks.append({at, format});
    }
    browser_->setExtraSelections(marks);
}

void HelpWindow::Activate(QListWidgetItem* item) {
    if (item)
        ShowPage(item->data(kPageRole).toString());
}

void HelpWindow::FocusSearch() {
    search_->setFocus(Qt::ShortcutFocusReason);
    search_->selectAll();
}

QStringList HelpWindow::Search(const QString& query) {
    results_->clear();
    const QStringList words = query.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList found;
    if (!words.isEmpty()) {
        for (const QString& page : pages_) {
            const QString& text = PageText(page);
            const bool all = std::all_of(words.begin(), words.end(), [&](const QString& w) {
                return text.contains(w, Qt::CaseInsensitive);
            });
            if (!all)
                continue;
            found << page;
            auto* item = new QListWidgetItem(PageTitle(page), results_);
            item->setData(kPageRole, page);
        }
        if (found.isEmpty())
            new QListWidgetItem(QStringLiteral("No page holds all of these words."), results_);
    }
    results_->setVisible(!words.isEmpty());
    // The words found are marked in every page shown until the search is cleared.
    searchWords_ = found.isEmpty() ? QStringList() : words;
    HighlightSearchWords();
    return found;
}

const QString& HelpWindow::PageText(const QString& file) {
    auto it = text_.find(file);
    if (it == text_.end()) {
        QTextDocument document;
        document.setHtml(WithBrand(ReadUtf8(QDir(folder_).filePath(file)), brand_));
        titles_.insert(file, document.metaInformation(QTextDocument::DocumentTitle));
        it = text_.insert(file, document.toPlainText());
    }
    return *it;
}

QString HelpWindow::PageTitle(const QString& file) {
    PageText(file);
    const QString title = titles_.value(file);
    return title.isEmpty() ? file : title;
}

} // namespace ry
