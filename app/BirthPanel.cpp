#include "app/BirthPanel.h"

#include "app/CommandButton.h"
#include "sky/Options.h"
#include "sky/Places.h"
#include "sky/Time.h"

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QComboBox>
#include <QCompleter>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPromise>
#include <QStringListModel>
#include <QTableWidget>
#include <QThreadPool>
#include <QVBoxLayout>

#include <memory>
#include <utility>

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A field's visible label is also its accessible name, and the label is set as its buddy, so that a
// screen reader reads the label with the field.
template <typename Field>
Field* labelled(QFormLayout* form, const char* name, Field* field) {
    auto* label = new QLabel(name);
    label->setBuddy(field);
    field->setAccessibleName(name);
    field->setObjectName(name);
    form->addRow(label, field);
    return field;
}

void selectData(QComboBox* box, const QVariant& data) {
    const int at = box->findData(data);
    box->setCurrentIndex(at < 0 ? 0 : at);
}

// How many cities the place field offers at a time.
constexpr std::size_t kPlacesOffered = 12;

// The row a completion stands for in the model of cities, through the completer's own model.
constexpr int kRowRole = Qt::UserRole;

} // namespace

// The cities offered for what is typed in the place field, by their labels.
class PlaceModel final : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void show(std::vector<const sky::City*> cities) {
        beginResetModel();
        m_cities = std::move(cities);
        endResetModel();
    }
    const sky::City* city(int row) const {
        return row >= 0 && row < rowCount() ? m_cities[static_cast<std::size_t>(row)] : nullptr;
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_cities.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const sky::City* at = city(index.row());
        if (!at || index.parent().isValid())
            return {};
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return QString::fromStdString(at->label());
        case Qt::ToolTipRole:
            return QString::fromStdString(sky::latitudeText(at->latitude) + ", " +
                                          sky::longitudeText(at->longitude) + ", " + at->zone);
        case kRowRole:
            return index.row();
        default:
            return {};
        }
    }

private:
    std::vector<const sky::City*> m_cities;
};

PlaceCompletion::PlaceCompletion(QLineEdit* field, QObject* parent)
    : QObject(parent)
    , m_field(field) {
    m_places = new PlaceModel(this);
    m_completer = new QCompleter(m_places, this);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setMaxVisibleItems(static_cast<int>(kPlacesOffered));
    m_completer->setWidget(field);
    m_completer->popup()->setAccessibleName("Cities");
    connect(field, &QLineEdit::textEdited, this, [this] {
        startReading();
        showCompletions();
    });
    connect(m_completer, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) {
                if (const sky::City* city = m_places->city(index.data(kRowRole).toInt()))
                    emit picked(*city);
            });
}

void PlaceCompletion::startReading() {
    if (m_read)
        return;
    m_read = new QFutureWatcher<void>(this);
    // The watcher goes with the field; the worker holds only the promise and the gazetteer, neither of
    // which the field owns, so closing the window while it reads is safe. Qt waits for the worker when
    // the program ends.
    connect(m_read, &QFutureWatcher<void>::finished, this, [this] {
        m_ready = true;
        if (m_field->hasFocus())
            showCompletions();
    });
    auto promise = std::make_shared<QPromise<void>>();
    m_read->setFuture(promise->future());
    QThreadPool::globalInstance()->start([promise] {
        promise->start();
        try {
            sky::Gazetteer::instance();
        } catch (const std::exception&) {
            // The field then offers nothing; a place typed whole is still looked for when it is used.
        }
        promise->finish();
    });
}

void PlaceCompletion::showCompletions() {
    const std::string typed = m_field->text().toStdString();
    std::vector<const sky::City*> offered;
    if (m_ready) {
        try {
            offered = sky::Gazetteer::instance().complete(typed, kPlacesOffered);
        } catch (const std::exception&) {
            offered.clear();
        }
    }
    m_places->show(std::move(offered));
    if (m_places->rowCount() == 0)
        m_completer->popup()->hide();
    else
        m_completer->complete();
}

