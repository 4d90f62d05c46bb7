#include "form/Messages.h"

namespace form {

namespace {

std::string_view notDone(Attempt attempt) {
    switch (attempt) {
    case Attempt::Save:
        return "Nothing was saved";
    case Attempt::Recall:
        return "The chart was not recalled";
    case Attempt::Import:
        return "Nothing was imported";
    case Attempt::Export:
        return "No file was written";
    case Attempt::Change:
        break;
    }
    return "Nothing was changed";
}

} // namespace

std::string fileBusyMessage(const std::filesystem::path& file, Attempt attempt) {
    return "The file " + file.string() + " is in use by another program. " + std::string(notDone(attempt)) +
           "; try again.";
}

std::string fileReplacedMessage(const std::filesystem::path& file, Attempt attempt) {
    return "The file " + file.string() + " was replaced or removed while Velmorant was running. " +
           std::string(notDone(attempt)) + "; start Velmorant again to use the file that is there now.";
}

std::string fileReadOnlyMessage(const std::filesystem::path& file, Attempt attempt) {
    return "The file " + file.string() + " is read-only. " + std::string(notDone(attempt)) +
           "; make the file and its folder writable, then try again.";
}

std::string diskFullMessage(const std::filesystem::path& file, Attempt attempt) {
    return "The disk holding " + file.string() + " is full. " + std::string(notDone(attempt)) +
           "; make some room on it, then try again.";
}

std::string serverUnreachableMessage(std::string_view trouble, Attempt attempt) {
    return std::string(trouble) + " " + std::string(notDone(attempt)) +
           "; Velmorant tries again at your next action.";
}

std::string serverBusyMessage(std::string_view trouble, Attempt attempt) {
    return std::string(trouble) + " " + std::string(notDone(attempt)) + "; try again.";
}

std::string chartGoneMessage(std::string_view name) {
    return "The chart \"" + std::string(name) +
           "\" is no longer in the file: another program removed or renamed it. The chart was not recalled.";
}

namespace {

// "The chart could not be written to PATH: REASON. Nothing was written; ..."
std::string notWritten(std::string_view what, std::string_view path, std::string_view reason) {
    return std::string(what) + " to " + std::string(path) + ": " + std::string(reason) +
           ". Nothing was written; choose another folder or name.";
}

} // namespace

std::string exportFailedMessage(std::string_view path, std::string_view reason) {
    return notWritten("The chart could not be written", path, reason);
}

std::string chartsExportFailedMessage(std::string_view path, std::string_view reason) {
    return notWritten("The charts could not be exported", path, reason);
}

std::string renamePrompt(std::string_view name) {
    return "Rename the chart \"" + std::string(name) + "\" to:";
}

std::string deleteQuestion(std::string_view name) {
    return "Delete the chart \"" + std::string(name) + "\"? It cannot be brought back.";
}

std::string exportedMessage(std::size_t charts, std::string_view path) {
    return std::to_string(charts) + (charts == 1 ? " chart was" : " charts were") + " exported to " +
           std::string(path) + ".";
}

namespace {

// " 2 were skipped, as ...:" and the first twenty names, a line each.
void listSkipped(std::string& text, const std::vector<std::string>& names, std::string_view why) {
    if (names.empty())
        return;
    if (!text.ends_with('\n'))
        text += ' ';
    text += std::to_string(names.size());
    text += names.size() == 1 ? " was" : " were";
    text += " skipped, as ";
    text += why;
    text += ':';
    constexpr std::size_t kNamed = 20;
    for (std::size_t i = 0; i < names.size() && i < kNamed; ++i) {
        text += '\n';
        text += names[i];
    }
    if (names.size() > kNamed) {
        text += "\nand ";
        text += std::to_string(names.size() - kNamed);
        text += " more.";
    }
}

} // namespace

std::string importedMessage(std::size_t stored, const std::vector<std::string>& skipped,
                            const std::vector<std::string>& repeated) {
    std::string text = std::to_string(stored);
    text += stored == 1 ? " chart was imported." : " charts were imported.";
    listSkipped(text, skipped, "the name is stored already");
    if (!skipped.empty() && !repeated.empty())
        text += '\n';
    listSkipped(text, repeated, "the name appears twice in the file");
    return text;
}

std::string importFailedMessage(std::string_view path, std::string_view problem) {
    return "The file " + std::string(path) + " could not be imported: " + std::string(problem) +
           ". Nothing was imported.";
}

std::string resultsSource(std::string_view name, const std::vector<std::string>& positions) {
    std::string text = "Calculated for " + std::string(name) + ":";
    for (std::size_t i = 0; i < positions.size(); ++i)
        text += (i == 0 ? " " : ", ") + positions[i];
    return text;
}

std::string staleResultsWarning(std::string_view name) {
    return "These results are for " + std::string(name) + "'s positions; press Calculate for the rows shown";
}

std::string staleNameWarning(std::string_view name) {
    return "These results were calculated under the name " + std::string(name) +
           "; press Calculate to print them under the name shown";
}

std::string resultLine(std::string_view caption, std::string_view value) {
    return std::string(caption) + ": " + std::string(value);
}

std::string momentChangedNote(const store::BirthData& filledFrom) {
    return "The rows come from " + filledFrom.date + " " + filledFrom.time + " " + filledFrom.zone +
           ", not from the birth data as it now stands; Fill positions fills them from it.";
}

std::string birthFieldMessage(std::string_view label, std::string_view problem) {
    return std::string(label) + ": " + std::string(problem);
}

std::string dayFieldMessage(std::string_view label, std::string_view problem) {
    return birthFieldMessage(label, problem);
}

} // namespace form
