#pragma once
// Exceptions of the table model. Cell entry errors are EAssignError (Evaluator.h), so that
// the editor can tell them from these.

#include <stdexcept>

namespace torvex {

// Table-level errors: declarations, limits, control checks.
class ETableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A cell read or written as a kind its column does not hold: "Data of wrong type".
class EInvalidCast : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An index outside a list: "Index out of bounds".
class EListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace torvex
