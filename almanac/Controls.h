// The controls of the main window as the handlers see them. The Qt window implements these; tests use
// plain in-memory stand-ins, so every handler can be exercised without a display.
//
// Texts cross this boundary as UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace almanac {

// A single-selection list of text entries.
class ListBox {
public:
    virtual ~ListBox() = default;

    // 0-based position of the selected entry, -1 when none is selected.
    virtual int listIndex() const = 0;
    // Selects entry `index`, or clears the selection for -1. A change of selection made here raises
    // the list's selection event exactly as a user's choice would.
    virtual void setListIndex(int index) = 0;
    // Text of the selected entry; empty when none is selected.
    virtual std::string text() const = 0;
    // Selects the first entry whose text is exactly `text`; with no such entry, nothing is selected.
    virtual void setText(std::string_view text) = 0;
    virtual int listCount() const = 0;
    virtual void addItem(std::string_view text) = 0;
    virtual void clear() = 0;
    virtual bool isVisible() const = 0;
    virtual void setVisible(bool visible) = 0;
};

class Label {
public:
    virtual ~Label() = default;

    virtual std::string caption() const = 0;
    virtual void setCaption(std::string_view caption) = 0;
    virtual bool isVisible() const = 0;
    virtual void setVisible(bool visible) = 0;
};

class TextBox {
public:
    virtual ~TextBox() = default;

    virtual std::string text() const = 0;
    virtual void setText(std::string_view text) = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual void setFocus() = 0;
};

// Body rows: 0 Sun, 1 Moon, 2 AK, 3 AmK. Result index: 0 external pair, 1 internal pair.
inline constexpr int kBodyRows = 4;

class Form {
public:
    virtual ~Form() = default;

    virtual TextBox& txtname() = 0;
    virtual ListBox& lstname() = 0;
    virtual ListBox& lstsign(int row) = 0;
    virtual ListBox& lstdeg(int row) = 0;
    virtual ListBox& lstmin(int row) = 0;
    virtual Label& lblplanet(int index) = 0; // 0..3 body rows, 4 the name box's caption
    virtual Label& lbl(int index) = 0;       // 0..7 captions of the result lines
    virtual Label& lbltithi(int index) = 0;
    virtual Label& lblnak(int index) = 0;
    virtual Label& lblyoga(int index) = 0;
    virtual Label& lblkarana(int index) = 0;
    virtual Label& lblnm(int index) = 0; // only index 4 exists

    // A modal message with `text` as its only content and a single OK button; returns once it is closed.
    virtual void showMessage(std::string_view text) = 0;
};

} // namespace almanac