void offerZones(QComboBox* box) {
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // Some six hundred names: given as one list, and the box sized by a length rather than by measuring
    // each name, which would cost more than the rest of the window.
    QStringList zones;
    for (const std::string& zone : sky::zoneNames())
        zones.append(QString::fromStdString(zone));
    box->setModel(new QStringListModel(zones, box));
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(24);
    box->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    box->completer()->setFilterMode(Qt::MatchContains);
    box->completer()->setCompletionMode(QCompleter::PopupCompletion);
    box->setToolTip("A zone name such as Asia/Kolkata, or an offset from UT such as +05:30");
}

BirthPanel::BirthPanel(QWidget* parent)
    : QWidget(parent) {
    setObjectName("birthPanel");
    auto* form = new QFormLayout;

    m_date = labelled(form, "Birth date", new QLineEdit);
    m_date->setPlaceholderText("YYYY-MM-DD (Gregorian; -0044-03-15 is 45 BCE)");
    m_time = labelled(form, "Birth time", new QLineEdit);
    m_time->setPlaceholderText("HH:MM or HH:MM:SS, local time");

    m_place = labelled(form, "Birth place", new QLineEdit);
    m_place->setPlaceholderText("A city, as Chennai: pick it from the list its first letters open");
    m_place->setAccessibleDescription("Completes city names as you type; picking a city fills in its "
                                      "latitude, longitude and time zone");
    m_placeCompletion = new PlaceCompletion(m_place, this);

    // Latitude and longitude side by side, each labelled by its own caption.
    m_latitude = new QLineEdit;
    m_latitude->setPlaceholderText("13.0827 N or 13°04'58\"N");
    m_longitude = new QLineEdit;
    m_longitude->setPlaceholderText("80.2707 E or 80°16'15\"E");
    auto* latitudeLabel = new QLabel("Latitude");
    auto* longitudeLabel = new QLabel("Longitude");
    auto* coordinates = new QHBoxLayout;
    coordinates->addWidget(m_latitude, 1);
    coordinates->addWidget(longitudeLabel);
    coordinates->addWidget(m_longitude, 1);
    for (auto [label, field] :
         {std::pair{latitudeLabel, m_latitude}, std::pair{longitudeLabel, m_longitude}}) {
        label->setBuddy(field);
        field->setAccessibleName(label->text());
        field->setObjectName(label->text());
        field->setToolTip("Decimal degrees, signed (-33.8688) or with the hemisphere (33.8688 S), or "
                          "degrees, minutes and seconds (33°52'08\"S)");
    }
    form->addRow(latitudeLabel, coordinates);

    m_zone = labelled(form, "Time zone", new QComboBox);
    offerZones(m_zone);

    m_ayanamsa = labelled(form, "Ayanamsa", new QComboBox);
    for (const sky::Ayanamsa ayanamsa : sky::kAyanamsas)
        m_ayanamsa->addItem(fromUtf8(sky::ayanamsaLabel(ayanamsa)), fromUtf8(sky::ayanamsaKey(ayanamsa)));
    m_karakas = labelled(form, "Karaka scheme", new QComboBox);
    m_karakas->addItem("8 karakas (Sun to Saturn and Rahu)", 8);
    m_karakas->addItem("7 karakas (Sun to Saturn)", 7);
    m_node = labelled(form, "Lunar node", new QComboBox);
    m_node->addItem("Mean node", fromUtf8(sky::nodeKey(sky::Node::Mean)));
    m_node->addItem("True node", fromUtf8(sky::nodeKey(sky::Node::True)));

    m_fill = new CommandButton("&Fill positions", this);
    m_fill->setObjectName("cmd_fill");
    m_fill->setAccessibleName("Fill positions");
    m_fill->setToolTip("Fill the Sun, Moon, AK and AmK rows from the birth data");
    form->addRow(m_fill);

    m_planets = new QTableWidget(0, 5);
    m_planets->setObjectName("Planets and karakas");
    m_planets->setAccessibleName("Planets and karakas");
    m_planets->setHorizontalHeaderLabels(
        {"Body", "Sidereal longitude", "Nakshatra", "In sign (ranked)", "Karaka"});
    m_planets->verticalHeader()->hide();
    m_planets->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_planets->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_planets->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_planets->horizontalHeader()->setStretchLastSection(true);
    m_planets->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_planets->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_planets->setTabKeyNavigation(false);

    m_rowsSource = new QLabel;
    m_rowsSource->setObjectName("rowsSource");
    m_rowsSource->setWordWrap(true);
    QFont bold = m_rowsSource->font();
    bold.setBold(true);
    m_rowsSource->setFont(bold);

    m_notes = new QLabel;
    m_notes->setObjectName("planetNotes");
    m_notes->setWordWrap(true);
    m_notes->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(form);
    auto* planetsCaption = new QLabel("Planets and karakas");
    planetsCaption->setBuddy(m_planets);
    layout->addWidget(planetsCaption);
    layout->addWidget(m_planets);
    layout->addWidget(m_rowsSource);
    layout->addWidget(m_notes);
    layout->addStretch();

    const std::pair<QComboBox*, Choice> choices[] = {{m_zone, Choice::Zone},
                                                     {m_ayanamsa, Choice::Ayanamsa},
                                                     {m_karakas, Choice::Karakas},
                                                     {m_node, Choice::Node}};
    for (const auto& [box, choice] : choices) {
        connect(box, &QComboBox::activated, this, [this, which = choice] {
            m_zoneTyped = false;
            emit choiceChanged(which);
            emit edited();
        });
    }
    // A zone typed in is a choice once the typing is done; a zone the program set, and passed by Tab,
    // is none.
    connect(m_zone->lineEdit(), &QLineEdit::textEdited, this, [this] {
        m_zoneTyped = true;
        emit edited();
    });
    connect(m_zone->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (std::exchange(m_zoneTyped, false))
            emit choiceChanged(Choice::Zone);
    });
    for (QLineEdit* field : {m_date, m_time, m_latitude, m_longitude})
        connect(field, &QLineEdit::textEdited, this, &BirthPanel::edited);
    // A place typed by hand keeps coordinates typed or recalled: they may be the ones the person means.
    // Those of a city picked from the list go once its name is typed over, so that they never stand
    // under another name; Fill positions then looks the new name up.
    connect(m_place, &QLineEdit::textEdited, this, [this] {
        if (!m_cityShown.isEmpty() && m_place->text().trimmed() != m_cityShown) {
            m_latitude->clear();
            m_longitude->clear();
            m_cityShown.clear();
        }
        emit edited();
    });
    for (QLineEdit* field : {m_latitude, m_longitude})
        connect(field, &QLineEdit::textEdited, this, [this] { m_cityShown.clear(); });
    connect(m_placeCompletion, &PlaceCompletion::picked, this, &BirthPanel::pickPlace);
    m_defaults = {"", "", sky::systemZoneName(), "", 8, "", "", "", ""};
    clear();
}

