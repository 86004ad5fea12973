#pragma once

#include <QString>
#include <exception>
#include <string>

// The one error type of the program: a number and the description text the windows show.
// Numbers follow the original runtime (9 subscript out of range, 6 overflow, 13 type mismatch,
// 76 path not found, 3021 no current record) or come from the database engine.
class RuntimeError : public std::exception {
public:
    RuntimeError(int number, QString description)
        : number_(number)
        , description_(std::move(description))
        , what_(description_.toStdString()) {}

    int Number() const noexcept { return number_; }
    const QString& Description() const noexcept { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

    static RuntimeError SubscriptOutOfRange() {
        return {9, QStringLiteral("Subscript out of range")};
    }
    static RuntimeError Overflow() { return {6, QStringLiteral("Overflow")}; }
    static RuntimeError TypeMismatch() { return {13, QStringLiteral("Type mismatch")}; }
    static RuntimeError PathNotFound() { return {76, QStringLiteral("Path not found")}; }

private:
    int number_;
    QString description_;
    std::string what_;
};
