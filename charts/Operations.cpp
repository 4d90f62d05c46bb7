#include "charts/Operations.h"

#include "charts/BlockBuffer.h"
#include "charts/Json.h"
#include "store/Error.h"
#include "store/WholeFile.h"

#include <cerrno>
#include <istream>
#include <ostream>

namespace charts {

namespace {

// A stored chart as a new one for another store, every value as it is stored.
store::NewChart carried(const store::StoredChart& chart) {
    store::NewChart copy{chart.name, {}, chart.birth};
    for (std::size_t at = 0; at < chart.positions.size(); ++at) {
        const store::Field field(store::kChartColumns[at + 1], chart.positions[at]);
        store::StoredBody& body = copy.bodies[at / 3];
        try {
            if (at % 3 == 0)
                body.sign = field.toInt16();
            else
                (at % 3 == 1 ? body.degrees : body.minutes) = field.toText();
        } catch (const store::Error& e) {
            const std::string where = " in " + std::string(field.name());
            throw CopyRefused("the chart \"" + chart.name + "\" holds " +
                              (e.code() == store::Errc::NullValue ? "no value" + where
                                                                  : "\"" + field.toText() + "\"" + where +
                                                                        ", where a sign's number belongs"));
        }
    }
    return copy;
}

std::optional<std::int64_t> keyOf(const store::ChartStore& chartStore, const Chosen& chart) {
    return chart.key ? chart.key : chartStore.findChart(chart.name);
}

} // namespace

Brought importCharts(store::ChartStore& chartStore, std::istream& in, Format format, bool replace,
                     const EphemerisSource& ephemeris) {
    ChartReader reader(in, format, ephemeris);
    const std::unique_ptr<store::ChartImport> import = chartStore.beginImport(replace);
    while (const std::optional<store::NewChart> chart = reader.next())
        import->add(*chart);
    if (in.bad())
        throw InputFailed(std::error_code(errno ? errno : EIO, std::generic_category()));
    return import->commit();
}

std::size_t writeCharts(const store::ChartStore& chartStore, std::ostream& target, Format format) {
    BlockBuffer buffer(target);
    std::ostream out(&buffer);
    ChartWriter writer(out, format);
    std::size_t count = 0;
    chartStore.forEachChart([&](const store::StoredChart& chart) {
        writer.write(chart);
        ++count;
    });
    writer.finish();
    return count;
}

std::size_t exportCharts(const store::ChartStore& chartStore, const std::filesystem::path& path,
                         Format format) {
    std::size_t count = 0;
    store::writeWhole(path, [&](std::ostream& out) { count = writeCharts(chartStore, out, format); });
    return count;
}

bool sameStore(const store::ChartStore& a, const store::ChartStore& b) {
    if (a.isServer() || b.isServer())
        return a.isServer() == b.isServer() && a.identity() == b.identity();
    std::error_code error;
    return std::filesystem::equivalent(a.where(), b.where(), error);
}

Brought copyCharts(const store::ChartStore& from, store::ChartStore& to, bool replace) {
    if (sameStore(from, to))
        throw CopyRefused("a store cannot be copied onto itself: " + from.where());
    const std::unique_ptr<store::ChartImport> import = to.beginImport(replace);
    from.forEachChart([&](const store::StoredChart& chart) {
        // A file keeps a name's bytes whatever they are; a server keeps UTF-8 text only.
        if (to.isServer() && !isUtf8(chart.name))
            throw CopyRefused(
                "the chart \"" + exchangedText(chart.name) +
                "\" has a name that is not UTF-8 text, which a server cannot keep; rename it first");
        import->add(carried(chart));
    });
    return import->commit();
}

std::optional<store::Change> renameChart(store::ChartStore& chartStore, Chosen chart,
                                         std::string_view newName) {
    if (newName.empty())
        throw std::invalid_argument("a chart's new name may not be empty");
    const std::optional<std::int64_t> key = keyOf(chartStore, chart);
    if (!key)
        return std::nullopt;
    return chartStore.renameChart(*key, chart.name, newName);
}

std::optional<store::Change> deleteChart(store::ChartStore& chartStore, Chosen chart) {
    const std::optional<std::int64_t> key = keyOf(chartStore, chart);
    if (!key)
        return std::nullopt;
    return chartStore.deleteChart(*key, chart.name);
}

} // namespace charts
