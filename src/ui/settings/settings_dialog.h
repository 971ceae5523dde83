#pragma once

// The frame shared by the settings dialogs: pages under a tab strip, and the buttons OK,
// Cancel, Apply and Help. An edit enables Apply; Apply stores and disables itself; OK stores
// and closes; Cancel closes without storing. The dialogs are modal and centre themselves on
// the screen when shown; they are run through the designer's Prompter.

#include <QDialog>

class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace ry {

class Designer;

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    QTabWidget& Tabs() { return *tabs_; }
    QPushButton& ApplyButton() { return *apply_; }
    bool IsApplyEnabled() const;

protected:
    // `name` is the dialog's objectName, `caption` its window title.
    SettingsDialog(Designer& designer, const QString& name, const QString& caption,
                   QWidget* parent);

    Designer& designer() { return designer_; }
    // A new page "picOptions(n)" under a tab of the strip "tbsOptions", with an empty
    // vertical layout.
    QVBoxLayout* AddPage(const QString& caption);
    // A widget between the pages and the buttons.
    void AddBelowPages(QWidget* widget);
    // Writes the dialog's fields; Apply has already been checked by the caller.
    virtual void Store() = 0;
    // OK: by default Store, then close.
    virtual void Ok();
    virtual void Help() {}

    void EnableApply();
    void showEvent(QShowEvent* event) override;

private:
    void ApplyClicked();

    Designer& designer_;
    QVBoxLayout* layout_;
    QTabWidget* tabs_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* apply_;
    QPushButton* help_;
};

} // namespace ry
