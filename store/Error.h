// The one error type of the data layer. Each kind has a fixed number and a plain-words text; both are
// what the run-time error box shows.
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
    ShortTable,
    RecordsetClosed,
    UnknownField,
    ReadAtEnd,
    ReadBeforeStart,
    MovePastEnd,
    MoveBeforeStart,
    TableChanged,
    NullValue,
    NotWholeNumber,
    NumberTooLarge,
    NotUpdatable,
    WriteRefused,
    FileBusy,
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

// The number that belongs to a kind of error.
int errorNumber(Errc code) noexcept;

} // namespace store
