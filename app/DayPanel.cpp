#include "app/DayPanel.h"

#include "app/BirthPanel.h"
#include "app/CommandButton.h"
#include "app/DayPrinter.h"
#include "app/Settings.h"
#include "app/Shell.h"
#include "form/Guard.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QStyle>
#include <QTextLayout>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr int kDateRole = Qt::UserRole;

const QString kGridKeys =
    "Click a day, or press Enter on it, for its panchanga; PageUp and PageDown turn the month.";

// A cell that reads as it shows, whole, to a screen reader and in its tooltip.
QTableWidgetItem* cell(const QString& shown, const QString& spoken) {
    auto* item = new QTableWidgetItem(shown);
    item->setData(Qt::AccessibleTextRole, spoken);
    item->setToolTip(spoken);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

MonthGrid::MonthGrid(QWidget* parent)
    : QTableWidget(0, 7, parent) {
    setObjectName("monthGrid");
    setAccessibleName("Days of the month");
    QStringList weekdays;
    for (const std::string_view name : form::kWeekdayNames)
        weekdays.append(fromUtf8(name));
    setHorizontalHeaderLabels(weekdays);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    horizontalHeader()->setMinimumSectionSize(40);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabKeyNavigation(false);
    setWordWrap(true);
    // A word wider than its column breaks rather than being cut short.
    setTextElideMode(Qt::ElideNone);
    // The window's own narrow face, in which the longest tithi's words fit a column at 1280 pixels wide.
    QFont narrow = font();
    narrow.setFamilies({"Liberation Sans", "Arial"});
    narrow.setPixelSize(12);
    setFont(narrow);
    setToolTip(kGridKeys);
    connect(this, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (const QTableWidgetItem* day = item(row, column); day && day->data(kDateRole).isValid())
            emit chosen(day->data(kDateRole).toString());
    });
    // Enter on a day.
    connect(this, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (index.data(kDateRole).isValid())
            emit chosen(index.data(kDateRole).toString());
    });
}

void MonthGrid::showMonth(const form::MonthSheet& month, const std::string& date) {
    clearContents();
    const int leading = month.days.empty() ? 0 : month.days.front().weekday;
    setRowCount((leading + static_cast<int>(month.days.size()) + 6) / 7);
    // The cells outside the month are there, empty, and neither chosen nor stopped at.
    for (int row = 0; row < rowCount(); ++row)
        for (int column = 0; column < columnCount(); ++column) {
            auto* none = new QTableWidgetItem;
            none->setFlags(Qt::NoItemFlags);
            setItem(row, column, none);
        }
    for (const form::MonthDay& day : month.days) {
        const int at = leading + day.day - 1;
        QStringList lines;
        for (const std::string& line : form::cellLines(day))
            lines.append(QString::fromStdString(line));
        QTableWidgetItem* item = cell(lines.join('\n'), fromUtf8(day.spoken));
        item->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
        item->setData(kDateRole, fromUtf8(day.date));
        if (const QColor background = dayTint(day); background.isValid())
            item->setBackground(background);
        setItem(at / 7, at % 7, item);
        if (day.date == date)
            setCurrentCell(at / 7, at % 7);
    }
    fitRows();
}

void MonthGrid::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier &&
        (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown)) {
        emit turned(event->key() == Qt::Key_PageUp ? -1 : 1);
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void MonthGrid::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    fitRows();
}

namespace {

// The lines `text` takes at `width`, wrapped as the cells wrap it: at words, or within one too long.
int lineCount(const QString& text, const QFont& font, qreal width) {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    int lines = 0;
    for (const QString& paragraph : text.split('\n')) {
        QTextLayout layout(paragraph, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            ++lines;
        }
        layout.endLayout();
    }
    return lines;
}

} // namespace

