// The Day tab: a place (completing city names as the birth place does, with its latitude, longitude and
// zone), a date with the days before and after it, and the day's panchanga as a table, or the month as
// a grid of its days. Its logic is form::DayForm; this is the tab's controls.
#pragma once

#include "form/Controls.h"
#include "form/DayForm.h"

#include <QKeySequence>
#include <QTableWidget>
#include <QWidget>

class PlaceCompletion;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The month's days in seven columns under their weekdays, each cell read whole ("Tuesday 8 December:
// Krishna Chaturthi, Ekadashi"); a click or Enter chooses a day, PageUp and PageDown turn the month.
class MonthGrid final : public QTableWidget {
    Q_OBJECT
public:
    explicit MonthGrid(QWidget* parent);

    // The days of `month`, the cell of `date` current.
    void showMonth(const form::MonthSheet& month, const std::string& date);

signals:
    // A day chosen: its date, "2026-12-08".
    void chosen(const QString& date);
    // PageUp (-1) or PageDown (+1).
    void turned(int step);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Rows tall enough for the fullest cell at the columns' width, sharing what room there is.
    void fitRows();
};

class DayPanel final : public QWidget, public form::DayTab {
    Q_OBJECT
public:
    // `window` says the messages; `ephemeris` is the window's own.
    DayPanel(form::Window& window, form::DayForm::EphemerisSource ephemeris, QWidget* parent);

    // Its controls in the order the Tab key takes them.
    QList<QWidget*> tabOrder() const;
    // The keys that work anywhere in the window while the tab shows: Alt+Left and Alt+Right, the day (or
    // month) before and after.
    static QList<QKeySequence> keys();
    // What Print and Export PDF take from the tab: the month while the grid shows, else the day; with
    // neither shown yet, a message says what is missing and there is nothing.
    bool monthShowing() const;
    const form::DaySheet* dayToPrint();
    const form::MonthSheet* monthToPrint();

    // form::DayTab
    form::DayPlace place() const override;
    void setPlace(const form::DayPlace& place) override;
    std::string dateText() const override;
    void setDateText(std::string_view date) override;
    bool monthView() const override;
    void setMonthView(bool month) override;
    void showDay(const form::DaySheet& day) override;
    void showMonth(const form::MonthSheet& month) override;
    void showNote(std::string_view note) override;
    void focusField(form::DayField field) override;
    void showMessage(std::string_view text) override;
    void reckonLater() override;
    form::DayPlace rememberedPlace() const override;
    void rememberPlace(const form::DayPlace& place) override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Runs a handler of the logic as every handler of the window runs.
    template <typename Handler>
    void run(Handler&& handler);
    void fitTable();

    form::Window& m_window;
    form::DayForm m_logic;
    QLineEdit* m_place;
    PlaceCompletion* m_completion;
    QLineEdit* m_latitude;
    QLineEdit* m_longitude;
    QComboBox* m_zone;
    QLineEdit* m_date;
    QPushButton* m_previous;
    QPushButton* m_next;
    QPushButton* m_show;
    QPushButton* m_monthView;
    QLabel* m_note;
    QLabel* m_heading;
    QTableWidget* m_table;
    MonthGrid* m_grid;
    bool m_loaded = false; // the remembered place is read, and the day shown, at the tab's first showing
    form::DayPlace m_kept;
};
