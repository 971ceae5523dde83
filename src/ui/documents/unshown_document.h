#pragma once

// A script read from its file into a document window that is never shown, the way File > Open
// reads one: what `rykem --export-picture` draws without a display.

#include <QString>

#include <memory>

namespace ry {

class Designer;
class DocumentWindow;

class UnshownDocument {
public:
    explicit UnshownDocument(Designer& designer);
    // The window goes, and the script's records with it.
    ~UnshownDocument();
    UnshownDocument(const UnshownDocument&) = delete;
    UnshownDocument& operator=(const UnshownDocument&) = delete;

    // Reads the script and gives each of its modules its box, none selected. False, with the
    // reason in `error`, when the script does not load (a protected script's password is asked
    // of the designer's prompter).
    bool Load(const QString& fileName, QString* error);
    // The document's window once loaded; null before.
    DocumentWindow* Window() const { return window_.get(); }

private:
    Designer& designer_;
    std::unique_ptr<DocumentWindow> window_;
};

} // namespace ry