void MonthGrid::fitRows() {
    // The text's room in a cell: the column less the focus frame's margins either side.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int width = std::max(horizontalHeader()->sectionSize(0), horizontalHeader()->minimumSectionSize());
    // Each week as tall as its fullest day, and the room left shared among them.
    std::vector<int> needed(static_cast<std::size_t>(rowCount()), 0);
    int total = 0;
    for (int row = 0; row < rowCount(); ++row) {
        int lines = 2;
        for (int column = 0; column < columnCount(); ++column)
            if (const QTableWidgetItem* day = item(row, column); day && !day->text().isEmpty())
                lines = std::max(lines, lineCount(day->text(), font(), width - 2 * margin));
        needed[static_cast<std::size_t>(row)] = lines * fontMetrics().lineSpacing() + 2 * margin;
        total += needed[static_cast<std::size_t>(row)];
    }
    const int spare = rowCount() > 0 ? std::max(0, viewport()->height() - total) / rowCount() : 0;
    for (int row = 0; row < rowCount(); ++row)
        setRowHeight(row, needed[static_cast<std::size_t>(row)] + spare);
    const int least = horizontalHeader()->height() + 2 * frameWidth() + total;
    if (minimumHeight() != least)
        setMinimumHeight(least);
}

DayPanel::DayPanel(form::Window& window, form::DayForm::EphemerisSource ephemeris, QWidget* parent)
    : QWidget(parent)
    , m_window(window)
    , m_logic(*this, std::move(ephemeris)) {
    setObjectName("dayPanel");
    auto* form = new QFormLayout;
    // Each field is read by its caption, which is also its accessible name; object names of their own,
    // apart from the Birth data tab's.
    const auto labelled = [form](const QString& caption, const char* name, QWidget* field) {
        auto* label = new QLabel(caption);
        label->setBuddy(field);
        field->setAccessibleName(QString(caption).remove('&'));
        field->setObjectName(name);
        return label;
    };

    m_place = new QLineEdit;
    form->addRow(labelled("P&lace", "dayPlace", m_place), m_place);
    m_place->setPlaceholderText("A city, as Ujjain: pick it from the list its first letters open");
    m_place->setAccessibleDescription("Completes city names as you type; picking a city fills in its "
                                      "latitude, longitude and time zone and shows its day");
    m_completion = new PlaceCompletion(m_place, this);

    m_latitude = new QLineEdit;
    m_longitude = new QLineEdit;
    m_latitude->setPlaceholderText("23.1824 N");
    m_longitude->setPlaceholderText("75.7764 E");
    QLabel* latitudeLabel = labelled("Latitude", "dayLatitude", m_latitude);
    QLabel* longitudeLabel = labelled("Longitude", "dayLongitude", m_longitude);
    for (QLineEdit* field : {m_latitude, m_longitude})
        field->setToolTip("Decimal degrees, signed (-33.8688) or with the hemisphere (33.8688 S), or "
                          "degrees, minutes and seconds (33°52'08\"S)");
    auto* coordinates = new QHBoxLayout;
    coordinates->addWidget(m_latitude, 1);
    coordinates->addWidget(longitudeLabel);
    coordinates->addWidget(m_longitude, 1);
    form->addRow(latitudeLabel, coordinates);

    m_zone = new QComboBox;
    offerZones(m_zone);
    m_zone->setCurrentText(QString::fromStdString(sky::systemZoneName())); // until a place gives its own
    form->addRow(labelled("Time &zone", "dayZone", m_zone), m_zone);

    m_date = new QLineEdit;
    m_date->setPlaceholderText("YYYY-MM-DD; empty for today");
    m_date->setToolTip("The civil date, proleptic Gregorian; empty for today at the place");
    m_previous = new CommandButton("Previous day", nullptr);
    m_previous->setObjectName("previousDay");
    m_next = new CommandButton("Next day", nullptr);
    m_next->setObjectName("nextDay");
    m_show = new CommandButton("S&how", nullptr);
    m_show->setObjectName("showDay");
    m_show->setToolTip("Show the day (or the month) of the date at the place (Enter in a field)");
    m_monthView = new CommandButton("Mo&nth", nullptr);
    m_monthView->setObjectName("monthView");
    m_monthView->setAccessibleName("Month view");
    m_monthView->setCheckable(true);
    m_monthView->setToolTip("The whole month as a grid of its days, instead of the day's table");
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(m_date, 1);
    for (QPushButton* button : {m_previous, m_next, m_show, m_monthView})
        dateRow->addWidget(button);
    form->addRow(labelled("Da&te", "dayDate", m_date), dateRow);
    setMonthView(false); // the buttons' captions

    m_note = new QLabel;
    m_note->setObjectName("dayNote");
    m_note->setWordWrap(true);
    m_note->setTextFormat(Qt::PlainText);
    m_heading = new QLabel;
    m_heading->setObjectName("dayHeading");
    m_heading->setWordWrap(true);
    m_heading->setTextFormat(Qt::PlainText);
    m_heading->hide();

    m_table = new QTableWidget(0, 3);
    m_table->setObjectName("dayTable");
    m_table->setAccessibleName("Panchanga of the day");
    m_table->setHorizontalHeaderLabels({"What", "Name or time", "Ends"});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setTabKeyNavigation(false);
    m_table->setWordWrap(true);
    m_table->hide();
    m_grid = new MonthGrid(nullptr);
    m_grid->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(form);
    layout->addWidget(m_note);
    layout->addWidget(m_heading);
    layout->addWidget(m_table);
    layout->addWidget(m_grid, 1);
    layout->addStretch(0);

    connect(m_completion, &PlaceCompletion::picked, this, [this](const sky::City& city) {
        const form::DayPlace picked{city.label(), sky::latitudeText(city.latitude),
                                    sky::longitudeText(city.longitude), city.zone};
        run([&] { m_logic.pickPlace(picked); });
    });
    connect(m_place, &QLineEdit::textEdited, this, [this] { m_logic.placeTyped(); });
    for (QLineEdit* field : {m_latitude, m_longitude})
        connect(field, &QLineEdit::textEdited, this, [this] { m_logic.coordinatesTyped(); });
    // Enter in a field shows its day, but not while it picks a city from the list.
    for (QLineEdit* field : {m_place, m_latitude, m_longitude, m_date, m_zone->lineEdit()})
        connect(field, &QLineEdit::returnPressed, this, [this] {
            if (!m_completion->completer()->popup()->isVisible())
                run([this] { m_logic.show(); });
        });
    connect(m_show, &QPushButton::clicked, this, [this] { run([this] { m_logic.show(); }); });
    connect(m_previous, &QPushButton::clicked, this, [this] { run([this] { m_logic.turn(-1); }); });
    connect(m_next, &QPushButton::clicked, this, [this] { run([this] { m_logic.turn(1); }); });
    connect(m_monthView, &QPushButton::clicked, this,
            [this](bool month) { run([this, month] { m_logic.setMonthView(month); }); });
    connect(m_grid, &MonthGrid::chosen, this, [this](const QString& date) {
        run([&] { m_logic.openDay(date.toStdString()); });
        m_table->setFocus(Qt::OtherFocusReason);
    });
    // The date follows the day the grid's cursor is on, so that the month turns from it.
    connect(m_grid, &QTableWidget::currentItemChanged, this, [this](QTableWidgetItem* now) {
        if (now && now->data(kDateRole).isValid())
            m_date->setText(now->data(kDateRole).toString());
    });
    connect(m_grid, &MonthGrid::turned, this,
            [this](int step) { run([this, step] { m_logic.turn(step); }); });
    // The days either side from anywhere in the window while the tab shows.
    const QList<QKeySequence> turns = keys(); // the one before, the one after
    for (const int step : {-1, 1})
        connect(new QShortcut(turns[step < 0 ? 0 : 1], this), &QShortcut::activated, this,
                [this, step] { run([this, step] { m_logic.turn(step); }); });
}

