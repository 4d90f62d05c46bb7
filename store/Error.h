// The one error type of the store. Each kind has a fixed number and a plain-words text; both are what
// the run-time error box shows.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace store {

enum class Errc {
    FileMissing,
    FileEmpty,
    NotADatabase,
    FileUnreadable,
    FileDamaged,
    BadConnectionString,
    ConnectionClosed,
    MissingTable,
    RecordsetClosed,
    UnknownField,
    ShortTable,
    ReadAtEnd,
    ReadBeforeStart,
    MovePastEnd,
    MoveBeforeStart,
    ChartGone,
    NullValue,
    NotWholeNumber,
    NumberTooLarge,
    WriteRefused,
    FileBusy,
    FileReplaced,
    FileReadOnly,
    DiskFull,
    ServerUnreachable,
    ServerBusy,
    ServerRefused,
    StoreExists,
    DatabaseFault,
};

class Error : public std::runtime_error {
public:
    // `subject` fills the one blank of the kind's text: a path, a table, a field or the engine's words.
    explicit Error(Errc code, std::string_view subject = {});

    Errc code() const noexcept { return m_code; }
    int number() const noexcept;

private:
    Errc m_code;
};

// The number that belongs to a kind of error. Numbers are stable: a user may quote one in a report.
int errorNumber(Errc code) noexcept;

} // namespace store
