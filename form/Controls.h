// The controls of the main window as its logic sees them. The Qt window implements these; tests use
// plain in-memory stand-ins, so every handler runs without a display.
//
// Texts cross this boundary as UTF-8.
#pragma once

#include "store/BirthData.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {
class ChartIndex;
}

namespace form {

// Body rows, in the order of the window and of the stored columns.
inline constexpr int kSun = 0;
inline constexpr int kMoon = 1;
inline constexpr int kAk = 2;
inline constexpr int kAmk = 3;
inline constexpr int kBodyRows = 4;

// Result index of the result labels: the outer pair (Sun, Moon) and the inner pair (AK, AmK).
inline constexpr int kExternal = 0;
inline constexpr int kInternal = 1;

// The caption of the inner pair's nakshatra line, hidden with its value for the whole run.
inline constexpr int kInternalNakshatraCaption = 7;
// The caption of the name box among the body captions, and the prompt beside the stored names.
inline constexpr int kNameCaption = 4;
inline constexpr int kStoredNamesPrompt = 4;

// A single-selection list of text entries. Setting the selection from here raises no event: where
// the window's rules say a change made by the program runs a handler, the logic runs it itself.
class Selector {
public:
    virtual ~Selector() = default;

    // 0-based position of the selected entry, -1 when none is selected.
    virtual int listIndex() const = 0;
    // Selects entry `index`; -1, or a position with no entry, leaves nothing selected.
    virtual void setListIndex(int index) = 0;
    // Text of the selected entry; empty when none is selected.
    virtual std::string text() const = 0;
    // Selects the first entry whose text is exactly `text`; with no such entry, nothing is selected.
    virtual void setText(std::string_view text) = 0;
};

// The list of stored names: its entries are the names of a chart index, in its order.
class NameList : public Selector {
public:
    // Shows these names in place of all entries, with nothing selected.
    virtual void showNames(std::shared_ptr<const store::ChartIndex> names) = 0;
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

// One body in the table of positions reckoned from a birth moment.
struct PlanetRow {
    std::string body;       // "Lagna", "Sun" ... "Rahu", "Ketu"
    std::string longitude;  // sidereal: "Taurus 2°07'24\""
    std::string nakshatra;  // "Rohini, pada 2"
    std::string inSign;     // what the karakas are ranked by: "2°07'24\""; Rahu's counted back from 30°
    std::string karaka;     // "AK", "AmK" ...; empty for none
    std::string karakaName; // "Atmakaraka", "Amatyakaraka" ...; empty for none
    bool chosen = false;    // the body fills the AK or AmK row
    bool tied = false;      // ties another body to the arc-second

    friend bool operator==(const PlanetRow&, const PlanetRow&) = default;
};

enum class BirthField { Date, Time, Zone, Place, Latitude, Longitude };

// The birth data group: the moment, the place and the choices, and the table of the bodies.
class BirthPanel {
public:
    virtual ~BirthPanel() = default;

    // The fields as they stand: texts as typed, the choices by their keys.
    virtual store::BirthData birthData() const = 0;
    virtual void setBirthData(const store::BirthData& birth) = 0;
    // Date and time emptied, the zone and the choices back to where they start, the table emptied.
    virtual void clear() = 0;
    // The table of the eight bodies and the lines under it (the moment in UT, the ayanamsa, any tie).
    virtual void showPlanets(const std::vector<PlanetRow>& rows, const std::vector<std::string>& notes) = 0;
    // Gives the keyboard focus to a field, after a message about it.
    virtual void focusField(BirthField field) = 0;
    // Whether the four rows still come from the moment shown, in words; empty when no moment is shown.
    virtual void showRowsSource(std::string_view note) = 0;
};

struct ChartPicture;

class Window {
public:
    virtual ~Window() = default;

    virtual TextBox& txtname() = 0;
    virtual NameList& lstname() = 0;
    virtual Selector& lstsign(int row) = 0;
    virtual Selector& lstdeg(int row) = 0;
    virtual Selector& lstmin(int row) = 0;
    virtual Label& lblplanet(int index) = 0; // body rows, then kNameCaption
    virtual Label& lbl(int index) = 0;       // 0..7, captions of the result lines
    virtual Label& lbltithi(int pair) = 0;
    virtual Label& lblnak(int pair) = 0;
    virtual Label& lblyoga(int pair) = 0;
    virtual Label& lblkarana(int pair) = 0;
    virtual Label& lblnm(int index) = 0; // only kStoredNamesPrompt
    virtual BirthPanel& birthPanel() = 0;
    // The results beside the captions: the chart and the details.
    virtual void showChart(const ChartPicture& picture) = 0;
    virtual void showDetails(const std::vector<std::string>& lines) = 0;
    // Which chart and positions the results were calculated from, and, when the rows and the name no
    // longer show them, a plain warning; both empty before the first Calculate.
    virtual void showResultsSource(std::string_view source, std::string_view staleWarning) = 0;

    // A modal message with `text` as its only content and a single OK button; returns once it is closed.
    virtual void showMessage(std::string_view text) = 0;
    // A modal question with Yes and No; true for Yes.
    virtual bool askYesNo(std::string_view question) = 0;
    // A modal request for a line of text, starting from `initial`; none when it is cancelled.
    virtual std::optional<std::string> askText(std::string_view prompt, std::string_view initial) = 0;
    // Closes the window, which ends the program once the handler returns.
    virtual void unload() = 0;
};

} // namespace form