template <typename Handler>
void DayPanel::run(Handler&& handler) {
    form::guarded(app::shell(), std::forward<Handler>(handler));
}

QList<QWidget*> DayPanel::tabOrder() const {
    return {m_place, m_latitude, m_longitude, m_zone,  m_date, m_previous,
            m_next,  m_show,     m_monthView, m_table, m_grid};
}

QList<QKeySequence> DayPanel::keys() {
    return {QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence(Qt::ALT | Qt::Key_Right)};
}

bool DayPanel::monthShowing() const {
    return monthView();
}

const form::DaySheet* DayPanel::dayToPrint() {
    return m_logic.dayToPrint();
}

const form::MonthSheet* DayPanel::monthToPrint() {
    return m_logic.monthToPrint();
}

void DayPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (std::exchange(m_loaded, true))
        return;
    m_completion->startReading();
    run([this] {
        m_logic.load();
        m_logic.show();
    });
}

void DayPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitTable();
}

form::DayPlace DayPanel::place() const {
    return {m_place->text().trimmed().toStdString(), m_latitude->text().trimmed().toStdString(),
            m_longitude->text().trimmed().toStdString(), m_zone->currentText().trimmed().toStdString()};
}

void DayPanel::setPlace(const form::DayPlace& place) {
    m_place->setText(QString::fromStdString(place.name));
    m_latitude->setText(QString::fromStdString(place.latitude));
    m_longitude->setText(QString::fromStdString(place.longitude));
    m_zone->setCurrentText(QString::fromStdString(place.zone));
}

