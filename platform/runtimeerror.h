// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <exception>
#include <string>

namespace platform {

// The run-time errors the game can meet, numbered as the error box shows them.
enum class ErrorNumber : int {
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    TypeMismatch = 13,
    FileNotFound = 53,
    PermissionDenied = 70,
    PathNotFound = 76,
    InvalidPicture = 481,
};

QString errorText(ErrorNumber number);

// Thrown by game code and caught only by the guard around each handler, which ends the program.
class RuntimeError : public std::exception {
public:
    RuntimeError(ErrorNumber number, QString path = {});

    ErrorNumber number() const { return number_; }
    QString text() const { return errorText(number_); }
    QString path() const { return path_; }
    // The full report: "Laufzeitfehler '53':", the text and, where there is one, the path.
    QString message() const;
    const char* what() const noexcept override { return what_.c_str(); }

private:
    ErrorNumber number_;
    QString path_;
    std::string what_;
};

} // namespace platform
