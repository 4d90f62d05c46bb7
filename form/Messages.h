// Every text the window's logic shows; those the command line says too are written once, in charts/Texts.h.
#pragma once

#include "charts/Texts.h"
#include "store/BirthData.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace form {

inline constexpr std::string_view kCalculateNameMessage = "Enter ur name";
inline constexpr std::string_view kSaveNameMessage = "Enter your Name";
using charts::kDuplicateMessage;
inline constexpr std::string_view kSavedMessage = "Your Record Has Been Saved";

// The three passes of the row checks; each is followed directly by the row's caption.
inline constexpr std::string_view kMissingSignMessage = "Enter the sign of ";
inline constexpr std::string_view kMissingDegreesMessage = "Enter the degrees of ";
inline constexpr std::string_view kMissingMinutesMessage = "Enter the minutes of ";

// What a refused write or read did not do, for the messages about the file.
enum class Attempt { Save, Recall, Change, Import, Export };

// Another program holds the file past the busy wait.
std::string fileBusyMessage(const std::filesystem::path& file, Attempt attempt);
// The file at the path is no longer the one opened.
std::string fileReplacedMessage(const std::filesystem::path& file, Attempt attempt);
// The file, or its folder where the journal of a write goes, cannot be written.
std::string fileReadOnlyMessage(const std::filesystem::path& file, Attempt attempt);
// The disk holding the file has no room for the write.
std::string diskFullMessage(const std::filesystem::path& file, Attempt attempt);
// The chart store on a server cannot be reached, or holds the charts past the wait: `trouble` is the
// store's own sentence, which names the database and its host.
std::string serverUnreachableMessage(std::string_view trouble, Attempt attempt);
std::string serverBusyMessage(std::string_view trouble, Attempt attempt);
// The chart at a list position was removed by another program since the list was read.
std::string chartGoneMessage(std::string_view name);

// The labels of the birth data fields, which also begin a message about what is wrong with one.
inline constexpr std::string_view kBirthDateLabel = "Birth date";
inline constexpr std::string_view kBirthTimeLabel = "Birth time";
inline constexpr std::string_view kTimeZoneLabel = "Time zone";
inline constexpr std::string_view kBirthPlaceLabel = "Birth place";
inline constexpr std::string_view kLatitudeLabel = "Latitude";
inline constexpr std::string_view kLongitudeLabel = "Longitude";

inline constexpr std::string_view kNothingToPrintMessage =
    "Press Calculate first: there is no chart to print yet.";

// Where the results beside the rows come from: "Calculated for Arjun: Sun Taurus 2°28', ...".
std::string resultsSource(std::string_view name, const std::vector<std::string>& positions);
// The rows no longer show the positions the results were calculated from; or they do, under another name.
std::string staleResultsWarning(std::string_view name);
std::string staleNameWarning(std::string_view name);
// "External Tithi: Shukla Panchami - ...", a result in the details.
std::string resultLine(std::string_view caption, std::string_view value);
// The inner pair's nakshatra, which has no line of its own in the window, as the details name it.
inline constexpr std::string_view kInternalNakshatraLabel = "Internal Nakshatra";

// Whether the rows still come from the birth moment shown.
inline constexpr std::string_view kRowsFromMomentNote =
    "The Sun, Moon, AK and AmK rows come from this moment.";
// The birth data shown is no longer the moment the rows were filled from.
std::string momentChangedNote(const store::BirthData& filledFrom);
inline constexpr std::string_view kRowsChangedNote =
    "The rows were changed by hand and no longer come from this moment; Fill positions fills them from it "
    "again.";

// A chart's page (PDF) that could not be written; nothing was left at the path.
std::string exportFailedMessage(std::string_view path, std::string_view reason);
// The stored charts could not be written to a file; nothing was left at the path.
std::string chartsExportFailedMessage(std::string_view path, std::string_view reason);

// Renaming, deleting, exporting and importing stored charts.
std::string renamePrompt(std::string_view name);
std::string deleteQuestion(std::string_view name);
inline constexpr std::string_view kEmptyNewNameMessage = "Enter the new name";
inline constexpr std::string_view kUnknownFormatMessage =
    "Give the file the extension .csv or .json, so that Velmorant knows how to write or read it.";
std::string exportedMessage(std::size_t charts, std::string_view path);
// `skipped`: names stored already; `repeated`: names met earlier in the same file.
std::string importedMessage(std::size_t stored, const std::vector<std::string>& skipped,
                            const std::vector<std::string>& repeated = {});
std::string importFailedMessage(std::string_view path, std::string_view problem);

// "Birth date: ..." and the like.
std::string birthFieldMessage(std::string_view label, std::string_view problem);

// The Day tab's fields, whose labels also begin a message about one ("Place: ..."), and what it says.
inline constexpr std::string_view kDayPlaceLabel = "Place";
inline constexpr std::string_view kDayDateLabel = "Date";
std::string dayFieldMessage(std::string_view label, std::string_view problem);
// What is wrong with a field, after its label.
using charts::kNoLatitudeProblem;
using charts::kNoLongitudeProblem;
using charts::unknownPlaceProblem;
inline constexpr std::string_view kNoZoneProblem =
    "none given; enter a zone name such as Asia/Kolkata, or an offset such as +05:30";
// In the tab, in place of the day, while there is no place.
inline constexpr std::string_view kNoDayPlaceNote =
    "Enter a place to see its panchanga: type the first letters of a city and pick it, or give its "
    "latitude, longitude and time zone, then press Enter.";
// Print and Export PDF on the Day tab before it shows a day or a month.
inline constexpr std::string_view kNoDayPlaceToPrintMessage =
    "Enter a place on the Day tab first: there is no day to print yet.";
inline constexpr std::string_view kNoDayShownToPrintMessage =
    "Press Show on the Day tab first: there is no day to print yet.";
inline constexpr std::string_view kMonthNotReadyMessage =
    "The month is still being reckoned; print it again in a moment.";

} // namespace form
