// The day's panchanga, each beside a plain loop of the ephemeris calls it rests on, measured in the same
// run; `ratio` is the figure the goal is set on, at most 1.5 for both:
//   PanchangaDay      sky::panchanga() for one day, 120 days each asked alone; the loop makes, for
//                     each, the calls one day needs: its two sunrises, sunset, moonrise and moonset, each
//                     span's end searched from where the one before ended, and the two new moons
//   CliPanchangaYear  velmorant-cli panchanga --days 365 --json as a process; the loop walks the year
//                     once: a sunrise, sunset, moonrise and moonset a day, each quantity's ends one after
//                     another, a new moon a month
#include "bench/Beside.h"
#include "bench/Programs.h"
#include "sky/Crossings.h"
#include "sky/Horizon.h"
#include "sky/Longitude.h"
#include "sky/Panchanga.h"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <unistd.h>

namespace {

using namespace date::literals;
using namespace std::chrono_literals;

constexpr sky::GeoPoint kUjjain{23.1793, 75.7849};
constexpr auto kIndia = 5h + 30min; // Asia/Kolkata, without a clock change since 1945
constexpr date::sys_days kFirst{2024_y / 1 / 1};
constexpr int kDays = 365;
constexpr sky::Ayanamsa kLahiri = sky::Ayanamsa::Lahiri;
constexpr double kSynodicMonth = 29.530589;

struct Division {
    sky::Quantity quantity;
    double each;
};
constexpr std::array<Division, 4> kDivisions{{{sky::Quantity::Elongation, 12},
                                              {sky::Quantity::MoonLongitude, 40.0 / 3},
                                              {sky::Quantity::Sum, 40.0 / 3},
                                              {sky::Quantity::Elongation, 6}}};

date::sys_seconds midnight(date::sys_days day) {
    return date::sys_seconds{day} - kIndia;
}

date::sys_seconds daysLater(date::sys_seconds from, double days) {
    return from + std::chrono::seconds{std::llround(days * 86400)};
}

// One span's end, and the number of the span.
struct Walk {
    int number = 0;
    date::sys_seconds ends;
};

Walk firstSpan(sky::Ephemeris& ephemeris, const Division& division, date::sys_seconds at) {
    const int number = static_cast<int>(std::floor(
        sky::quantityAt(ephemeris, division.quantity, sky::julianDay(at), kLahiri) / division.each));
    return {number, sky::crossing(ephemeris, division.quantity, (number + 1) * division.each, at, kLahiri)};
}

void walkTo(sky::Ephemeris& ephemeris, const Division& division, Walk& walk, date::sys_seconds until) {
    while (walk.ends < until) {
        ++walk.number;
        walk.ends = sky::crossing(ephemeris, division.quantity, (walk.number + 1) * division.each, walk.ends,
                                  kLahiri);
    }
}

int sunSign(sky::Ephemeris& ephemeris, date::sys_seconds at) {
    return sky::splitLongitude(
               ephemeris.longitude(sky::Body::Sun, sky::julianDay(at), {kLahiri, sky::Node::Mean}))
        .sign;
}

void dayEvents(sky::Ephemeris& ephemeris, date::sys_seconds from) {
    benchmark::DoNotOptimize(sky::nextSunEvent(ephemeris, from, kUjjain, sky::SunEvent::Set));
    benchmark::DoNotOptimize(sky::nextMoonEvent(ephemeris, from, kUjjain, sky::MoonEvent::Rise));
    benchmark::DoNotOptimize(sky::nextMoonEvent(ephemeris, from, kUjjain, sky::MoonEvent::Set));
}

// The calls of one day asked alone.
void plainDay(sky::Ephemeris& ephemeris, date::sys_days day) {
    const date::sys_seconds sunrise =
        *sky::nextSunEvent(ephemeris, midnight(day), kUjjain, sky::SunEvent::Rise);
    const date::sys_seconds next =
        *sky::nextSunEvent(ephemeris, midnight(day + date::days{1}), kUjjain, sky::SunEvent::Rise);
    dayEvents(ephemeris, midnight(day));
    for (const Division& division : kDivisions) {
        Walk walk = firstSpan(ephemeris, division, sunrise);
        walkTo(ephemeris, division, walk, next);
        benchmark::DoNotOptimize(walk);
    }
    const double elongation =
        sky::quantityAt(ephemeris, sky::Quantity::Elongation, sky::julianDay(sunrise), kLahiri);
    for (const double days : {-elongation / 360 * kSynodicMonth, (360 - elongation) / 360 * kSynodicMonth}) {
        const date::sys_seconds newMoon =
            sky::crossing(ephemeris, sky::Quantity::Elongation, 0, daysLater(sunrise, days), kLahiri);
        benchmark::DoNotOptimize(sunSign(ephemeris, newMoon));
    }
}

// The calls of a run of days, each found once.
void plainYear(sky::Ephemeris& ephemeris) {
    date::sys_seconds sunrise = *sky::nextSunEvent(ephemeris, midnight(kFirst), kUjjain, sky::SunEvent::Rise);
    std::array<Walk, 4> walks;
    for (std::size_t i = 0; i < kDivisions.size(); ++i)
        walks[i] = firstSpan(ephemeris, kDivisions[i], sunrise);
    const double elongation =
        sky::quantityAt(ephemeris, sky::Quantity::Elongation, sky::julianDay(sunrise), kLahiri);
    date::sys_seconds newMoon = sky::crossing(ephemeris, sky::Quantity::Elongation, 0,
                                              daysLater(sunrise, -elongation / 360 * kSynodicMonth), kLahiri);
    date::sys_seconds nextNewMoon =
        sky::crossing(ephemeris, sky::Quantity::Elongation, 0,
                      daysLater(sunrise, (360 - elongation) / 360 * kSynodicMonth), kLahiri);
    benchmark::DoNotOptimize(sunSign(ephemeris, newMoon) + sunSign(ephemeris, nextNewMoon));
    for (date::sys_days day = kFirst; day < kFirst + date::days{kDays}; day += date::days{1}) {
        const date::sys_seconds next =
            *sky::nextSunEvent(ephemeris, midnight(day + date::days{1}), kUjjain, sky::SunEvent::Rise);
        dayEvents(ephemeris, midnight(day));
        for (std::size_t i = 0; i < kDivisions.size(); ++i)
            walkTo(ephemeris, kDivisions[i], walks[i], next);
        if (sunrise >= nextNewMoon) {
            newMoon = nextNewMoon;
            nextNewMoon = sky::crossing(ephemeris, sky::Quantity::Elongation, 0,
                                        daysLater(newMoon, kSynodicMonth), kLahiri);
            benchmark::DoNotOptimize(sunSign(ephemeris, nextNewMoon));
        }
        sunrise = next;
    }
}

// False, the benchmark skipped, when another benchmark's window still holds the library.
bool open(std::optional<sky::Ephemeris>& ephemeris, benchmark::State& state) {
    try {
        ephemeris.emplace();
        return true;
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return false;
    }
}

void PanchangaDay(benchmark::State& state) {
    std::optional<sky::Ephemeris> ephemeris;
    if (!open(ephemeris, state))
        return;
    const sky::Zone zone = sky::Zone::parse("Asia/Kolkata");
    constexpr int kAsked = 120;
    const bench::Totals totals = bench::beside(
        state,
        [&] {
            for (int i = 0; i < kAsked; ++i)
                plainDay(*ephemeris, kFirst + date::days{3 * i});
        },
        [&] {
            for (int i = 0; i < kAsked; ++i)
                benchmark::DoNotOptimize(
                    sky::panchanga(*ephemeris, kFirst + date::days{3 * i}, zone, kUjjain));
        });
    const auto days = static_cast<double>(state.iterations() * kAsked);
    state.SetItemsProcessed(state.iterations() * kAsked);
    state.counters["day_ms"] = totals.program / days * 1e3;
    state.counters["baseline_day_ms"] = totals.baseline / days * 1e3;
}
BENCHMARK(PanchangaDay)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

void CliPanchangaYear(benchmark::State& state) {
    std::optional<sky::Ephemeris> ephemeris;
    if (!open(ephemeris, state))
        return;
    bench::beside(
        state, [&] { plainYear(*ephemeris); },
        [&] {
            if (!bench::succeeded(bench::spawn({bench::programPath("velmorant-cli"), "panchanga", "--date",
                                                "2024-01-01", "--days", "365", "--lat", "23.1793", "--lon",
                                                "75.7849", "--zone", "Asia/Kolkata", "--json"})))
                throw std::runtime_error("velmorant-cli panchanga failed");
        });
    state.SetItemsProcessed(state.iterations() * kDays);
}
BENCHMARK(CliPanchangaYear)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
