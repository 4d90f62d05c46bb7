#include "app/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace settings {

namespace {

QSettings store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "velmorant", "velmorant");
}

std::string text(const QSettings& kept, const char* key, const std::string& fallback) {
    const QVariant value = kept.value(key);
    return value.canConvert<QString>() && !value.toString().isEmpty() ? value.toString().toStdString()
                                                                      : fallback;
}

const char* folderKey(Dialog dialog) {
    switch (dialog) {
    case Dialog::ChartPdf:
        return "folders/chartPdf";
    case Dialog::ChartImage:
        return "folders/chartImage";
    case Dialog::ExportCharts:
        return "folders/exportCharts";
    case Dialog::ImportCharts:
        break;
    }
    return "folders/importCharts";
}

} // namespace

store::BirthData birthChoices(const store::BirthData& fallback) {
    const QSettings kept = store();
    store::BirthData choices{{},
                             {},
                             text(kept, "birth/zone", fallback.zone),
                             text(kept, "birth/ayanamsa", fallback.ayanamsa),
                             fallback.karakas,
                             text(kept, "birth/node", fallback.node),
                             {},
                             {},
                             {}};
    bool number = false;
    const int karakas = kept.value("birth/karakas").toInt(&number);
    if (number && (karakas == 7 || karakas == 8))
        choices.karakas = karakas;
    return choices;
}

void setBirthChoices(const store::BirthData& choices) {
    QSettings kept = store();
    kept.setValue("birth/zone", QString::fromStdString(choices.zone));
    kept.setValue("birth/ayanamsa", QString::fromStdString(choices.ayanamsa));
    kept.setValue("birth/karakas", choices.karakas);
    kept.setValue("birth/node", QString::fromStdString(choices.node));
}

form::ChartStyle chartStyle() {
    const std::string key = store().value("chart/style").toString().toStdString();
    return form::parseChartStyle(key).value_or(form::ChartStyle::SouthIndian);
}

void setChartStyle(form::ChartStyle style) {
    store().setValue("chart/style",
                     QString::fromUtf8(form::chartStyleKey(style).data(),
                                       static_cast<qsizetype>(form::chartStyleKey(style).size())));
}

form::DayPlace dayPlace() {
    const QSettings kept = store();
    return {text(kept, "day/place", {}), text(kept, "day/latitude", {}), text(kept, "day/longitude", {}),
            text(kept, "day/zone", {})};
}

void setDayPlace(const form::DayPlace& place) {
    QSettings kept = store();
    kept.setValue("day/place", QString::fromStdString(place.name));
    kept.setValue("day/latitude", QString::fromStdString(place.latitude));
    kept.setValue("day/longitude", QString::fromStdString(place.longitude));
    kept.setValue("day/zone", QString::fromStdString(place.zone));
}

int freeAreaTab() {
    bool number = false;
    const int tab = store().value("window/tab").toInt(&number);
    return number ? tab : 0;
}

void setFreeAreaTab(int tab) {
    store().setValue("window/tab", tab);
}

QByteArray windowGeometry() {
    return store().value("window/geometry").toByteArray();
}

void setWindowGeometry(const QByteArray& geometry) {
    store().setValue("window/geometry", geometry);
}

QString folder(Dialog dialog) {
    const QString kept = store().value(folderKey(dialog)).toString();
    if (!kept.isEmpty() && QDir(kept).exists())
        return kept;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void rememberFile(Dialog dialog, const QString& file) {
    store().setValue(folderKey(dialog), QFileInfo(file).absolutePath());
}

} // namespace settings
