#include "store/Error.h"

#include <array>
#include <cstddef>

namespace store {

namespace {

struct ErrorKind {
    Errc code;
    int number;
    std::string_view text; // "{}" stands for the subject
};

// Numbers and texts together, in one place. Numbers are stable: a user may quote one in a report.
constexpr std::array kErrorKinds{
    ErrorKind{Errc::FileMissing, 3001,
              "The database file {} was not found. Make one with velmorant-initdb, or start Velmorant with "
              "velmorant-start, which makes it the first time."},
    ErrorKind{Errc::FileEmpty, 3002, "The database file {} is empty: it holds no tables."},
    ErrorKind{Errc::NotADatabase, 3003, "The file {} is not a database."},
    ErrorKind{Errc::FileUnreadable, 3004, "The database file {} cannot be opened for reading."},
    ErrorKind{Errc::FileDamaged, 3005, "The database file {} is damaged."},
    ErrorKind{Errc::BadConnectionString, 3006, "The connection string is not valid: {}."},
    ErrorKind{Errc::ConnectionClosed, 3007, "The connection to the database is not open."},
    ErrorKind{Errc::MissingTable, 3011, "The table {} is missing from the database file."},
    ErrorKind{Errc::RecordsetClosed, 3012, "The rows of {} are not open."},
    ErrorKind{Errc::UnknownField, 3013, "There is no field named {}."},
    ErrorKind{Errc::ShortTable, 3014, "The table {} has fewer rows than the almanac needs."},
    ErrorKind{Errc::ReadAtEnd, 3021, "There is no current row in {}: the cursor stands after the last row."},
    ErrorKind{Errc::ReadBeforeStart, 3022,
              "There is no current row in {}: the cursor stands before the first row."},
    ErrorKind{Errc::MovePastEnd, 3023, "Cannot move past the last row of {}."},
    ErrorKind{Errc::MoveBeforeStart, 3024, "Cannot move before the first row of {}."},
    ErrorKind{Errc::ChartGone, 3025, "The chart {} is no longer in the file: another program removed it."},
    ErrorKind{Errc::NullValue, 3031, "The field {} holds no value."},
    ErrorKind{Errc::NotWholeNumber, 3032, "The field {} does not hold a whole number."},
    ErrorKind{Errc::NumberTooLarge, 3033, "The number in the field {} is outside -32768 to 32767."},
    ErrorKind{Errc::WriteRefused, 3042, "The database file refused the change: {}."},
    ErrorKind{Errc::FileBusy, 3043, "The database file {} is in use by another program."},
    ErrorKind{Errc::FileReplaced, 3044, "The database file {} was replaced or removed while it was open."},
    ErrorKind{Errc::FileReadOnly, 3045, "The database file {} is read-only: nothing can be written to it."},
    ErrorKind{Errc::DiskFull, 3046, "The disk holding the database file {} is full."},
    ErrorKind{Errc::ServerUnreachable, 3051, "Cannot reach the chart store {}."},
    ErrorKind{Errc::ServerBusy, 3052, "The chart store {} is in use by another desk."},
    ErrorKind{Errc::ServerRefused, 3053, "The chart store refused the change: {}."},
    ErrorKind{Errc::StoreExists, 3054, "The database {} already holds Velmorant's tables."},
    ErrorKind{Errc::DatabaseFault, 3099, "The database reported an error: {}."},
};

constexpr const ErrorKind& kindOf(Errc code) {
    for (const ErrorKind& kind : kErrorKinds)
        if (kind.code == code)
            return kind;
    return kErrorKinds.back();
}

std::string formatText(Errc code, std::string_view subject) {
    const std::string_view text = kindOf(code).text;
    const std::size_t blank = text.find("{}");
    if (blank == std::string_view::npos)
        return std::string(text);
    std::string out(text.substr(0, blank));
    out += subject;
    out += text.substr(blank + 2);
    return out;
}

} // namespace

Error::Error(Errc code, std::string_view subject)
    : std::runtime_error(formatText(code, subject))
    , m_code(code) {}

int Error::number() const noexcept {
    return errorNumber(m_code);
}

int errorNumber(Errc code) noexcept {
    return kindOf(code).number;
}

} // namespace store