void BirthPanel::setDefaults(const store::BirthData& choices) {
    m_defaults = choices;
    try {
        sky::Zone::parse(m_defaults.zone);
    } catch (const sky::InputError&) {
        m_defaults.zone = sky::systemZoneName();
    }
}

void BirthPanel::showRowsSource(std::string_view note) {
    m_rowsSource->setText(fromUtf8(note));
    m_rowsSource->setVisible(!note.empty());
}

QList<QWidget*> BirthPanel::tabOrder() const {
    return {m_date,     m_time,    m_place, m_latitude, m_longitude, m_zone,
            m_ayanamsa, m_karakas, m_node,  m_fill,     m_planets};
}

void BirthPanel::focusField(form::BirthField field) {
    // In the order of form::BirthField.
    QWidget* const fields[] = {m_date, m_time, m_zone, m_place, m_latitude, m_longitude};
    fields[static_cast<int>(field)]->setFocus(Qt::OtherFocusReason);
}

void BirthPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_placeCompletion->startReading();
}

bool BirthPanel::placesReady() const {
    return m_placeCompletion->ready();
}

void BirthPanel::pickPlace(const sky::City& city) {
    m_cityShown = QString::fromStdString(city.label());
    m_place->setText(m_cityShown);
    m_latitude->setText(QString::fromStdString(sky::latitudeText(city.latitude)));
    m_longitude->setText(QString::fromStdString(sky::longitudeText(city.longitude)));
    // The city's zone is this chart's; the zone remembered for the next one stays as it was.
    m_zone->setCurrentText(QString::fromStdString(city.zone));
    m_zoneTyped = false;
    emit edited();
}