std::string DayPanel::dateText() const {
    return m_date->text().toStdString();
}

void DayPanel::setDateText(std::string_view date) {
    m_date->setText(fromUtf8(date));
}

bool DayPanel::monthView() const {
    return m_monthView->isChecked();
}

void DayPanel::setMonthView(bool month) {
    m_monthView->setChecked(month);
    // The buttons either side turn by the unit shown.
    m_previous->setText(month ? "Previous month" : "Previous day");
    m_next->setText(month ? "Next month" : "Next day");
    m_previous->setToolTip(m_previous->text() + " (Alt+Left)");
    m_next->setToolTip(m_next->text() + " (Alt+Right)");
}

void DayPanel::showDay(const form::DaySheet& day) {
    m_table->setRowCount(static_cast<int>(day.rows.size()));
    for (int r = 0; r < m_table->rowCount(); ++r) {
        const form::DayRow& row = day.rows[static_cast<std::size_t>(r)];
        int column = 0;
        for (const std::string& text : {row.what, row.name, row.ends}) {
            const QString shown = QString::fromStdString(text);
            m_table->setItem(r, column++, cell(shown, shown));
        }
    }
    m_heading->setText(QString::fromStdString(day.heading + " at " + day.place + ". " + day.zone + "."));
    m_heading->setBuddy(m_table);
    m_table->setAccessibleDescription(m_heading->text());
    m_note->hide();
    m_grid->hide();
    m_heading->show();
    m_table->show();
    fitTable();
}

void DayPanel::showMonth(const form::MonthSheet& month) {
    m_grid->showMonth(month, dateText());
    m_heading->setText(
        QString::fromStdString(month.heading + " at " + month.place + ". " + month.zone + "."));
    m_heading->setBuddy(m_grid);
    // What the cells say is in the grid's tooltip, and read with it.
    m_grid->setAccessibleDescription(m_heading->text() + " " + QString::fromStdString(month.legend));
    m_grid->setToolTip(QString::fromStdString(month.legend) + " " + kGridKeys);
    m_note->hide();
    m_table->hide();
    m_heading->show();
    m_grid->show();
}

void DayPanel::showNote(std::string_view note) {
    m_note->setText(fromUtf8(note));
    m_heading->hide();
    m_table->hide();
    m_grid->hide();
    m_note->show();
}

void DayPanel::fitTable() {
    if (m_table->isHidden())
        return;
    m_table->resizeRowsToContents();
    m_table->setFixedHeight(m_table->horizontalHeader()->height() + 2 * m_table->frameWidth() +
                            m_table->verticalHeader()->length());
}

void DayPanel::focusField(form::DayField field) {
    // In the order of form::DayField.
    QWidget* const fields[] = {m_place, m_latitude, m_longitude, m_zone, m_date};
    fields[static_cast<int>(field)]->setFocus(Qt::OtherFocusReason);
}

void DayPanel::showMessage(std::string_view text) {
    m_window.showMessage(text);
}

void DayPanel::reckonLater() {
    QTimer::singleShot(0, this, [this] { run([this] { m_logic.reckonMore(); }); });
}

form::DayPlace DayPanel::rememberedPlace() const {
    return settings::dayPlace();
}

void DayPanel::rememberPlace(const form::DayPlace& place) {
    // Written once for each place, not at every day turned.
    if (std::exchange(m_kept, place) != place)
        settings::setDayPlace(place);
}
