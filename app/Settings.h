// What the window remembers between runs: the birth data's zone and choices, the chart's style, the Day
// tab's place, the free area's tab, the window's size and place, and the last folder of each file
// dialog. Kept as an INI file in the user's configuration folder (~/.config/velmorant/velmorant.ini). A
// missing or damaged file, or a value that cannot be read, means the default.
#pragma once

#include "form/Chart.h"
#include "form/DayForm.h"
#include "store/BirthData.h"

#include <QByteArray>
#include <QString>

namespace settings {

// The zone and the three choices (date and time empty); `fallback` for any that is not kept.
store::BirthData birthChoices(const store::BirthData& fallback);
void setBirthChoices(const store::BirthData& choices);

// The chart's style in the Wheel tab: South Indian unless another was chosen.
form::ChartStyle chartStyle();
void setChartStyle(form::ChartStyle style);

// The Day tab's place: its name, coordinates and zone as the fields showed them; empty where none is kept.
form::DayPlace dayPlace();
void setDayPlace(const form::DayPlace& place);

int freeAreaTab();
void setFreeAreaTab(int tab);

QByteArray windowGeometry();
void setWindowGeometry(const QByteArray& geometry);

// The folder a file dialog opens in: the last one used with it, or the documents folder.
enum class Dialog { ChartPdf, ChartImage, ExportCharts, ImportCharts };
QString folder(Dialog dialog);
// Remembers the folder of a file chosen in the dialog.
void rememberFile(Dialog dialog, const QString& file);

} // namespace settings
