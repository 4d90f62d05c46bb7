// The birth data group: date, time, time zone and the three choices, "Fill positions", and the table of
// the eight bodies with their karakas.
#pragma once

#include "form/Controls.h"

#include <QWidget>

class QComboBox;
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

signals:
    // The user changed the zone or one of the three choices.
    void choiceChanged(BirthPanel::Choice choice);
    // The user changed any field.
    void edited();

private:
    QLineEdit* m_date;
    QLineEdit* m_time;
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
