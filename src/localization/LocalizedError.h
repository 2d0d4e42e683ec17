#pragma once

#include <QString>

#include <exception>

namespace tallybrook {

/// Base of every error a service throws. The description is looked up in the text table
/// when it is read, so an error reads in the language in force when it is displayed.
class LocalizedError : public std::exception {
public:
    virtual QString localizedDescription() const = 0;
    const char* what() const noexcept override { return "tallybrook::LocalizedError"; }
};

} // namespace tallybrook
