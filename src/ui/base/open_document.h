#pragma once

// An open document as the ground floor reaches it. The canvas's document window implements
// it and takes a slot of the Designer's document list with it, so base/ never depends on the
// canvas: it asks a document only what is here, and hands on its window to the floors above.

#include <cstdint>

class QWidget;

namespace ry {

class DocumentWindow;

class OpenDocument {
public:
    // The script the document shows.
    virtual std::int16_t Script() const = 0;
    // Its slot in the Designer's document list.
    virtual int DocumentIndex() const = 0;
    // The widget it is shown in: the owner of questions about it.
    virtual QWidget& Widget() = 0;
    // The document window itself, for the floors that know it.
    virtual DocumentWindow& AsWindow() = 0;

protected:
    ~OpenDocument() = default;
};

} // namespace ry
