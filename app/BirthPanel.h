// The birth data group: date, time, the birth place with its latitude and longitude, time zone and the
// three choices, "Fill positions", and the table of the bodies with their karakas.
//
// The place completes city names from the gazetteer, which a worker thread reads once the panel is
// first shown or typed in, so that neither the window's start nor its typing waits for it.
#pragma once

#include "form/Controls.h"

#include <QFutureWatcher>
#include <QWidget>

class PlaceModel;
class QComboBox;
class QCompleter;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

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
    bool placesReady() const { return m_placesReady; }

signals:
    // The user changed the zone or one of the three choices; a zone that came with a picked city is
    // none.
    void choiceChanged(BirthPanel::Choice choice);
    // The user changed any field.
    void edited();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void startReadingPlaces();
    void showCompletions();
    void pickPlace(int row);

    QLineEdit* m_date;
    QLineEdit* m_time;
    QLineEdit* m_place;
    QLineEdit* m_latitude;
    QLineEdit* m_longitude;
    PlaceModel* m_places;
    QCompleter* m_placeCompleter;
    QFutureWatcher<void>* m_placesRead = nullptr; // from the first showing or keystroke on
    bool m_placesReady = false;
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