store::BirthData BirthPanel::birthData() const {
    return {m_date->text().trimmed().toStdString(),
            m_time->text().trimmed().toStdString(),
            m_zone->currentText().trimmed().toStdString(),
            m_ayanamsa->currentData().toString().toStdString(),
            m_karakas->currentData().toInt(),
            m_node->currentData().toString().toStdString(),
            m_place->text().trimmed().toStdString(),
            m_latitude->text().trimmed().toStdString(),
            m_longitude->text().trimmed().toStdString()};
}

void BirthPanel::setBirthData(const store::BirthData& birth) {
    m_cityShown.clear();
    m_date->setText(QString::fromStdString(birth.date));
    m_time->setText(QString::fromStdString(birth.time));
    m_place->setText(QString::fromStdString(birth.place));
    m_latitude->setText(QString::fromStdString(birth.latitude));
    m_longitude->setText(QString::fromStdString(birth.longitude));
    m_zone->setCurrentText(QString::fromStdString(birth.zone));
    selectData(m_ayanamsa, QString::fromStdString(birth.ayanamsa));
    selectData(m_karakas, birth.karakas);
    selectData(m_node, QString::fromStdString(birth.node));
}

void BirthPanel::clear() {
    m_cityShown.clear();
    for (QLineEdit* field : {m_date, m_time, m_place, m_latitude, m_longitude})
        field->clear();
    m_zone->setCurrentText(QString::fromStdString(m_defaults.zone));
    selectData(m_ayanamsa, QString::fromStdString(m_defaults.ayanamsa));
    selectData(m_karakas, m_defaults.karakas);
    selectData(m_node, QString::fromStdString(m_defaults.node));
    showPlanets({}, {});
    showRowsSource({});
}

void BirthPanel::showPlanets(const std::vector<form::PlanetRow>& rows,
                             const std::vector<std::string>& notes) {
    m_planets->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const form::PlanetRow& row = rows[static_cast<std::size_t>(r)];
        // The two bodies that fill the AK and AmK rows stand out in bold; the notes say which they are.
        const QString karaka = QString::fromStdString(row.karaka) + (row.tied ? " (tied)" : "");
        // The abbreviation on screen; its full name for a screen reader and as a tooltip.
        const QString karakaName = QString::fromStdString(row.karakaName) + (row.tied ? " (tied)" : "");
        const QString cells[] = {QString::fromStdString(row.body), QString::fromStdString(row.longitude),
                                 QString::fromStdString(row.nakshatra), QString::fromStdString(row.inSign),
                                 karaka};
        constexpr int kKaraka = static_cast<int>(std::size(cells)) - 1;
        for (int column = 0; column <= kKaraka; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            QFont font = item->font();
            font.setBold(row.chosen);
            item->setFont(font);
            if (column == kKaraka && !row.karakaName.empty()) {
                item->setData(Qt::AccessibleTextRole, karakaName);
                item->setToolTip(karakaName);
            }
            m_planets->setItem(r, column, item);
        }
    }
    m_planets->setFixedHeight(m_planets->horizontalHeader()->height() + 2 * m_planets->frameWidth() +
                              m_planets->verticalHeader()->length());
    QStringList lines;
    for (const std::string& note : notes)
        lines.append(QString::fromStdString(note));
    m_notes->setText(lines.join('\n'));
}
