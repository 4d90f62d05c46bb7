// The birth data group: date, time, the birth place with its latitude and longitude, time zone and the
// three choices, "Fill positions", and the table of the bodies with their karakas.
//
// The place completes city names from the gazetteer, which a worker thread reads once the panel is
// first shown or typed in, so that neither the window's start nor its typing waits for it.
#pragma once

#include "form/Controls.h"
#include "sky/Places.h"

#include <QFutureWatcher>
#include <QWidget>

class PlaceModel;
class QComboBox;
class QCompleter;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The city names a place field completes from the gazetteer: the cities are read by a worker thread the
// first time the field is shown or typed in, so that neither the window's start nor its typing waits
// for them; the most populous that begin with what is typed are offered, and picking one emits
// picked(). The birth place and the Day tab's place complete alike through it.
class PlaceCompletion final : public QObject {
    Q_OBJECT
public:
    PlaceCompletion(QLineEdit* field, QObject* parent);

    // Starts reading the cities, once; the field also starts it at its first keystroke.
    void startReading();
    // Whether the cities have been read, so that the field completes.
    bool ready() const { return m_ready; }
    QCompleter* completer() const { return m_completer; }

signals:
    void picked(const sky::City& city);

private:
    void showCompletions();

    QLineEdit* m_field;
    PlaceModel* m_places;
    QCompleter* m_completer;
    QFutureWatcher<void>* m_read = nullptr; // from the first showing or keystroke on
    bool m_ready = false;
};

// Makes `box` the time zone's field: editable, with every zone of the database to pick or complete.
void offerZones(QComboBox* box);

class BirthPanel final : public QWidget, public form::BirthPanel {
    Q_OBJECT
public:
    explicit BirthPanel(QWidget* parent);

    QPushButton* fillButton() const { return m_fill; }
    // What clear() goes back to: the zone and the three choices of `choices` (its date and time unused).
    // A zone that cannot be read means the system's own.
    void setDefaults(const store::BirthData& choices);
    const store::BirthData& defaults() const { return m_defaults; }
    // Its controls in the order the Tab key takes them.
    QList<QWidget*> tabOrder() const;

    store::BirthData birthData() const override;
    void setBirthData(const store::BirthData& birth) override;
    void clear() override;
    void showPlanets(const std::vector<form::PlanetRow>& rows,
                     const std::vector<std::string>& notes) override;
    void focusField(form::BirthField field) override;
    void showRowsSource(std::string_view note) override;

    // What the user can choose, as it is remembered.
    enum class Choice { Zone, Ayanamsa, Karakas, Node };

    // Whether the gazetteer has been read, so that the place field completes.
    bool placesReady() const;

signals:
    // The user changed the zone or one of the three choices; a zone that came with a picked city is
    // none.
    void choiceChanged(BirthPanel::Choice choice);
    // The user changed any field.
    void edited();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void pickPlace(const sky::City& city);

    QLineEdit* m_date;
    QLineEdit* m_time;
    QLineEdit* m_place;
    QLineEdit* m_latitude;
    QLineEdit* m_longitude;
    PlaceCompletion* m_placeCompletion;
    // The city picked from the list whose coordinates the fields show; empty once they are typed,
    // recalled or cleared.
    QString m_cityShown;
    QComboBox* m_zone;
    QComboBox* m_ayanamsa;
    QComboBox* m_karakas;
    QComboBox* m_node;
    QPushButton* m_fill;
    QTableWidget* m_planets;
    QLabel* m_notes;
    QLabel* m_rowsSource;
    store::BirthData m_defaults;
    bool m_zoneTyped = false; // the zone was typed in since it was last taken as a choice
};
