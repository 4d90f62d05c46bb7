#include "form/Messages.h"

namespace form {

namespace {

std::string_view notDone(Attempt attempt) {
    return attempt == Attempt::Save ? "Nothing was saved" : "The chart was not recalled";
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

std::string chartGoneMessage(std::string_view name) {
    return "The chart \"" + std::string(name) +
           "\" is no longer in the file: another program removed or renamed it. The chart was not recalled.";
}

std::string exportFailedMessage(std::string_view path, std::string_view reason) {
    return "The chart could not be written to " + std::string(path) + ": " + std::string(reason) +
           ". Nothing was written; choose another folder or name.";
}

std::string birthFieldMessage(std::string_view label, std::string_view problem) {
    return std::string(label) + ": " + std::string(problem);
}

} // namespace form
