// The error trap every procedure that does real work carries. A procedure makes one Trap with its
// owner and name and runs each numbered statement through it; a statement that throws is reported
// with the procedure's label and number, and the procedure goes on with its next statement.
#pragma once

#include "app/FileNames.h"
#include "errors/DescribedError.h"

#include <QString>

#include <exception>
#include <stdexcept>
#include <utility>

namespace app {

// A failure whose description is user-facing text.
class Failure : public errors::DescribedError {
public:
    explicit Failure(const QString& description) : errors::DescribedError(toSystemBytes(description)) {}
};

// The description of the exception being handled, as the report shows it.
QString currentFailureDescription();

class Trap {
public:
    Trap(const QString& owner, const QString& procedure);

    const QString& label() const { return label_; }
    // How many failures this procedure has reported so far.
    int failures() const { return failures_; }

    // Runs one numbered statement. Returns true when it completed, false after a reported failure.
    template <class Statement>
    bool operator()(int line, Statement&& statement)
    {
        try {
            std::forward<Statement>(statement)();
            return true;
        } catch (...) {
            reportCurrent(line);
            return false;
        }
    }

    // A guarded condition: a condition that fails is reported and counts as true.
    template <class Condition>
    bool test(int line, Condition&& condition)
    {
        try {
            return static_cast<bool>(std::forward<Condition>(condition)());
        } catch (...) {
            reportCurrent(line);
            return true;
        }
    }

    // A statement that yields a value; after a reported failure the fallback stands in.
    template <class T, class Statement>
    T value(int line, T fallback, Statement&& statement)
    {
        try {
            return std::forward<Statement>(statement)();
        } catch (...) {
            reportCurrent(line);
            return fallback;
        }
    }

    void report(int line, const QString& description);

private:
    // Reports the exception being handled; a lost connection only the first time in this procedure,
    // since every step after it fails the same way (each still counts as a failure).
    void reportCurrent(int line);

    QString label_;
    int failures_ = 0;
    bool lostConnectionShown_ = false;
};

}  // namespace app
